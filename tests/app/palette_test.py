"""Every text of both windows can be read on its ground under the desktop's palette: the default
one, GTK's dark theme and a dark qt6ct scheme. Measured on the X server's picture of each window,
where a screen reader says each text stands."""
import collections, os, re, sys
import pyatspi
from x_desktop import Desktop, application, check, failures, frame, ratio, tree, until

program, probe, work = sys.argv[1:4]
PALETTES = {
    "default": {},
    "GTK dark": {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"},
    "qt6ct dark": {"QT_QPA_PLATFORMTHEME": "qt6ct"},
}
# Bold text of 14 pt and more reads at 3:1; so must the red message, whose colour is given.
LARGE = {"Display", "Game Over!"}
TEXTS = {"label", "link", "text", "push button", "notification", "heading", "paragraph"}
INSET = {"text": 3, "push button": 4}  # inside the box's frame and the button's bevel


def texts(node):  # role, name and screen extents of every text shown below node
    return [(n.getRoleName(), n.name, n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))
            for n in tree(node)[1:] if n.getRoleName() in TEXTS and n.name
            and n.getState().contains(pyatspi.STATE_SHOWING)]


def readable(desktop, palette, window, wid):
    picture = os.path.join(work, f"{palette}-{window.name}.ppm".replace(" ", "-"))
    desktop.run(probe, wid, picture)  # the window as the X server shows it
    data = open(picture, "rb").read()
    header = re.match(rb"P6\s+(\d+)\s+\d+\s+255\s", data)
    width, pixels = int(header[1]), data[header.end():]  # RGB rows
    left, top = desktop.client(wid)[:2]
    for role, name, (x, y, w, h) in texts(window):
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


with Desktop(work, "palettes") as desktop:
    config, scheme = f"{desktop.home}/config/qt6ct", "/usr/share/qt6ct/colors/darker.conf"
    os.makedirs(config)
    open(f"{config}/qt6ct.conf", "w").write(
        f"[Appearance]\ncustom_palette=true\ncolor_scheme_path={scheme}\n")
    for palette, settings in PALETTES.items():
        game, gid = desktop.start(program, **settings)
        desktop.run("xdotool", "windowfocus", "--sync", gid, "key", "--delay", "10",
                    *["Down"] * 30)  # thirty misses: "Game Over!" shows
        app = application()
        until(lambda: "Game Over!" in [t[1] for t in texts(frame(app, "frame"))])
        readable(desktop, palette, frame(app, "frame"), gid)
        about = desktop.open_about(gid, probe)  # before its accessible dialog is looked for
        readable(desktop, palette, frame(app, "dialog"), about)
        game.kill()
        game.wait()
sys.exit(1 if failures else 0)
