#!/usr/bin/python3
"""Wall time of one --output run over many module files against one run per file.

Usage: batch.py BUILD-DIR [MODULES [ROUNDS [WIZARD [BASELINE]]]]   (a Release build; WIZARD
replaces the build's program, to measure another version; BASELINE, another version whose
batch is timed in the same rounds, side by side)
Writes MODULES (1000) module files with distinct prefixes, then times, ROUNDS (5) times and
alternately, `tessaly-wizard --output DIR m0000.ini ... m0999.ini` and the loop a build script
without the batch would run, `tessaly-wizard --output DIR mNNNN.ini` for each file. Both write
into a fresh folder on the same disk; both leave the same files. Prints the medians and their
ratio.
"""
import filecmp
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def module(i):
    return (f'[Module]\r\nModuleName = "Scope {i}"\r\nModuleVendor = "Acme"\r\n'
            f'ModelCode = 0x{i:04X}\r\nManufCode = 0xABCD\r\nVISARegistration = Scope{i:04d}\r\n'
            f'[Scope{i:04d}]\r\nNumDetectSequences = 1\r\n'
            f'InterruptDetect0 = "C16 BAR0 0x00000010 0xFFFF 0x0001;"\r\n'
            f'InterruptQuiesce = "W16 BAR0 0x00000010 0x0001;"\r\n').encode()


def same_trees(a, b):
    compare = filecmp.dircmp(a, b)
    if compare.left_only or compare.right_only or compare.diff_files or compare.funny_files:
        return False
    return all(same_trees(os.path.join(a, d), os.path.join(b, d)) for d in compare.common_dirs)


def main():
    build = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    wizard = (os.path.abspath(sys.argv[4]) if len(sys.argv) > 4 and sys.argv[4]
              else os.path.join(build, "app", "tessaly-wizard"))
    baseline = os.path.abspath(sys.argv[5]) if len(sys.argv) > 5 else None
    # Beside the build, on the disk a build writes to (a tmpfs /tmp would hide the flushes).
    with tempfile.TemporaryDirectory(dir=build) as temp:
        files = []
        for i in range(count):
            path = os.path.join(temp, f"m{i:04d}.ini")
            with open(path, "wb") as f:
                f.write(module(i))
            files.append(path)
        # No display, no registry: as a build machine runs it.
        env = {"PATH": "/usr/bin:/bin", "HOME": os.path.join(temp, "home")}
        batch_out = os.path.join(temp, "batch")
        single_out = os.path.join(temp, "single")

        def batch(program=wizard):
            subprocess.run([program, "--output", batch_out, *files], env=env, check=True)

        def single():
            for path in files:
                subprocess.run([wizard, "--output", single_out, path], env=env, check=True)

        runs = [("batch", batch, batch_out), ("single", single, single_out)]
        if baseline:
            runs.append(("baseline", lambda: batch(baseline), batch_out))
        times = {name: [] for name, _, _ in runs}
        for _ in range(rounds):
            for name, run, out in runs:
                shutil.rmtree(out, ignore_errors=True)
                subprocess.run(["sync"], check=True)
                start = time.perf_counter()
                run()
                times[name].append(time.perf_counter() - start)
        if not same_trees(batch_out, single_out) or len(os.listdir(batch_out)) != count:
            sys.exit("the batch and the single runs wrote different files")
        single_s = statistics.median(times["single"])
        for name, label in (("batch", "in one run"), ("single", "in single runs"),
                            ("baseline", "in one run of the baseline")):
            if name in times:
                median = statistics.median(times[name])
                print(f"{count} modules {label}: median {median:.2f} s over {rounds} rounds "
                      f"({median / count * 1000:.2f} ms a module, {median / single_s:.2f}x "
                      f"the single runs)")


if __name__ == "__main__":
    main()
