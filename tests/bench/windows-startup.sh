#!/usr/bin/env bash
# windows-startup.sh <win64 build> [runs]
# Start-up of the wizard under Wine against the floor of a bare one-page property sheet built by
# the same toolchain (tests/bench/win32/BareSheet): each program runs `runs` times (default 15),
# alternating, and each run is timed from process start to exit. The wizard is started with
# TESSALY_STARTUP_PROBE=1, so it closes as soon as its first page is shown; the bare sheet
# always does. One Wine server is kept running (wineserver -p) on one Xvfb display, with one
# virtual desktop kept open by a notepad, so only the program's own start counts: without a
# window manager Wine waits 2 s for each closed top-level window to be withdrawn, and a desktop
# with no window left closes. Prints the medians and their ratio.
set -euo pipefail
build=$(realpath "$1")
runs=${2:-15}
wizard=$build/app/tessaly-wizard.exe
bare=$build/tests/bench/win32/BareSheet.exe
[ -f "$wizard" ] && [ -f "$bare" ] || { echo "build $build has no $wizard or $bare" >&2; exit 1; }
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all LANG=C.UTF-8
unset LC_ALL
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "${xvfb:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wineserver -k 2>/dev/null || true
cp -a "$build/wine-prefix" "$WINEPREFIX"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
# Read when the server starts its desktop: set, then a new server.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -w
wineserver -p
"$wine" notepad >/dev/null 2>&1 &
timeout 30 xdotool search --sync --limit 1 --name 'Notepad' >/dev/null
python3 - "$wine" "$wizard" "$bare" "$runs" <<'PY'
import os, re, statistics, subprocess, sys, tempfile, time

wine, wizard, bare, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
probe = dict(os.environ, TESSALY_STARTUP_PROBE="1")

# Output goes to a file, not a pipe: the desktop process Wine starts inherits the handles and
# would keep a pipe open after the program has exited.
def run(program, env):
    with tempfile.TemporaryFile("w+") as out:
        start = time.perf_counter()
        code = subprocess.run([wine, program], env=env, stdin=subprocess.DEVNULL, stdout=out,
                              stderr=subprocess.DEVNULL, timeout=60).returncode
        elapsed = (time.perf_counter() - start) * 1000
        out.seek(0)
        if code != 0:
            sys.exit(f"{program} exited with {code}")
        return elapsed, out.read()

# One unmeasured run each: the server's first start of the desktop and fonts is not theirs.
run(wizard, probe)
run(bare, os.environ)
times = {"wizard": [], "bare": []}
shown = []
for _ in range(runs):
    elapsed, out = run(wizard, probe)
    found = re.search(r"first page shown after ([0-9.]+) ms", out)
    if not found:
        sys.exit(f"the wizard did not report its first page: {out!r}")
    times["wizard"].append(elapsed)
    shown.append(float(found.group(1)))
    times["bare"].append(run(bare, os.environ)[0])

wizard_ms = statistics.median(times["wizard"])
bare_ms = statistics.median(times["bare"])
print(f"runs: {runs} each, alternating")
print(f"tessaly-wizard.exe  median {wizard_ms:7.1f} ms  (min {min(times['wizard']):.1f}, "
      f"max {max(times['wizard']):.1f}; first page shown after {statistics.median(shown):.1f} ms "
      "of its own clock)")
print(f"BareSheet.exe       median {bare_ms:7.1f} ms  (min {min(times['bare']):.1f}, "
      f"max {max(times['bare']):.1f})")
print(f"ratio {wizard_ms / bare_ms:.2f}x (target at most 1.5x)")
PY
