"""What the tests of the program on desktops of their own share: an X server with its own home
and settings folders, a window manager on it, the program's windows, their frames and accessible
objects, where the design tables put each control, and the contrast of what a screenshot shows."""
import contextlib, os, re, shutil, subprocess, time

GAME, ABOUT = "Tamlo QT-350 Simulator", "About Tamlo QT-300 Simulator"
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    failures.extend([] if ok else [what])


def until(test, seconds=3.0, step=0.05, work=lambda: False):  # work() is False when idle
    end = time.monotonic() + seconds
    while not test() and time.monotonic() < end:
        work() or time.sleep(step)
    return test()


class Desktop(contextlib.AbstractContextManager):
    """An Xvfb of the given size and its own folders under work/name; a window manager (by its
    command line) when asked; everything started on it ends with the with block."""

    def __init__(self, work, name, size="1280x1024"):
        self.home = f"{work}/{name}"
        shutil.rmtree(self.home, ignore_errors=True)
        os.makedirs(self.home, mode=0o700)
        self.processes = []
        read, write = os.pipe()
        # Only the abstract socket: another namespace's X server, blind to this one's lock, could
        # take over a file in /tmp/.X11-unix. No reset when the last client leaves: a program
        # started while the server resets could not open the display.
        self.spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{size}x24",
                    "-nolisten", "tcp", "-nolisten", "unix", "-noreset"], pass_fds=[write])
        os.close(write)
        with os.fdopen(read) as display:  # written once the server takes clients
            number = display.readline().strip()
        self.env = dict(os.environ, DISPLAY=f":{number}", HOME=self.home,
                        XDG_RUNTIME_DIR=self.home, XDG_CONFIG_HOME=f"{self.home}/config",
                        XDG_CACHE_HOME=f"{self.home}/cache", XDG_DATA_HOME=f"{self.home}/data",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for variable in ("QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE",
                         "GTK_THEME", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR"):
            self.env.pop(variable, None)

    def spawn(self, command, **options):
        log = open(f"{self.home}/{os.path.basename(command[0])}.log", "a")
        self.processes.append(subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT,
                                               start_new_session=True, **options))
        return self.processes[-1]

    def run(self, *command, check=True):  # what the command prints
        return subprocess.run(command, env=self.env, check=check, capture_output=True, text=True,
                              timeout=10).stdout

    def window_manager(self, command):  # with a session bus whose services see this display
        running = lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                  check=False)  # a busy server may turn it away
        for _ in range(3):  # on a busy machine one may give up at once; it is started again
            manager = self.spawn(["dbus-run-session", "--", *command], env=self.env)
            if until(lambda: running() or manager.poll() is not None, 20) and running():
                return True
        return False

    def start(self, program, **settings):  # the program, and its window's id once it shows
        return self.spawn([program], env=dict(self.env, **settings)), self.window(GAME)

    def window(self, title, seconds=30):  # the id of the window of that title, once it exists
        found = lambda: self.run("xdotool", "search", "--name", f"^{title}$", check=False)
        return (until(found, seconds).split() or [None])[0]

    def free_area(self):  # left, top, width and height the window manager leaves to windows
        area = re.findall(r"-?\d+", self.run("xprop", "-root", "_NET_WORKAREA").partition("=")[2])
        area = area[:4] or [0, 0, *self.run("xdotool", "getdisplaygeometry").split()]
        return tuple(map(int, area))

    def client(self, wid):  # left, top, width and height of the window without a frame
        info = self.run("xwininfo", "-id", wid)
        keys = "Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"
        return tuple(int(re.search(rf"{key}:\s+(-?\d+)", info)[1]) for key in keys)

    def outline(self, wid):  # the same with the frame the window manager gave it
        x, y, w, h = self.client(wid)
        extents = self.run("xprop", "-id", wid, "_NET_FRAME_EXTENTS").partition("=")[2]
        left, right, top, bottom = map(int, re.findall(r"\d+", extents) or [0] * 4)
        return x - left, y - top, w + left + right, h + top + bottom

    def click(self, wid, x, y, button="1"):  # at a point of the window's client area
        left, top = self.client(wid)[:2]
        self.run("xdotool", "mousemove", str(left + x), str(top + y), "click", button)

    def key(self, *keys, delay="15"):  # typed into the window that has the focus
        if keys:
            self.run("xdotool", "key", "--delay", delay, *keys)

    def ends(self, game, seconds=2, delay="15", wait=until):  # Esc, to the focused window, ends
        self.key("Escape", delay=delay)  # the program; wait() waits as the test waits
        check(wait(lambda: game.poll() == 0, seconds), "Esc ends the program")

    def open_about(self, gid, probe, button="1"):  # a press on "About"; About's window id
        self.click(gid, *inside(design(probe)["FrmTamlo.txtAbout"]), button)
        return self.window(ABOUT)

    def __exit__(self, *raised):  # the X server last, so that it clears its socket for the next
        for process in reversed(self.processes):
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, 15 if process is self.processes[0] else 9)
            process.wait()


def application():  # the program on the accessibility bus, the latest one, once it has a window
    import pyatspi
    apps = lambda: [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "tamlo-qt350"]
    until(lambda: apps() and apps()[-1].childCount > 0, 10)
    return apps()[-1]


def frame(app, role):  # the program's first window of that role, once it shows
    return until(lambda: next((w for w in app if w.getRoleName() == role), None), 5)


def tree(node):  # the accessible object and everything below it
    return [node, *(found for child in node for found in tree(child))]


def design(probe):  # {"Window.control": (left, top, width, height)} in pixels at scale 1
    lines = subprocess.run([probe], check=True, capture_output=True, text=True).stdout.splitlines()
    return {f"{w}.{n}": tuple(map(int, rect)) for w, n, *rect in map(str.split, lines)}


def inside(rect):  # a point near the left end of a control (auto-size: maybe narrower)
    x, y, w, h = rect
    return x + min(w, h) // 2, y + h // 2


def luminance(rgb):  # relative luminance as the contrast guidelines define it
    linear = (v / 255 / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4 for v in rgb)
    return sum(k * v for k, v in zip((0.2126, 0.7152, 0.0722), linear))


def ratio(first, second):
    light, dark = sorted((luminance(first), luminance(second)), reverse=True)
    return (light + 0.05) / (dark + 0.05)
