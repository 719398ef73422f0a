"""The built program on a real X server as a person and a screen reader meet it: titles and
placement with and without a window manager, the display's contrast, window icons, reference
pictures, real keys, and what a screen reader gets over the accessibility bus.

    desktop_test.py <program> <window_snapshot> <reference-dir> <icon-dir> <work-dir>

Run by desktop_test.sh on its own X server and session bus. UPDATE_REFERENCES=1 writes the
pictures taken as the new references."""
import collections, os, re, struct, subprocess, sys, time
import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib
import pyatspi

program, snapshot, references, icons, work = sys.argv[1:6]
GAME, ABOUT, BOX = "Tamlo QT-350 Simulator", "About Tamlo QT-300 Simulator", "Tamlo QT-350"
INTERNAL = re.compile(r"(Frm|frm|txt|lbl|cmd|pic|Line|Label|Timer|mnu)[A-Z0-9_]")
failures, events = [], []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    failures.extend([] if ok else [what])


def run(*command, timeout=10):
    return subprocess.run(command, check=True, capture_output=True, text=True, timeout=timeout).stdout


def key(*keys):
    run("xdotool", "key", "--delay", "15", *keys)


def pump(seconds=0.0):  # delivers the accessibility events that have come in
    end = time.monotonic() + seconds
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def window(title):
    return run("xdotool", "search", "--sync", "--name", f"^{title}$").split()[0]


def outline(wid):  # x, y, width, height of the window with the frame a window manager gave it
    info = run("xwininfo", "-id", wid)
    x, y, w, h = (int(re.search(rf"{k}:\s+(-?\d+)", info)[1]) for k in ("X", "Y", "Width", "Height"))
    extents = run("xprop", "-id", wid, "_NET_FRAME_EXTENTS").partition("=")[2]
    left, right, top, bottom = map(int, re.findall(r"\d+", extents) or [0] * 4)
    return x - left, y - top, w + left + right, h + top + bottom


def off_centre(a, b):  # how far apart the centres of two rectangles are, in pixels
    return max(abs(2 * a[0] + a[2] - 2 * b[0] - b[2]), abs(2 * a[1] + a[3] - 2 * b[1] - b[3])) / 2


def placed(wid, over, name):  # the window manager may place a window again once it is framed
    for _ in range(30):
        offset = off_centre(outline(wid), over())
        if offset <= 2:
            break
        time.sleep(0.1)
    check(offset <= 2, f"{name} centred within 2 px (off by {offset})")


def titled(title):  # the window of that title, once it has the keyboard focus
    wid = window(title)
    name = run("xdotool", "getwindowname", wid).strip()
    check(name == title, f"title bar reads '{name}'")
    for attempt in range(50):
        focus = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True)
        if focus.stdout.strip() == wid:
            return wid
        if attempt == 10:  # nobody gave a new main window the focus: no window manager runs
            run("xdotool", "windowfocus", wid)
        time.sleep(0.05)
    check(False, f"{title} has the keyboard focus")


def icon(wid):  # the window's icon as the desktop gets it: its size and number of colours
    values = list(map(int, re.findall(r"\d+", run("xprop", "-id", wid, "32c", "_NET_WM_ICON"))))
    return values[0], values[1], len(set(values[2 : 2 + values[0] * values[1]]))


def start(scale=1):  # with a System Info store that names no tool
    os.makedirs(f"{work}/tamlo-qt350", exist_ok=True)
    open(f"{work}/tamlo-qt350/registry.reg", "w").write("REGEDIT4\n")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_SCALE_FACTOR=str(scale), XDG_CONFIG_HOME=work)
    log = open(f"{work}/game.log", "a")
    game = subprocess.Popen([program], env=env, stdout=log, stderr=subprocess.STDOUT)
    return game, titled(GAME)


def client(wid, x, y):  # a point of a window's client area on the screen
    info = run("xwininfo", "-id", wid)
    return [str(int(re.search(rf"Absolute upper-left {k}:\s+(-?\d+)", info)[1]) + v) for k, v in (("X", x), ("Y", y))]


def open_about(gid, button="1"):
    run("xdotool", "mousemove", *client(gid, 205, 285), "click", button)
    return titled(ABOUT)


def picture(wid, name):  # compares the window with a reference taken right after a restart
    reference = f"{references}/{name}.png"
    for _ in range(3):
        key("r")
        if os.environ.get("UPDATE_REFERENCES") == "1":
            return run(snapshot, wid, reference)
        if subprocess.run([snapshot, wid, f"{work}/{name}.png", reference]).returncode == 0:
            return check(True, f"looks like {reference}")
    check(False, f"looks like {reference} (see {work}/{name}.png-diff.png)")


def contrast(wid, scale):  # of the display's digits against its ground, from a grab
    run(snapshot, wid, f"{work}/grab.ppm")
    data = open(f"{work}/grab.ppm", "rb").read()
    header = re.match(rb"P6\s+(\d+)\s+\d+\s+255\s", data)
    pixels, width = data[header.end() :], int(header[1])
    x, y, w, h = (v * scale for v in (67, 83, 131, 27))
    counts = collections.Counter(
        pixels[i : i + 3] for row in range(y, y + h) for i in range((row * width + x) * 3, (row * width + x + w) * 3, 3)
    )
    lum = lambda c: sum(k * ((v / 255) / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4) for k, v in zip((0.2126, 0.7152, 0.0722), c))
    ground = lum(counts.most_common(1)[0][0])
    ratio = max((max(lum(c), ground) + 0.05) / (min(lum(c), ground) + 0.05) for c in counts)
    check(ratio >= 4.5, f"display contrast {ratio:.2f}:1 at scale {scale}")


def tree(node, found):  # role, name and object of node and all below it
    found.append((node.getRoleName(), node.name, node))
    for child in node:
        tree(child, found)
    return found


def heard(kind, role, text, since=0):  # whether a control of that role told a listener
    return any(e[0].startswith(kind) and e[1] == role and text in e[2] for e in events[since:])


def record(event):
    try:
        said = event.any_data if event.type.startswith("object:text-changed") else event.source.name
        events.append((event.type, event.source.getRoleName(), said))
    except GLib.Error:
        pass  # the source is gone


def ended(game):
    key("Escape")
    try:
        check(game.wait(2) == 0, "Esc ends the program")
    except subprocess.TimeoutExpired:
        check(False, "Esc ends the program")


def plain_desktop():
    """No window manager, scale 1: everything a person and a screen reader meet."""
    game, gid = start()
    placed(gid, lambda: (0, 0, *map(int, run("xdotool", "getdisplaygeometry").split())), "game window")
    check(icon(gid)[:2] == (43, 42) and icon(gid)[2] <= 256, f"game window icon {icon(gid)}")
    picture(gid, "new-game")
    contrast(gid, 1)
    app = next(a for a in pyatspi.Registry.getDesktop(0) if a.name == "tamlo-qt350")
    display = next(o for r, n, o in tree(app, []) if n == "Display")

    # Real keys: Left aims, Down misses at an empty row, R restarts, also on a Cyrillic layout.
    key("r", "Left", "Down")
    pump(0.3)
    check(heard("object:text-changed:insert", "text", "2-"), "the display's new text reaches a listener")
    check(heard("object:property-change:accessible-name", "label", "Miss Fire : 1"), "so does a miss")
    mark = len(events)
    run("setxkbmap", "-layout", "ru")
    key("Cyrillic_ka")
    run("setxkbmap", "-layout", "us")
    pump(0.3)
    check(heard("object:property-change:accessible-name", "label", "Miss Fire : 0", mark), "R on a Cyrillic layout restarts")
    key("r", *["Down"] * 30)
    pump(0.3)
    check(heard("object:state-changed:showing", "notification", "Game Over!"), '"Game Over!" is announced')

    # A hit at the first invader that comes in.
    mark = len(events)
    key("r")
    pump(1.3)
    aim = next((c for c in display.queryText().getText(0, -1)[2:] if c.isdigit()), "1")
    key(*["Left"] * (int(aim) - 1), "Down")
    pump(0.3)
    check(heard("object:property-change:accessible-name", "label", "Score : 000010"), "a hit's score reaches a listener")

    # The About window over the game, which marches on behind it; System Info's message over it.
    about = open_about(gid, button="3")
    placed(about, lambda: outline(gid), "About window over the game window")
    check(icon(about)[:2] == (32, 32) and icon(about)[2] <= 16, f"About window icon {icon(about)}")
    if os.environ.get("UPDATE_REFERENCES") == "1":
        run(snapshot, about, f"{references}/about.png")
    about_picture = subprocess.run([snapshot, about, f"{work}/about.png", f"{references}/about.png"])
    check(about_picture.returncode == 0, "About window looks like its reference")
    key("Left")  # taken by the About window, not the game
    key("alt+s")
    titled(BOX)
    found = tree(app, [])
    print("\n".join(f"  [{role}] {name!r}" for role, name, _ in found[1:]))
    check(not [n for _, n, _ in found if INTERNAL.match(n)], "no internal names")
    named = {(r, n) for r, n, _ in found}
    expected = {("frame", GAME), ("text", "Display"), ("link", "About"), ("dialog", ABOUT), ("image", "Program icon"), ("push button", "OK"), ("push button", "System Info..."), ("alert", BOX), ("label", "System Information Is Unavailable At This Time"), ("label", "Left Arrow - Aim"), ("label", "Esc : Exit")}
    check(expected <= named, f"named for a person; missing: {expected - named}")
    key("Return")
    titled(ABOUT)
    key("Escape")
    titled(GAME)

    # The About label's press action opens the About window and answers at once.
    began = time.monotonic()
    next(o for r, n, o in found if r == "link").queryAction().doAction(0)
    check(time.monotonic() - began < 1, "the About label's press action answers at once")
    titled(ABOUT)
    key("Escape")
    titled(GAME)
    shown = display.queryText().getText(0, -1)
    check(shown[0] == aim, f"keys did not reach the game while About was open: {shown!r}")

    # Nobody fires: an invader lands.
    for _ in range(50):
        pump(0.2)
        if heard("object:state-changed:showing", "notification", "Land!", mark):
            break
    check(heard("object:state-changed:showing", "notification", "Land!", mark), '"Land!" is announced')
    check(heard("object:property-change:accessible-name", "label", "Land : 1", mark), "so is the landing count")
    ended(game)


def window_manager():
    """Under openbox: the frames count in the placement, and the titles stand in title bars."""
    wm = subprocess.Popen(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
    try:
        while "window id" not in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"):
            time.sleep(0.05)
        game, gid = start()
        workarea = lambda: tuple(map(int, re.findall(r"\d+", run("xprop", "-root", "_NET_WORKAREA"))[:4]))
        placed(gid, workarea, "framed game window on the free area")
        about = open_about(gid)
        placed(about, lambda: outline(gid), "framed About window over the framed game window")
        key("alt+s")
        titled(BOX)
        key("Return")
        titled(ABOUT)
        key("Escape")
        titled(GAME)
        ended(game)
    finally:
        wm.terminate()
        wm.wait()


def dense_screen():
    """At twice the scale the window is twice the size, sharp, and as readable."""
    game, gid = start(scale=2)
    check(outline(gid)[2:] == (520, 664), f"window {outline(gid)[2:]} at scale 2")
    picture(gid, "new-game@2x")
    contrast(gid, 2)
    ended(game)


Atspi.set_timeout(3000, 3000)
pyatspi.Registry.registerEventListener(record, "object:text-changed:insert", "object:property-change:accessible-name", "object:state-changed:showing")
for scenario in (plain_desktop, window_manager, dense_screen):
    scenario()
ihdr = [struct.unpack(">IIBB", open(f"{icons}/{path}", "rb").read()[16:26]) for path in ["tamlo.png"] + [f"hicolor/{s}x{s}/apps/org.tamlo.Qt350Simulator.png" for s in (16, 32, 256)]]
check(ihdr[0] == (43, 42, 8, 3) and [i[0] for i in ihdr[1:]] == [16, 32, 256], f"icon files {ihdr}")
sys.exit(1 if failures else 0)
