#!/usr/bin/env python3
"""clang-tidy over every source file under src/, with the compile commands of
the clang preset's Windows build (the MinGW target flags the Windows sources
need). A file whose preprocessed text, compile command, configuration and
clang-tidy are the same as at its last clean check is not checked again; the
record of clean checks lives beside the compile commands, so a fresh build
checks every file. Usage: tidy.py [compile_commands.json]"""
import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TIDY = os.environ.get("CLANG_TIDY", "clang-tidy")
# The static analyzer in its shallow mode: it follows every path of each
# function and inlines only small callees. The deep mode cost as much as all
# the other checks together on the files that include the Windows headers.
ANALYZER_ARGS = ["--extra-arg=-Xclang", "--extra-arg=-analyzer-config",
                 "--extra-arg=-Xclang", "--extra-arg=mode=shallow"]


def source_files():
    found = []
    for folder, _, names in os.walk(os.path.join(ROOT, "src")):
        found += [os.path.join(folder, n) for n in names if n.endswith(".cpp")]
    return sorted(found)


def preprocessed(entry):
    """The translation unit as the compiler sees it: headers included."""
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    out = []
    skip = False
    for arg in args:
        if skip:
            skip = False
            continue
        if arg in ("-o", "-MF", "-MT"):
            skip = True
            continue
        if arg in ("-c", "-MD"):
            continue
        out.append(arg)
    run = subprocess.run(out + ["-E", "-P"], cwd=entry["directory"], capture_output=True)
    return run.stdout if run.returncode == 0 else None


def main():
    database = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        ROOT, "build", "clang", "windows", "compile_commands.json")
    with open(database) as f:
        entries = {os.path.realpath(os.path.join(e["directory"], e["file"])): e for e in json.load(f)}
    cache = os.path.join(os.path.dirname(database), "tidy-clean")
    os.makedirs(cache, exist_ok=True)
    with open(os.path.join(ROOT, ".clang-tidy"), "rb") as f:
        config = f.read()
    version = subprocess.run([TIDY, "--version"], capture_output=True).stdout

    files = source_files()
    missing = [f for f in files if os.path.realpath(f) not in entries]
    if missing:
        print("tidy: not in the compile commands (add them to the build):", *missing, sep="\n  ")
        return 1

    # A CI machine starts clean and is thrown away: no record would ever be
    # read again, so the preprocessing that names it is skipped there.
    keep_record = os.environ.get("CI", "") not in ("true", "1")

    def check(path):
        entry = entries[os.path.realpath(path)]
        text = preprocessed(entry) if keep_record else None
        key = None
        if text is not None:
            digest = hashlib.sha256(version + config + json.dumps([entry, ANALYZER_ARGS]).encode() +
                                    text)
            key = os.path.join(cache, digest.hexdigest())
            if os.path.exists(key):
                return path, True, ""
        run = subprocess.run([TIDY, "-p", os.path.dirname(database), "--quiet", *ANALYZER_ARGS, path],
                             capture_output=True, text=True)
        clean = run.returncode == 0 and "warning:" not in run.stdout and "error:" not in run.stdout
        if clean and key is not None:
            open(key, "w").close()
        return path, False, "" if clean else run.stdout + run.stderr

    jobs = int(os.environ.get("ARTWHEEL_TIDY_JOBS", "2"))
    cached = 0
    failed = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for path, from_cache, report in pool.map(check, files):
            cached += from_cache
            if report:
                failed.append(path)
                print(report)
    print(f"tidy: {len(files)} files under src/, {len(files) - cached} checked, "
          f"{cached} unchanged since a clean check, {len(failed)} with findings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
