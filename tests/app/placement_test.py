"""Both windows stand where a player expects them under the window managers of Debian's desktops
and with none: the game centred on the screen's free area and the About window centred over the
game, frames included, within 2 px, and both on the free area. A window too big for it has its
frame's top-left corner at that of the free area along each side it does not fit, so that its
title bar can be reached. Each desktop runs on an X server of its own."""
import contextlib, sys
from x_desktop import ABOUT, Desktop, check, failures, until

program, probe, work = sys.argv[1:4]
MANAGERS = {
    "no window manager": None,
    "openbox": ["openbox", "--sm-disable"],
    "mutter": ["mutter", "--x11", "--replace"],
    "xfwm4": ["xfwm4", "--compositor=off", "--replace"],
    "kwin_x11": ["kwin_x11", "--replace"],
}


def start(span, size):  # where a window of that size starts along one side of the free area
    (start, length), (free_start, free_length) = span
    # Centred and kept on the free area; where it does not fit, its top-left corner wins.
    return max(min(start + (length - size) / 2, free_start + free_length - size), free_start)


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


def about_over(desktop, gid, what):  # About opened from the game, centred over it
    placed(desktop, desktop.open_about(gid, probe), lambda: desktop.outline(gid), what)


@contextlib.contextmanager
def game_on(manager, size="1280x1024"):  # on a desktop of its own, the game placed on it
    with Desktop(work, f"{manager}-{size}".replace(" ", "-"), size) as desktop:
        desktop.framed = 3 if MANAGERS[manager] else 0
        if MANAGERS[manager]:
            check(desktop.window_manager(MANAGERS[manager]), f"{manager} runs on a {size} screen")
        gid = desktop.start(program)[1]
        placed(desktop, gid, desktop.free_area, f"{manager}, {size}: the game on the free area")
        yield desktop, gid


for manager in MANAGERS:
    with game_on(manager) as (desktop, gid):
        about_over(desktop, gid, f"{manager}: About over the game")
with game_on("openbox", "1024x340") as (desktop, gid):  # high enough for About, not the game
    about_over(desktop, gid, "1024 x 340: About over the game")
    desktop.key("Escape")
    until(lambda: desktop.window(ABOUT, 0) is None)
    # Over a game at the screen's right edge, About stays on the screen.
    desktop.run("xdotool", "windowmove", gid, "762", "20")
    until(lambda: desktop.client(gid)[0] == 762)
    about_over(desktop, gid, "1024 x 340: About over the game at the right edge")
with game_on("openbox", "240x200") as (desktop, gid):  # too small for either: in the corner
    # The player drags the game up until "About" is on the screen, and opens About.
    desktop.run("xdotool", "windowmove", gid, "0", "-100")
    until(lambda: desktop.client(gid)[1] == -100)
    about_over(desktop, gid, "240 x 200: About in the corner")
sys.exit(1 if failures else 0)
