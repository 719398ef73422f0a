#pragma once

// Resource ids of the Windows program's icons. The program icon, drawn at every size a desktop
// shows, has the lowest id, so it is also the icon the program file shows. The picture is the
// About box's image of it, as designed, at its one size.
#define IDI_TAMLO 1
#define IDI_ABOUT 2
#define IDI_PICTURE 3
