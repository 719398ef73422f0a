#pragma once

// Resource ids of the Windows program's icons. The program icon has the lowest id, so it is also
// the icon the program file shows.
#define IDI_TAMLO 1
#define IDI_ABOUT 2
