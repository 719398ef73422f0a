"""Both windows stand where a player expects them under the window managers of Debian's desktops
and with none: the game centred on the screen's free area and the About window centred over the
game, frames included, within 2 px, and both on the free area. A window too big for it has its
frame's top-left corner at that of the free area along each side it does not fit, so that its
title bar can be reached. Each desktop runs on an X server of its own. Run on a session bus
of its own with the arguments
    <program> <design_geometry> <work-dir>"""
import sys
from x_desktop import ABOUT, GAME, Desktop, check, design, failures, inside, until

program, geometry, work = sys.argv[1:4]
MANAGERS = {
    "no window manager": None,
    "openbox": ["openbox", "--sm-disable"],
    "mutter": ["mutter", "--x11", "--replace"],
    "xfwm4": ["xfwm4", "--compositor=off", "--replace"],
    "kwin_x11": ["kwin_x11", "--replace"],
}
ABOUT_LABEL = inside(design(geometry)["FrmTamlo.txtAbout"])


def start(span, size):  # where a window of that size starts along one side of the free area
    (start, length), (free_start, free_length) = span
    if size > free_length:
        return free_start
    return min(max(start + (length - size) / 2, free_start), free_start + free_length - size)


def placed(desktop, wid, over, what):  # centred over over(), kept on the free area
    def off():
        (x, y, w, h), area, free = desktop.outline(wid), over(), desktop.free_area()
        spans = [((area[i], area[i + 2]), (free[i], free[i + 2])) for i in (0, 1)]
        return (x, y, w, h), (x - start(spans[0], w), y - start(spans[1], h))

    # Once framed, the window may stand where the window manager put it for a moment.
    until(lambda: "=" in desktop.run("xprop", "-id", wid, "_NET_FRAME_EXTENTS"), desktop.framed)
    until(lambda: max(map(abs, off()[1])) <= 2)
    outline, offset = off()
    check(max(map(abs, offset)) <= 2, f"{what}: frame {outline}, off by {offset}")


def about(desktop, gid):
    desktop.click(gid, *ABOUT_LABEL)
    return desktop.window(ABOUT)


def desktop_with(manager, size="1280x1024"):
    desktop = Desktop(work, f"{manager}-{size}".replace(" ", "-"), size)
    desktop.framed = 0 if MANAGERS[manager] is None else 3
    if MANAGERS[manager]:
        check(desktop.window_manager(MANAGERS[manager]), f"{manager} runs on a {size} screen")
    desktop.start(program)
    return desktop, desktop.window(GAME)


def usual_screen(manager):
    desktop, gid = desktop_with(manager)
    try:
        placed(desktop, gid, desktop.free_area, f"{manager}: the game on the free area")
        placed(desktop, about(desktop, gid), lambda: desktop.outline(gid),
               f"{manager}: About over the game")
    finally:
        desktop.end()


def small_screens():
    desktop, gid = desktop_with("openbox", "1024x340")  # high enough for About, not the game
    try:
        placed(desktop, gid, desktop.free_area, "1024 x 340: the game at the top")
        placed(desktop, about(desktop, gid), lambda: desktop.outline(gid),
               "1024 x 340: About over the game")
        desktop.run("xdotool", "key", "Escape")
        until(lambda: desktop.window(ABOUT, 0) is None)
        # Over a game at the screen's right edge, About stays on the screen.
        desktop.run("xdotool", "windowmove", gid, "762", "20")
        until(lambda: desktop.client(gid)[0] == 762)
        placed(desktop, about(desktop, gid), lambda: desktop.outline(gid),
               "1024 x 340: About over the game at the right edge")
    finally:
        desktop.end()
    desktop, gid = desktop_with("openbox", "240x200")  # too small for either
    try:
        placed(desktop, gid, desktop.free_area, "240 x 200: the game in the corner")
        # The player drags the game up until "About" is on the screen, and opens About.
        desktop.run("xdotool", "windowmove", gid, "0", "-100")
        until(lambda: desktop.client(gid)[1] == -100)
        placed(desktop, about(desktop, gid), lambda: desktop.outline(gid),
               "240 x 200: About in the corner")
    finally:
        desktop.end()


for manager in MANAGERS:
    usual_screen(manager)
small_screens()
sys.exit(1 if failures else 0)
