#!/usr/bin/python3
"""Times marlint as a whole process on generated point files.

Builds the release preset (unless --binary names a binary), writes point
files of 100, 100,000 and 1,000,000 rows (each once acceptable and once with
a duplicate name in the last row) and prints, per file, the median wall time
of marlint and of a baseline command run on the same file in the same
session, the peak memory (maximum resident set size), and the ratios:

  100 rows:        marlint time / `cat FILE` time
  1,000,000 rows:  marlint time / `wc -l FILE` time, peak memory / file size
  scaling:         time on 1,000,000 rows / time on 100,000 rows

Timed runs are started directly with posix_spawn and reaped with wait4, so
no shell or wrapper is timed. Peak memory comes from separate runs under GNU
time (/usr/bin/time -f %M): a child spawned from this Python process would
report Python's own resident size as its peak. No result is asserted beyond
checking that marlint gives the expected result text once per file.
"""

import argparse
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate_points  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZES = [100, 100_000, 1_000_000]
# Runs per file; the median is reported. Small files need many runs to beat
# the noise of process start-up on a shared machine.
RUNS = {100: 201, 100_000: 15, 1_000_000: 9}
MEMORY_RUNS = 3


def spawn_and_time(argv):
    """Runs argv with all output discarded; returns (seconds, exit status)."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    try:
        actions = [
            (os.POSIX_SPAWN_DUP2, devnull, 1),
            (os.POSIX_SPAWN_DUP2, devnull, 2),
        ]
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
        _, status, _ = os.wait4(pid, 0)
        elapsed = time.perf_counter() - start
    finally:
        os.close(devnull)
    return elapsed, os.waitstatus_to_exitcode(status)


def peak_memory_kib(argv):
    """Maximum resident set size of argv in KiB, the median of a few runs."""
    samples = []
    for _ in range(MEMORY_RUNS):
        with tempfile.NamedTemporaryFile("r") as report:
            subprocess.run(
                ["/usr/bin/time", "-f", "%M", "-o", report.name] + argv,
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
                check=False,
            )
            samples.append(int(report.read().split()[-1]))
    return statistics.median(samples)


def result_text_of(binary, path):
    completed = subprocess.run([binary, path], capture_output=True, check=False)
    return completed.stderr.decode("ascii", "replace"), completed.returncode


def timed_pair(binary, baseline, path, runs):
    """Median seconds of marlint and of the baseline, run alternately."""
    ours, theirs = [], []
    for _ in range(runs):
        ours.append(spawn_and_time([binary, path])[0])
        theirs.append(spawn_and_time(baseline + [path])[0])
    return statistics.median(ours), statistics.median(theirs)


def build_release():
    subprocess.run(
        ["cmake", "--workflow", "--preset", "release"],
        cwd=REPO,
        check=True,
        stdout=subprocess.DEVNULL,
    )
    return os.path.join(REPO, "build", "release", "marlint")


def machine_description():
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo", encoding="ascii", errors="replace") as info:
            for line in info:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    load = " ".join(f"{value:.2f}" for value in os.getloadavg())
    return (
        f"{model}, {os.cpu_count()} cores, {platform.system()} {platform.release()}; "
        f"load average before the run: {load}"
    )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", help="marlint binary to time (default: build the release preset)")
    parser.add_argument("--data-dir", default=os.path.join(REPO, "build", "bench"),
                        help="where the generated point files are kept (default: build/bench)")
    args = parser.parse_args()
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("Peak memory needs GNU time: apt-get install time")

    print(f"Machine: {machine_description()}")
    binary = os.path.abspath(args.binary) if args.binary else build_release()
    os.makedirs(args.data_dir, exist_ok=True)

    results = {}
    for rows in SIZES:
        for duplicate in (False, True):
            name = f"points_{rows}{'_duplicate' if duplicate else ''}.csv"
            path = os.path.join(args.data_dir, name)
            expected = generate_points.write_point_file(path, rows, duplicate)
            text, status = result_text_of(binary, path)
            if text != expected:
                sys.exit(f"{name}: marlint said {text!r} (status {status}), expected {expected!r}")
            baseline = ["/usr/bin/cat"] if rows == SIZES[0] else ["/usr/bin/wc", "-l"]
            ours, theirs = timed_pair(binary, baseline, path, RUNS[rows])
            results[(rows, duplicate)] = {
                "size": os.path.getsize(path),
                "time": ours,
                "baseline": os.path.basename(baseline[0]) + (" -l" if len(baseline) > 1 else ""),
                "baseline_time": theirs,
                "peak_kib": peak_memory_kib([binary, path]),
            }

    print()
    print("| rows | last row | file size | marlint (median) | baseline (median) | time ratio "
          "| peak memory | memory / file size |")
    print("|---:|---|---:|---:|---:|---:|---:|---:|")
    for (rows, duplicate), r in results.items():
        peak_bytes = r["peak_kib"] * 1024
        print(
            f"| {rows:,} | {'duplicate name' if duplicate else 'acceptable'} "
            f"| {r['size'] / 1e6:.2f} MB | {r['time'] * 1e3:.2f} ms "
            f"| `{r['baseline']}` {r['baseline_time'] * 1e3:.2f} ms "
            f"| {r['time'] / r['baseline_time']:.2f} x "
            f"| {peak_bytes / 1e6:.1f} MB | {peak_bytes / r['size']:.2f} x |"
        )
    print()
    for duplicate in (False, True):
        ratio = results[(SIZES[2], duplicate)]["time"] / results[(SIZES[1], duplicate)]["time"]
        label = "duplicate name in the last row" if duplicate else "acceptable files"
        print(f"Scaling, {label}: time on 1,000,000 rows / time on 100,000 rows = {ratio:.2f} x")
    print()
    print("Targets: 100 rows <= 1.0 x cat; 1,000,000 rows <= 15 x wc -l and "
          "peak memory <= 1.5 x file size; scaling <= 11 x.")


if __name__ == "__main__":
    main()
