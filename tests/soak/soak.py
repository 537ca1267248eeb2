#!/usr/bin/env python3
"""The soak: the game plays for a while with artwheel, and again with artwheel
inert (the simulator under another name), both at once; then one table of what
must hold after a long session. Exit status 1 when any line fails.

    soak.py MINUTES [--build DIR] [--reload-every SECONDS]

The timeline, scaled to the length: about 60 frames a second; a combination
every 500 ms, slots in turn (each equips another art); every 5 s the
combat-art menu opens and an art goes to the next slot; a ResizeBuffers every
minute; the device and swap chain re-created every 3 minutes; logging on; now
and then a viewer holds the log open for 3 s. The warm-up (the first minute,
or a third of a shorter run) already holds one of each event; everything
counted after it must stay flat. With --reload-every the player also saves
artwheel.ini every few seconds (ApplyChanges=1), and each save is read again.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# The art ids the save owns (resolved id = id / 100); the slots start with the
# first four, and every assignment brings in the next art that no slot holds,
# so that each combination changes the equipped art and the panel's icon.
ARTS = [5000, 5100, 5200, 5300] + list(range(6000, 10000, 300))
SLOTS = ["Y", "A", "B", "X"]
SLOT_BUTTONS = {"Y": "0x8002", "A": "0x1002", "B": "0x2002", "X": "0x4002"}
SIZES = [(1920, 1080), (1280, 720)]
VIEWER_HOLD_MS = 3000

# Private bytes (the process's committed private memory): growth after the
# warm-up may exceed the inert run's by this much. artwheel allocates nothing
# per frame or tick; what it may hold after the warm-up beyond the inert run is
# one 64 x 64 icon and one 512 x 80 message texture per device and the heap
# blocks of the images it decoded, together under 300 KB. Heaps grow in 64 KB
# steps; in ten minutes the inert run grew by 64 KB and the artwheel run by
# 128 KB (0 to 128 KB in 30 s). A leak of a 500-byte Direct3D object per frame
# (36 000 frames in ten minutes) or of an image per combination (1 200)
# outgrows 1 MiB many times over.
MARGIN_BYTES = 1 << 20

INI = """[General]
IsDebug=true
[Slots]
Y=5000
A=5100
B=5200
X=5300
[Overlay]
Enable=1
[SkillPanel]
Enable=1
"""

LOG_LINE = re.compile(
    rb"^\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] \[pid=\d+ tid=\d+\] \[[A-Za-z]+\] [^\r\n]*$")
LOG_STAMP = re.compile(rb"\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] \[pid=")
HANDLE_IMPORT = re.compile(
    r"^(Create(File|Mutex|Event|Thread|Process|FileMapping|Semaphore|Waitable|Toolhelp|Pipe|"
    r"NamedPipe|IoCompletion|RemoteThread|CompatibleDC|DC|IC|DIB|CompatibleBitmap|Bitmap|Solid|"
    r"Font|Pen|Brush|Rgn|Window)|Open(Process|Thread|Event|Mutex|Semaphore|FileMapping|File)|"
    r"FindFirst|LoadLibrary|GetModuleHandleEx|DuplicateHandle|GetDC|GetWindowDC|_?w?fopen|"
    r"_open|_wopen|_beginthread)")


class Timeline:
    """The scenario as (time, order, lines) events, written as one script."""

    def __init__(self, seconds, inert):
        self.inert = inert
        self.events = []
        self.seconds = seconds
        self.warmup = min(60.0, seconds / 3)

    def add(self, at, lines, order=1):
        self.events.append((int(at * 1000), order, lines))

    def answer(self, buttons, text):
        """The player presses a combination; with artwheel it is held until answered."""
        if self.inert:
            return ["pad 0 " + buttons, "wait 80", "pad 0 0"]
        return ["presspad %s %s" % (buttons, text)]

    def waitlogn(self, count, text):
        return [] if self.inert else ["waitlogn %d %s" % (count, text)]

    def script(self):
        lines = ["# The soak's timeline (%.1f s, warm-up %.1f s)" % (self.seconds, self.warmup),
                 "counthandles", "countd3d", "dinput"]
        lines += ["own %d %d" % (art, art // 100) for art in ARTS]
        lines += ["equipped %d" % (ARTS[3] // 100), "menu activeOrHud 1", "menu loadingOrUi 1",
                  "menu postLoad 1", "statsoff", "window %d %d" % SIZES[0], "pad 0 0"]
        if not self.inert:
            lines.append("waitlog [Core] Initialization OK")
        for at, _, event in sorted(self.events, key=lambda e: (e[0], e[1])):
            lines.append("at %d" % at)
            lines += event
        return "\n".join(lines) + "\n"


def plan(seconds, inert, reload_every=0.0):
    """The timeline and the slots it leaves, as the player assigned them."""
    t = Timeline(seconds, inert)
    w = t.warmup
    at, save = 1.5, 0
    while reload_every > 0 and at < seconds - 0.5:
        save += 1
        t.add(at, ["inikey Soak Save %d" % save] + t.waitlogn(save, "[Config] Reloaded from"))
        at += reload_every
    slots = dict(zip(SLOTS, ARTS[:4]))
    combo = 0
    at = 1.0
    while at < seconds - 0.5:
        t.add(at, t.answer(SLOT_BUTTONS[SLOTS[combo % 4]], "equip"))
        combo += 1
        at += 0.5
    assignment = 0
    at = 2.75
    next_art = 4
    while at < seconds - 0.5:
        slot = SLOTS[assignment % 4]
        while ARTS[next_art % len(ARTS)] in slots.values():
            next_art += 1
        art = ARTS[next_art % len(ARTS)]
        slots[slot] = art
        assignment += 1
        t.add(at, ["menu pauseMenu 2", "menu selectedResolvedId %d" % (art // 100)] +
              t.waitlogn(assignment, "[Menu] Skill assignment mode ON") +
              t.answer(SLOT_BUTTONS[slot], "[Skill] Assigned combat art id") +
              ["menu pauseMenu 0"] + t.waitlogn(assignment, "[Menu] Skill assignment mode OFF"))
        at += 5.0
    resize_every = min(60.0, seconds / 3)
    at, size = w / 2, 1
    while at < seconds - 0.5:
        t.add(at, ["window %d %d" % SIZES[size % 2]])
        size += 1
        at += resize_every
    recreate_every = min(180.0, seconds / 2)
    at, count = w * 3 / 4, 0
    while at < seconds - 2.5:
        count += 1
        t.add(at, ["recreate"])
        t.add(at + 2.0, ["oldrefs recreate%d" % count])
        at += recreate_every
    view_every = min(40.0, seconds / 3)
    at = w / 3
    while at < seconds - 0.5:
        t.add(at, ["holdlog %d" % VIEWER_HOLD_MS])
        at += view_every
    reports = ["clock %s", "handles %s", "memory %s", "equips %s", "d3dobjects %s"]
    t.add(w, [r % "warmup" for r in reports] + ["countallocs"], order=0)
    t.add(seconds, ["allocs after-warmup"] + [r % "end" for r in reports] +
          ["logviewers", "exit 0"], order=2)
    return t, slots


def prepare(folder, build, program, script, reloads):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    bin_dir = os.path.join(build, "windows", "bin")
    for name, as_name in (("dinput8.dll", "dinput8.dll"), ("xinput1_4.dll", "xinput1_4.dll"),
                          ("sekiro.exe", program)):
        shutil.copy(os.path.join(bin_dir, name), os.path.join(folder, as_name))
    shutil.copytree(os.path.join(build, "resources"), os.path.join(folder, "resources"))
    with open(os.path.join(folder, "artwheel.ini"), "w", newline="\r\n") as f:
        f.write(INI.replace("IsDebug=true\n", "IsDebug=true\nApplyChanges=1\n") if reloads else INI)
    with open(os.path.join(folder, "scenario.txt"), "w") as f:
        f.write(script)


def start(folder, build, program, seconds):
    env = dict(os.environ, ARTWHEEL_WINE_ROOT=os.environ.get("ARTWHEEL_WINE_ROOT",
                                                             os.path.join(build, "wine")),
               ARTWHEEL_DLL_OVERRIDES="dinput8=n,b;xinput1_4=n")
    out = open(os.path.join(folder, "stdout.txt"), "w")
    return subprocess.Popen(
        ["timeout", "-k", "5", str(int(seconds + 180)), os.path.join(ROOT, "scripts", "wine-run.sh"),
         program, "scenario.txt", "results.txt"],
        cwd=folder, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)


def read(folder, name):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        return b""
    with open(path, "rb") as f:
        return f.read()


class Results:
    """The lines a run's results.txt holds, by their first word."""

    def __init__(self, folder, exit_code):
        self.text = read(folder, "results.txt").decode("utf-8", "replace")
        self.lines = self.text.splitlines()
        self.exit_code = exit_code

    def starting(self, prefix):
        return [line for line in self.lines if line.startswith(prefix)]

    def fields(self, prefix):
        """key=value pairs of the first line with the prefix."""
        found = self.starting(prefix)
        return dict(re.findall(r"(\w+)=(\S+)", found[0])) if found else {}

    def after(self, prefix):
        """The lines after the first one with the prefix."""
        for index, line in enumerate(self.lines):
            if line.startswith(prefix):
                return self.lines[index + 1:]
        return []

    def crashed(self):
        # A death by a signal after the last line is the Unix side's teardown
        # of a Wine process that ended itself (see the scenarios' Run): the
        # timeline ran to its end.
        ended = bool(self.lines) and self.lines[-1] == "exit 0"
        return not ended or (self.exit_code != 0 and self.exit_code <= 128)


def handles_held(results, label):
    """{kind: (opened, closed, held)} of a handles line."""
    found = results.starting("handles %s " % label)
    if not found:
        return {}
    return {kind: tuple(int(n) for n in value.split("/"))
            for kind, value in re.findall(r"(\w+)=(-?\d+/-?\d+/-?\d+)", found[0])}


def dll_imports(build):
    objdump = shutil.which("x86_64-w64-mingw32-objdump") or "objdump"
    dump = subprocess.run([objdump, "-p", os.path.join(build, "windows", "bin", "dinput8.dll")],
                          capture_output=True, text=True).stdout
    # Import table rows: hint, then name.
    return set(re.findall(r"^\s+[0-9a-f]+\s+\d+\s+([A-Za-z_][\w]*)\s*$", dump, re.M))


def check_log(log):
    """(lines, bad lines, first bad line) of the log: each line complete and alone."""
    if not log:
        return 0, 1, "no log"
    pieces = log.split(b"\r\n")
    bad, first = 0, ""
    if pieces[-1] != b"":
        bad, first = 1, "the file does not end with CR LF"
    lines = pieces[:-1]
    for line in lines:
        if not LOG_LINE.match(line) or len(LOG_STAMP.findall(line)) != 1:
            bad += 1
            first = first or line[:120].decode("utf-8", "replace")
    return len(lines), bad, first


def ini_slots(text):
    section, slots = "", {}
    for raw in text.decode("utf-8", "replace").splitlines():
        line = raw.split(";")[0].strip()
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].strip().lower()
        elif section == "slots" and "=" in line:
            key, value = line.split("=", 1)
            slots[key.strip().upper()] = value.strip()
    return slots


def mib(n):
    return "%+.1f MiB" % (n / (1 << 20))


def evaluate(with_dir, with_run, inert_run, build, seconds, expected_slots):
    rows = []

    def row(check, value, limit, ok):
        rows.append((check, value, limit, "PASS" if ok else "FAIL"))

    crashed = [name for name, r in (("with", with_run), ("inert", inert_run)) if r.crashed()]
    row("crashes", "%d%s" % (len(crashed), " (%s)" % ", ".join(crashed) if crashed else ""),
        "0", not crashed)

    render = with_run.fields("render ")
    present_failures = int(render.get("present_failures", -1))
    mismatches = int(render.get("state_mismatches", -1))
    resizes = with_run.starting("resize ")
    failed_resizes = [r for r in resizes if not r.endswith("hr=0x00000000")]
    recreates = with_run.starting("recreate")
    failed_recreates = [r for r in recreates if r != "recreate ok"]
    row("failed Present / ResizeBuffers / re-creation",
        "%d / %d of %d / %d of %d" % (present_failures, len(failed_resizes), len(resizes),
                                      len(failed_recreates), len(recreates)),
        "0", present_failures == 0 and not failed_resizes and not failed_recreates)
    row("game's pipeline state changed by Present", str(mismatches), "0", mismatches == 0)

    timeouts = with_run.starting("timeout")
    equips = (int(with_run.fields("equips end").get("calls", 0)))
    row("combinations answered within 10 s", "%d equips, %d timeouts" % (equips, len(timeouts)),
        "0 timeouts", not timeouts and equips > 0)

    warm, end = handles_held(with_run, "warmup"), handles_held(with_run, "end")
    growth = {k: end[k][2] - warm[k][2] for k in end if k in warm}
    used = [k for k in end if end[k][0] or end[k][1]]
    opened = sum(end[k][0] for k in end)
    closed = sum(end[k][1] for k in end)
    held = ", ".join("%s %d->%d" % (k, warm[k][2], end[k][2]) for k in used if k in warm)
    row("DLL handles opened / closed; held warm-up->end",
        "%d / %d; %s" % (opened, closed, held or "none"), "no growth",
        bool(warm) and bool(end) and all(g <= 0 for g in growth.values()))

    counted_line = with_run.starting("handles counting")
    counted = set(counted_line[0].split(":", 1)[1].split()) if counted_line else set()
    uncounted = sorted(n for n in dll_imports(build) if HANDLE_IMPORT.match(n) and n not in counted)
    row("DLL's handle-making imports counted", "%d counted%s" % (
        len(counted), "; not counted: " + " ".join(uncounted) if uncounted else ""),
        "all", bool(counted) and not uncounted)

    allocs = with_run.starting("allocations after-warmup ")
    allocations = int(allocs[0].split()[-1]) if allocs else -1
    changes = (int(with_run.fields("equips end").get("changes", 0)) -
               int(with_run.fields("equips warmup").get("changes", 0)))
    late_recreates = with_run.after("equips warmup").count("recreate ok")
    # One pixel buffer per image loaded: the icon on each change, and the
    # background and icon again for each new device.
    bound = changes + 2 * late_recreates
    row("DLL heap allocations after warm-up", str(allocations),
        "<= %d (%d icons, %d devices)" % (bound, changes, late_recreates),
        0 <= allocations <= bound)

    # Every texture, view, state, shader and buffer the DLL made and that was
    # not destroyed, counted by the simulator between two frames.
    objects = [with_run.fields("d3dobjects " + label) for label in ("warmup", "end")]
    totals = [o.get("total") for o in objects]
    row("overlay's live Direct3D objects warm-up -> end",
        "%s -> %s%s" % (totals[0] or "?", totals[1] or "?", "".join(
            " %s %s->%s" % (k, objects[0][k], objects[1].get(k, "?"))
            for k in objects[0] if k != "total" and objects[0][k] != objects[1].get(k))),
        "equal", None not in totals and totals[0] == totals[1])

    oldrefs = with_run.starting("oldrefs ")
    kept = [line for line in oldrefs if line.split()[-1] != "0"]
    row("old devices destroyed after re-creation",
        "%d of %d" % (len(oldrefs) - len(kept), len(oldrefs)), "all", bool(oldrefs) and not kept)

    def growth_of(run):
        warm_mem, end_mem = run.fields("memory warmup"), run.fields("memory end")
        if "private" not in warm_mem or "private" not in end_mem:
            return None
        return int(end_mem["private"]) - int(warm_mem["private"])

    grown, inert_grown = growth_of(with_run), growth_of(inert_run)
    ok = grown is not None and inert_grown is not None and grown <= inert_grown + MARGIN_BYTES
    row("private bytes growth after warm-up: with / inert",
        "%s / %s" % (mib(grown) if grown is not None else "?",
                     mib(inert_grown) if inert_grown is not None else "?"),
        "<= inert %s" % mib(MARGIN_BYTES), ok)

    count, bad, first = check_log(read(with_dir, "artwheel_log.txt"))
    viewers = with_run.fields("logviewers")
    row("log lines complete (stamp, origin, CR LF), none mixed",
        "%d of %d%s; %s viewer holds" % (count - bad if bad <= count else 0, count,
                                        ": " + first if first else "", viewers.get("opened", "?")),
        "all", bad == 0 and count > 0)

    slots = ini_slots(read(with_dir, "artwheel.ini"))
    want = {k: str(v) for k, v in expected_slots.items()}
    got = {k: slots.get(k, "") for k in SLOTS}
    row("artwheel.ini slots = last assignments",
        " ".join("%s=%s" % (k, got[k]) for k in SLOTS) +
        ("" if got == want else " (want %s)" % " ".join("%s=%s" % (k, want[k]) for k in SLOTS)),
        "equal", got == want)

    frames = int(render.get("frames", 0))
    played = int(with_run.fields("clock end").get("ms", 0)) / 1000 or seconds
    print()
    print("soak: %.1f min played on %s, %d frames (%.0f/s), %d equips, %d resizes, "
          "%d re-creations" % (played / 60, os.environ.get("ARTWHEEL_D3D", "wined3d"), frames,
                               frames / played, equips, len(resizes), len(recreates)))
    widths = [max(len(r[i]) for r in rows + [("check", "measured", "limit", "")])
              for i in range(3)]
    print("%-*s  %-*s  %-*s  %s" % (widths[0], "check", widths[1], "measured", widths[2],
                                    "limit", "result"))
    for r in rows:
        print("%-*s  %-*s  %-*s  %s" % (widths[0], r[0], widths[1], r[1], widths[2], r[2], r[3]))
    failed = [r for r in rows if r[3] == "FAIL"]
    print("soak: %s" % ("FAILED (%d lines)" % len(failed) if failed else "passed"))
    return not failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("minutes", type=float, nargs="?", default=10.0)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--work", help="folder of the two runs (default: BUILD/soak)")
    parser.add_argument("--reload-every", type=float, default=0.0, metavar="SECONDS")
    args = parser.parse_args()
    seconds = args.minutes * 60
    build = os.path.abspath(args.build)
    work = os.path.abspath(args.work or os.path.join(build, "soak"))
    with_dir, inert_dir = os.path.join(work, "with"), os.path.join(work, "inert")
    timeline, expected = plan(seconds, inert=False, reload_every=args.reload_every)
    inert_timeline, _ = plan(seconds, inert=True, reload_every=args.reload_every)
    reloads = args.reload_every > 0
    prepare(with_dir, build, "sekiro.exe", timeline.script(), reloads)
    prepare(inert_dir, build, "game.exe", inert_timeline.script(), reloads)
    print("soak: %.1f min in %s (with artwheel) and %s (inert, as game.exe)" % (
        args.minutes, with_dir, inert_dir), flush=True)
    runs = [start(with_dir, build, "sekiro.exe", seconds),
            start(inert_dir, build, "game.exe", seconds)]
    codes = [run.wait() for run in runs]
    ok = evaluate(with_dir, Results(with_dir, codes[0]), Results(inert_dir, codes[1]), build,
                  seconds, expected)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
