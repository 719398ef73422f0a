"""Every text of both windows can be read on its ground under the desktop's palette: the default
one, GTK's dark theme and a dark qt6ct scheme. Measured on the X server's picture of each window,
where a screen reader says each text stands. Run on a session bus of its own with
    <program> <window_snapshot> <design_geometry> <work-dir>"""
import collections, os, re, sys
import pyatspi
from x_desktop import ABOUT, GAME, Desktop, check, design, failures, inside, ratio, until

program, snapshot, geometry, work = sys.argv[1:5]
PALETTES = {
    "default": {},
    "GTK dark": {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"},
    "qt6ct dark": {"QT_QPA_PLATFORMTHEME": "qt6ct"},
}
# Bold text of 14 pt and more reads at 3:1; so must the red message, whose colour is given.
LARGE = {"Display", "Game Over!"}
TEXTS = {"label", "link", "text", "push button", "notification", "heading", "paragraph"}
INSET = {"text": 3, "push button": 4}  # inside the box's frame and the button's bevel


def grab(desktop, wid, name):  # the window as the X server shows it: width and RGB rows
    desktop.run(snapshot, wid, f"{work}/{name}.ppm")
    data = open(f"{work}/{name}.ppm", "rb").read()
    header = re.match(rb"P6\s+(\d+)\s+\d+\s+255\s", data)
    return int(header[1]), data[header.end():]


def texts(node, found):  # role, name and screen extents of every text below node
    for child in node:
        extents = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        shown = child.getState().contains(pyatspi.STATE_SHOWING)
        if child.getRoleName() in TEXTS and child.name and shown:
            found.append((child.getRoleName(), child.name, extents))
        texts(child, found)
    return found


def readable(desktop, palette, window, wid):
    width, pixels = grab(desktop, wid, f"{palette}-{window.name}".replace(" ", "-"))
    left, top = desktop.client(wid)[:2]
    for role, name, (x, y, w, h) in texts(window, []):
        inset = INSET.get(role, 0)
        counts = collections.Counter(
            pixels[i : i + 3]
            for row in range(y - top + inset, y - top + h - inset)
            for i in range(3 * (row * width + x - left + inset),
                           3 * (row * width + x - left + w - inset), 3))
        ground = counts.most_common(1)[0][0]
        best = max(ratio(ground, colour) for colour in counts)
        needed = 3 if name in LARGE else 4.5
        check(best >= needed, f"{palette}: {role} '{name}' at {best:.2f}:1 (at least {needed})")


def application():  # the accessible program, once it answers
    apps = lambda: [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "tamlo-qt350"]
    until(lambda: apps() and apps()[-1].childCount > 0, 10)
    return apps()[-1]


def frame(app, role):
    until(lambda: any(w.getRoleName() == role for w in app), 5)
    return next(w for w in app if w.getRoleName() == role)


desktop = Desktop(work, "palettes")
config = f"{desktop.home}/config/qt6ct"
os.makedirs(config)
open(f"{config}/qt6ct.conf", "w").write(
    "[Appearance]\ncustom_palette=true\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\n")
try:
    for palette, settings in PALETTES.items():
        game = desktop.start(program, **settings)
        gid = desktop.window(GAME)
        desktop.run("xdotool", "windowfocus", "--sync", gid, "key", "--delay", "10",
                    *["Down"] * 30)  # thirty misses: "Game Over!" shows
        app = application()
        until(lambda: "Game Over!" in [t[1] for t in texts(frame(app, "frame"), [])])
        readable(desktop, palette, frame(app, "frame"), gid)
        desktop.click(gid, *inside(design(geometry)["FrmTamlo.txtAbout"]))
        readable(desktop, palette, frame(app, "dialog"), desktop.window(ABOUT))
        game.kill()
        game.wait()
finally:
    desktop.end()
sys.exit(1 if failures else 0)
