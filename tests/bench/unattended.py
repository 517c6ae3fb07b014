#!/usr/bin/python3
"""Wall time of the unattended run against a libc-only program doing the same file work.

Usage: unattended.py BUILD-DIR [RUNS [WIZARD]]   (a Release build with -DTESSALY_BENCHMARKS=ON;
WIZARD replaces the build's program, to measure another version)
The two programs run alternately, so a change in the machine's load hits both alike; the
medians and their ratio are printed.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MODULE = (b'[Module]\r\nModuleName = "Scope 9"\r\nModelCode = 0x1234\r\nManufCode = 0xABCD\r\n'
          b'VISARegistration = Scope9\r\n[Scope9]\r\nNumDetectSequences = 1\r\n'
          b'InterruptDetect0 = "C16 BAR0 0x00000010 0xFFFF 0x0001;"\r\n')


def main():
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    wizard = (os.path.abspath(sys.argv[3]) if len(sys.argv) > 3
              else os.path.join(build, "app", "tessaly-wizard"))
    floor = os.path.join(build, "tests", "bench", "libc_writer")
    with tempfile.TemporaryDirectory() as temp:
        module = os.path.join(temp, "module.ini")
        with open(module, "wb") as f:
            f.write(MODULE)
        windows = os.path.join(temp, "windows")
        inf = os.path.join(windows, "inf")
        os.makedirs(inf)
        # No display: the run must not need one.
        env = {"PATH": "/usr/bin:/bin", "HOME": os.path.join(temp, "home"),
               "TESSALY_WINDOWS_DIR": windows}
        wizard_command = [wizard, module, "/SilentAutoInstall"]
        subprocess.run(wizard_command, env=env, check=True)
        out = os.path.join(temp, "home", "vxipnp", "winnt", "Scope9")
        reference = os.path.join(temp, "reference")
        shutil.copytree(out, reference)
        floor_command = [floor, module, reference, out, inf]

        times = {"wizard": [], "libc": []}
        for _ in range(runs):
            for name, command in (("wizard", wizard_command), ("libc", floor_command)):
                start = time.perf_counter()
                subprocess.run(command, env=env, check=True)
                times[name].append((time.perf_counter() - start) * 1000)
        wizard_ms = statistics.median(times["wizard"])
        libc_ms = statistics.median(times["libc"])
        print(f"unattended run: median {wizard_ms:.2f} ms over {runs} runs")
        print(f"libc-only floor: median {libc_ms:.2f} ms over {runs} runs")
        print(f"ratio: {wizard_ms / libc_ms:.2f}")


if __name__ == "__main__":
    main()
