"""The built program on a real X server as a person and a screen reader meet it: titles, icons,
reference pictures, real keys with and without a window manager, and what a screen reader gets
over the accessibility bus. UPDATE_REFERENCES=1 writes the pictures taken as the new references."""
import contextlib, os, re, subprocess, sys, time
import pyatspi
from gi.repository import Atspi, GLib
import x_desktop
from x_desktop import ABOUT, GAME, Desktop, application, check, design, failures, inside, tree

program, probe, work, references = sys.argv[1:5]
BOX = "Tamlo QT-350"
INTERNAL = re.compile(r"(Frm|frm|txt|lbl|cmd|pic|Line|Label|Timer|mnu)[A-Z0-9_]")
NAMED, SHOWN = "object:property-change:accessible-name", "object:state-changed:showing"
DESIGN = design(probe)
desktop, events = Desktop(work, "desktop"), []


def until(test, seconds=3.0):  # delivers accessibility events until test holds or time is up
    return x_desktop.until(test, seconds, 0.01, lambda: GLib.MainContext.default().iteration(False))


def titled(title, *keys):  # the window of that title after the keys, once it has the focus
    desktop.key(*keys)
    wid = desktop.run("xdotool", "search", "--sync", "--onlyvisible", "--name", f"^{title}$")
    wid = wid.split()[0]
    focused = lambda: desktop.run("xdotool", "getwindowfocus", check=False).strip() == wid
    if not until(focused, 0.5):  # nobody gives a new main window the focus without a window manager
        desktop.run("xdotool", "windowfocus", wid)
    check(until(focused), f"'{title}' has the keyboard focus")
    return wid


def hinted(wid, window, size, colours):  # its icon, at most that many colours; fixed at design size
    xprop = lambda *names: desktop.run("xprop", "-id", wid, *names)
    icon = list(map(int, re.findall(r"\d+", xprop("32c", "_NET_WM_ICON"))))
    sizes = re.findall(r"specified m\w+ size: (\d+) by (\d+)", xprop("WM_NORMAL_HINTS"))
    fixed = [tuple(map(int, pair)) for pair in sizes] == [DESIGN[f"{window}.client"][2:]] * 2
    seen = icon[0], icon[1], len(set(icon[2 : 2 + icon[0] * icon[1]])), fixed
    check(seen[:2] == size and seen[2] <= colours and fixed, f"{window}: icon, fixed size {seen}")


def start(scale=1):  # with a System Info store that names no tool
    os.makedirs(f"{work}/tamlo-qt350", exist_ok=True)
    open(f"{work}/tamlo-qt350/registry.reg", "w").write("REGEDIT4\n")
    game = desktop.start(program, QT_SCALE_FACTOR=str(scale), XDG_CONFIG_HOME=work)[0]
    return game, titled(GAME)


def looks_like(wid, name, keys=(), ready=lambda since: True):  # tried again after the keys
    reference = f"{references}/{name}.png"
    for _ in range(3 if keys else 1):
        since = len(events)
        desktop.key(*keys)
        until(lambda: ready(since))
        if os.environ.get("UPDATE_REFERENCES") == "1":
            return desktop.run(probe, wid, reference)
        if subprocess.call([probe, wid, f"{work}/{name}.png", reference], env=desktop.env) == 0:
            return check(True, f"looks like {name}.png")
    check(False, f"looks like {reference} (see {work}/{name}.png-diff.png)")


def record(event):
    with contextlib.suppress(GLib.Error):  # the control may be gone
        events.append((event.type, event.source.getRoleName(), event.source.name))


def heard(kind, role, text, since=0):  # whether a control of that role told a listener
    return any(e[0] == kind and e[1] == role and text in e[2] for e in events[since:])


def plain_desktop():  # no window manager: all a person and a screen reader meet
    game, gid = start()
    hinted(gid, "FrmTamlo", (43, 42), 43 * 42)  # of any colours
    looks_like(gid, "new-game", ["r"])  # a new game is still empty for a second after R
    app = application()
    display = next(n for n in tree(app) if n.name == "Display")

    on_display = inside(DESIGN["FrmTamlo.txtDisplay"])
    desktop.click(gid, *on_display, "1")  # on the display: it takes no focus
    desktop.click(gid, *on_display, "3")  # and offers no menu
    desktop.key("r", "Left", "Down", "Right", "Up", "3", "space", "Return")  # a miss: empty row
    check(until(lambda: display.queryText().getText(0, -1)[0] == "2"
                and "Miss Fire : 1" in [n.name for n in tree(app)]), "no other key acts")
    mark = len(events)
    desktop.run("setxkbmap", "-layout", "ru")
    until(lambda: False, 0.3)  # the program takes the new layout
    desktop.key("Cyrillic_ka")  # the physical R key
    desktop.run("setxkbmap", "-layout", "us")
    check(until(lambda: heard(NAMED, "label", "Miss Fire : 0", mark)),
          "R on a Cyrillic layout restarts")
    over = lambda since: heard(SHOWN, "notification", "Game Over!", since)
    looks_like(gid, "game-over", ["shift+r", *["Down"] * 30], over)  # every label fits its text
    mark = len(events)
    desktop.key("r")
    until(lambda: False, 1.3)  # the first invader comes in
    aim = next((c for c in display.queryText().getText(0, -1)[2:] if c.isdigit()), "1")
    desktop.key(*["Left"] * (int(aim) - 1), "Down")  # at the first invader in
    check(until(lambda: heard(NAMED, "label", "Score : 000010")), "a hit's score is told")

    desktop.open_about(gid, probe, "3")
    about = titled(ABOUT)
    hinted(about, "frmAbout", (32, 32), 16)
    looks_like(about, "about")
    titled(BOX, "Left", "alt+s")  # the Left goes to the modal About window, not to the game
    found = [(n.getRoleName(), n.name, n) for n in tree(app)]
    check(not [n for _, n, _ in found if INTERNAL.match(n)], "no internal names")
    missing = {("link", "About"), ("image", "Program icon"), ("alert", BOX),
               ("label", "System Information Is Unavailable At This Time"),
               ("label", "Esc : Exit")} - {(r, n) for r, n, _ in found}
    check(not missing, f"named for a person, missing {missing}")
    for keys, window in (("Return", ABOUT), ("Escape", GAME)):
        titled(window, keys)
    began = time.monotonic()
    next(o for r, n, o in found if r == "link").queryAction().doAction(0)
    check(time.monotonic() - began < 1, "the About label's press action answers at once")
    titled(ABOUT)
    titled(GAME, "Return")  # OK, which a new About window gives the focus
    check(display.queryText().getText(0, -1)[0] == aim, "the game took no key while About was open")
    check(until(lambda: heard(SHOWN, "notification", "Land!", mark), 10),
          '"Land!" is announced, as the march went on')
    desktop.ends(game, wait=until)


def dense_screen():  # at scale 2 the window is twice the size, sharp and as readable
    game, gid = start(scale=2)
    looks_like(gid, "new-game@2x", ["r"])  # a picture of another size differs in every pixel
    desktop.ends(game, wait=until)


def window_manager():  # under openbox, which gives the windows their frames
    check(desktop.window_manager(["openbox", "--sm-disable"]), "openbox runs")
    game, gid = start()
    desktop.open_about(gid, probe, "2")
    titled(ABOUT)
    for keys, window in (("alt+s", BOX), ("Return", ABOUT), ("alt+F4", GAME)):  # its close box
        titled(window, keys)
    desktop.ends(game, wait=until)


Atspi.set_timeout(3000, 3000)
pyatspi.Registry.registerEventListener(record, NAMED, SHOWN)
with desktop:
    for scenario in (plain_desktop, dense_screen, window_manager):
        scenario()
sys.exit(1 if failures else 0)
