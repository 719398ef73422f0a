"""A game played with the screen reader on, as a player who cannot see the screen meets it: the
reader runs on a desktop of its own, real keys go to the game, and what the reader speaks is read
from its debug output."""
import os, re, sys
from x_desktop import ABOUT, GAME, Desktop, check, failures, until

program, probe, work = sys.argv[1:4]
desktop = Desktop(work, "orca")
home, spoken = desktop.home, f"{desktop.home}/orca.debug"
# Speech goes to an audio device that swallows it.
open(f"{home}/.asoundrc", "w").write(
    "pcm.!default { type null }\nctl.!default { type hw card 0 }\n")
os.makedirs(f"{home}/config/speech-dispatcher")
open(f"{home}/config/speech-dispatcher/speechd.conf", "w").write(
    'AudioOutputMethod "alsa"\nDefaultModule espeak-ng\n'
    'AddModule "espeak-ng" "sd_espeak-ng" "/etc/speech-dispatcher/modules/espeak-ng.conf"\n')
# The reader writes its debug output line by line, and ignores other tests' readers.
script = open("/usr/bin/orca").read()
for old, new in (("open(args.debug_file, 'w')", "open(args.debug_file, 'w', buffering=1)"),
                 ("setProcessName('orca')", "setProcessName('tamlo-orca')"),
                 ("def otherOrcas():\n", "def otherOrcas():\n    return []\n")):
    check(old in script, f"the reader's start-up has {old!r}")
    script = script.replace(old, new)
open(f"{home}/orca", "w").write(script)


def speech():  # what the reader has spoken so far
    text = open(spoken).read() if os.path.exists(spoken) else ""
    return re.findall(r"SPEECH OUTPUT: '(.*?)' ?(?:\{[^\n]*\})?$", text, re.M | re.S)


def said(what, *patterns, since=0, seconds=20):  # whether the reader speaks them all after since
    heard = lambda: [next((s for s in speech()[since:] if re.search(p, s)), None) for p in patterns]
    check(until(lambda: all(heard()), seconds, 0.2), f"{what}: {heard()}")


key = lambda *keys: desktop.key(*keys, delay="60")  # the reader speaks after each


def aim_at_special(since):  # Left until the aim is "n"; a landing puts it back to 1
    aim = lambda: ([s[0] for s in speech()[since:] if re.match(r"[1-9n]-", s)] or ["1"])[-1]
    for _ in range(30):
        if aim() == "n":
            break
        before = len(speech())
        key("Left")
        until(lambda: len(speech()) > before, 3, 0.1)


with desktop:
    check(desktop.window_manager(["openbox", "--sm-disable"]), "openbox runs")
    desktop.spawn(["speech-dispatcher", "--run-single", "--timeout", "0"], env=desktop.env)
    desktop.spawn([sys.executable, f"{home}/orca", f"--debug-file={spoken}"], env=desktop.env)
    said("the reader starts", "^Screen reader on", seconds=90)
    game, gid = desktop.start(program)
    said("the game window, its display", f"^{GAME} frame", "^Display read only text", seconds=30)
    mark = len(speech())
    key("Left")
    said("the aim after Left", r"^2-", since=mark)
    rows = lambda: {s for s in speech()[mark:] if re.match(r"2- *\d+\.?$", s)}
    check(until(lambda: len(rows()) >= 2, 20), f"the row as it marches in: {sorted(rows())}")
    mark = len(speech())
    aim_at_special(mark)
    key("Down")  # the special invader is not sent before 10 points
    said("a miss is heard through its count", r"^Miss Fire : 1\.?$", since=mark)
    said('"Land!"', r"^Land!", since=mark, seconds=30)
    mark = len(speech())
    desktop.open_about(gid, probe)
    said("About: title, version, its OK button",
         f"^{ABOUT} dialog\\W+Tamlo QT-350\\W+Version 0\\.0\\.2\\W", r"^OK push button", since=mark)
    key("Tab")
    said("About's System Info button", r"^System Info\.\.\. push button", since=mark)
    key("Escape")
    said("back at the game", r"^Display read only text", since=mark)
    mark = len(speech())
    key("KP_Enter")  # Where Am I
    said("the display read on demand", r"^Display read only text", since=mark)
    mark = len(speech())
    key("r")
    said("R starts a new game", r"^1-", since=mark)
    aim_at_special(mark)
    key(*["Down"] * 30)  # three landings would take more than 20 s
    said('"Game Over!" and the thirtieth miss', r"^Game Over!", r"^Miss Fire : 30\.?$", since=mark)
    # Released once the game has gone: while a reader listens to keys the toolkit holds a copy of
    # each key event until the reader answers, and a release still held at exit is a leak.
    desktop.ends(game, 10, delay="60")
    told = set(re.findall(r"name='Display' role='text'\n.*\n\s+states='(.*)'", open(spoken).read()))
    check(told and all("read only" in s and not re.search("editable|focusable", s) for s in told),
          f"the display is read only, neither editable nor focusable: {told}")
    print("what the reader spoke:\n  " + "\n  ".join(s.replace("\n", " / ") for s in speech()))
sys.exit(1 if failures else 0)
