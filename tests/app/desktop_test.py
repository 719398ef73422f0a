"""The built program on a real X server as a person and a screen reader meet it: titles and
placement with and without a window manager, contrast, icons, reference pictures, real keys, and
what a screen reader gets over the accessibility bus. UPDATE_REFERENCES=1 writes the pictures
taken as the new references. Run by desktop_test.sh with the arguments
    <program> <window_snapshot> <reference-dir> <icon-dir> <work-dir>"""
import collections, os, re, struct, subprocess, sys, time
import pyatspi
from gi.repository import Atspi, GLib

program, snapshot, references, icons, work = sys.argv[1:6]
GAME, ABOUT, BOX = "Tamlo QT-350 Simulator", "About Tamlo QT-300 Simulator", "Tamlo QT-350"
INTERNAL = re.compile(r"(Frm|frm|txt|lbl|cmd|pic|Line|Label|Timer|mnu)[A-Z0-9_]")
UPDATE = os.environ.get("UPDATE_REFERENCES") == "1"
failures, events = [], []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    failures.extend([] if ok else [what])


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True, timeout=10).stdout


def key(*keys):
    run("xdotool", "key", "--delay", "15", *keys)


def until(test, seconds=3.0):  # delivers accessibility events until test holds or time is up
    end = time.monotonic() + seconds
    while not test() and time.monotonic() < end:
        GLib.MainContext.default().iteration(False) or time.sleep(0.01)
    return test()


def outline(wid):  # x, y, width, height of the window with the frame a window manager gave it
    info = run("xwininfo", "-id", wid)
    x, y, w, h = (int(re.search(rf"{k}:\s+(-?\d+)", info)[1]) for k in ("X", "Y", "Width", "Height"))
    extents = run("xprop", "-id", wid, "_NET_FRAME_EXTENTS").partition("=")[2]
    left, right, top, bottom = map(int, re.findall(r"\d+", extents) or [0] * 4)
    return x - left, y - top, w + left + right, h + top + bottom


def placed(wid, over, what):  # centred over over(), also after the window manager framed it
    def offset():
        (x, y, w, h), (X, Y, W, H) = outline(wid), over()
        return max(abs(2 * x + w - 2 * X - W), abs(2 * y + h - 2 * Y - H)) / 2

    until(lambda: offset() <= 2)
    check(offset() <= 2, f"{what} centred within 2 px (off by {offset()})")


def titled(title):  # the window of that title, once it has the keyboard focus
    wid = run("xdotool", "search", "--sync", "--onlyvisible", "--name", f"^{title}$").split()[0]
    name = run("xdotool", "getwindowname", wid).strip()
    check(name == title, f"title bar reads '{name}'")
    focused = lambda: subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True).stdout.strip() == wid
    if not until(focused, 0.5):  # nobody gives a new main window the focus without a window manager
        run("xdotool", "windowfocus", wid)
    check(until(focused), f"'{title}' has the keyboard focus")
    return wid


def hints(wid):  # what a desktop is told of a window: icon width, height and colours; fixed size
    icon = list(map(int, re.findall(r"\d+", run("xprop", "-id", wid, "32c", "_NET_WM_ICON"))))
    sizes = re.findall(r"specified m\w+ size: (\d+ by \d+)", run("xprop", "-id", wid, "WM_NORMAL_HINTS"))
    return icon[0], icon[1], len(set(icon[2 : 2 + icon[0] * icon[1]])), sizes


def start(scale=1):  # with a System Info store that names no tool
    os.makedirs(f"{work}/tamlo-qt350", exist_ok=True)
    open(f"{work}/tamlo-qt350/registry.reg", "w").write("REGEDIT4\n")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_SCALE_FACTOR=str(scale), XDG_CONFIG_HOME=work)
    game = subprocess.Popen([program], env=env, stdout=open(f"{work}/game.log", "a"), stderr=subprocess.STDOUT)
    return game, titled(GAME)


def click(gid, x, y, button):  # at a point of the game window's client area
    left, top = (int(re.search(rf"Absolute upper-left {k}:\s+(-?\d+)", run("xwininfo", "-id", gid))[1]) for k in "XY")
    run("xdotool", "mousemove", str(left + x), str(top + y), "click", button)


def open_about(gid, button):  # a press on the "About" label
    click(gid, 205, 285, button)
    return titled(ABOUT)


def looks_like(wid, name, restart=True):  # a new game is still empty for a second after R
    reference = f"{references}/{name}.png"
    for _ in range(3 if restart else 1):
        if restart:
            key("r")
        if UPDATE:
            return run(snapshot, wid, reference)
        if subprocess.run([snapshot, wid, f"{work}/{name}.png", reference]).returncode == 0:
            return check(True, f"looks like {name}.png")
    check(False, f"looks like {reference} (see {work}/{name}.png-diff.png)")


def contrast(wid, scale):  # of the display's digits on their ground, in a grab of the window
    run(snapshot, wid, f"{work}/grab.ppm")
    data = open(f"{work}/grab.ppm", "rb").read()
    header = re.match(rb"P6\s+(\d+)\s+\d+\s+255\s", data)
    pixels, width, (x, y, w, h) = data[header.end() :], int(header[1]), (v * scale for v in (67, 83, 131, 27))
    counts = collections.Counter(pixels[i : i + 3] for r in range(y, y + h) for i in range((r * width + x) * 3, (r * width + x + w) * 3, 3))
    lum = lambda c: sum(k * (v / 3294.6 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4) for k, v in zip((0.2126, 0.7152, 0.0722), c))
    ground = lum(counts.most_common(1)[0][0])
    ratio = max((max(lum(c), ground) + 0.05) / (min(lum(c), ground) + 0.05) for c in counts)
    check(ratio >= 4.5, f"display contrast {ratio:.2f}:1 at scale {scale}")


def tree(node, found):  # role, name and object of node and of everything below it
    found.append((node.getRoleName(), node.name, node))
    for child in node:
        tree(child, found)
    return found


def record(event):
    try:
        events.append((event.type, event.source.getRoleName(), event.source.name))
    except GLib.Error:
        pass  # the control is gone


def heard(kind, role, text, since=0):  # whether a control of that role told a listener
    return any(e[0] == kind and e[1] == role and text in e[2] for e in events[since:])


def ended(game):
    key("Escape")
    check(until(lambda: game.poll() == 0, 2), "Esc ends the program")


def plain_desktop():  # no window manager: all a person and a screen reader meet
    game, gid = start()
    placed(gid, lambda: (0, 0, *map(int, run("xdotool", "getdisplaygeometry").split())), "game window")
    check(hints(gid)[:2] + hints(gid)[3:] == (43, 42, ["260 by 332"] * 2), f"game window: icon, fixed size {hints(gid)}")
    looks_like(gid, "new-game")
    contrast(gid, 1)
    app = next(a for a in pyatspi.Registry.getDesktop(0) if a.name == "tamlo-qt350")
    display = next(o for r, n, o in tree(app, []) if n == "Display")
    name, shown = "object:property-change:accessible-name", "object:state-changed:showing"

    click(gid, 100, 95, "1")  # on the display: it takes no focus
    click(gid, 100, 95, "3")  # and offers no menu
    key("r", "Left", "Down", "Right", "Up", "3", "space", "Return")  # a miss at the empty row
    check(until(lambda: display.queryText().getText(0, -1)[0] == "2" and "Miss Fire : 1" in [n for r, n, o in tree(app, [])]), "no other key acts")
    mark = len(events)
    run("setxkbmap", "-layout", "ru")
    until(lambda: False, 0.3)  # the program takes the new layout
    key("Cyrillic_ka")  # the physical R key
    run("setxkbmap", "-layout", "us")
    check(until(lambda: heard(name, "label", "Miss Fire : 0", mark)), "R on a Cyrillic layout restarts")
    key("shift+r", *["Down"] * 30)
    mark = len(events)
    key("r")
    until(lambda: False, 1.3)  # the first invader comes in
    aim = next((c for c in display.queryText().getText(0, -1)[2:] if c.isdigit()), "1")
    key(*["Left"] * (int(aim) - 1), "Down")  # at the first invader in
    check(until(lambda: heard(name, "label", "Score : 000010")), "a hit's score reaches a listener")

    about = open_about(gid, "3")
    placed(about, lambda: outline(gid), "About window over the game window")
    check(hints(about)[:2] + hints(about)[3:] == (32, 32, ["341 by 227"] * 2) and hints(about)[2] <= 16, f"About window: 16-colour icon, fixed size {hints(about)}")
    looks_like(about, "about", restart=False)
    key("Left", "alt+s")  # the Left goes to the modal About window, not to the game
    titled(BOX)
    found = tree(app, [])
    print("\n".join(f"  [{role}] {name!r}" for role, name, _ in found[1:]))
    check(not [n for _, n, _ in found if INTERNAL.match(n)], "no internal names")
    expected = {("link", "About"), ("image", "Program icon"), ("alert", BOX), ("label", "System Information Is Unavailable At This Time"), ("label", "Esc : Exit")}
    check(expected <= {(r, n) for r, n, _ in found}, f"named for a person, missing {expected - {(r, n) for r, n, _ in found}}")
    for keys, window in (("Return", ABOUT), ("Escape", GAME)):
        key(keys)
        titled(window)
    began = time.monotonic()
    next(o for r, n, o in found if r == "link").queryAction().doAction(0)
    check(time.monotonic() - began < 1, "the About label's press action answers at once")
    titled(ABOUT)
    key("Escape")
    titled(GAME)
    check(display.queryText().getText(0, -1)[0] == aim, "the game took no key while About was open")
    check(until(lambda: heard(shown, "notification", "Land!", mark), 10), '"Land!" is announced, as the march went on')
    ended(game)


def window_manager():  # under openbox the frames count in the placement
    wm = subprocess.Popen(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
    until(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
    game, gid = start()
    placed(gid, lambda: tuple(map(int, re.findall(r"\d+", run("xprop", "-root", "_NET_WORKAREA"))[:4])), "framed game window on the free area")
    placed(open_about(gid, "1"), lambda: outline(gid), "framed About window over the framed game window")
    for keys, window in (("alt+s", BOX), ("Return", ABOUT), ("Escape", GAME)):
        key(keys)
        titled(window)
    ended(game)
    wm.terminate()


def dense_screen():  # at scale 2 the window is twice the size, sharp and as readable
    game, gid = start(scale=2)
    check(outline(gid)[2:] == (520, 664), f"window {outline(gid)[2:]} at scale 2")
    looks_like(gid, "new-game@2x")
    contrast(gid, 2)
    ended(game)


Atspi.set_timeout(3000, 3000)
pyatspi.Registry.registerEventListener(record, "object:property-change:accessible-name", "object:state-changed:showing")
for scenario in (plain_desktop, window_manager, dense_screen):
    scenario()
check(open(f"{icons}/tamlo.png", "rb").read()[16:26] == struct.pack(">IIBB", 43, 42, 8, 3), "program icon file: 43 x 42, 256 colours")
sys.exit(1 if failures else 0)
