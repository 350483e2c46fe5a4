#!/usr/bin/python3
"""Times marlint as a whole process on generated point files.

Builds the release preset (unless --binary names a binary), writes point
files of 100, 100,000 and 1,000,000 rows (each once acceptable and once with
a duplicate name in the last row) and prints, per file, the median wall time
of marlint and of a baseline command run on the same file in the same
session, the peak memory (maximum resident set size), and the ratios:

  100 rows:        marlint time / `cat FILE` time
  larger files:    marlint time / `wc -l FILE` time
  --baseline:      marlint time / the time of an older marlint binary
  standard input:  time of `cat FILE | marlint -` / time of `marlint FILE`
  memory:          bytes per row above the peak of a run on an empty file
  scaling:         time on 1,000,000 rows / time on 100,000 rows

With a binary that accepts `--all` it also times `marlint --all FILE` on a
file of 1,000,000 rows that are all faulty (one report line per fault on
standard output), and the baseline's `--all` beside it when it has the
option; a binary without it is noted and skipped.

Timed runs are started directly with posix_spawn and reaped with wait4, so
no shell or wrapper is timed; the commands being compared alternate on the
same file. Peak memory comes from separate runs under GNU time
(/usr/bin/time -f %M): a child spawned from this Python process would report
Python's own resident size as its peak. No result is asserted beyond
checking that each binary gives the expected result text once per file.
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
ALL_FAULTS_ROWS = 1_000_000
# Runs per file; the median is reported. Small files need many runs to beat
# the noise of process start-up on a shared machine.
RUNS = {100: 201, 100_000: 31, 1_000_000: 21}
MEMORY_RUNS = 3
CAT = "/usr/bin/cat"


def spawn_and_time(argv, stdin_from=None):
    """Runs argv with all output discarded; returns (seconds, exit status).

    With `stdin_from`, the command reads its standard input from
    `cat stdin_from` through a pipe, and the time runs until both have ended.
    """
    devnull = os.open(os.devnull, os.O_WRONLY)
    pipe = os.pipe() if stdin_from else None
    try:
        actions = [(os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)]
        start = time.perf_counter()
        feeder = None
        if pipe:
            feeder = os.posix_spawn(CAT, [CAT, stdin_from], os.environ,
                                    file_actions=[(os.POSIX_SPAWN_DUP2, pipe[1], 1),
                                                  (os.POSIX_SPAWN_CLOSE, pipe[0])])
            actions += [(os.POSIX_SPAWN_DUP2, pipe[0], 0), (os.POSIX_SPAWN_CLOSE, pipe[1])]
        pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
        if pipe:
            os.close(pipe[0])
            os.close(pipe[1])
            pipe = None
            os.wait4(feeder, 0)
        _, status, _ = os.wait4(pid, 0)
        elapsed = time.perf_counter() - start
    finally:
        os.close(devnull)
        if pipe:
            os.close(pipe[0])
            os.close(pipe[1])
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


def timed_medians(commands, runs):
    """Median seconds of each (argv, stdin_from) command, run in turn."""
    samples = [[] for _ in commands]
    for _ in range(runs):
        for i, (argv, stdin_from) in enumerate(commands):
            samples[i].append(spawn_and_time(argv, stdin_from)[0])
    return [statistics.median(s) for s in samples]


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


def accepts_all_option(binary):
    """Whether `binary --all FILE` reports faults, and if not, why not.

    The probe runs in a scratch folder: a binary without the option takes
    `--all` for the point file and FILE for its result file, which it
    overwrites.
    """
    with tempfile.TemporaryDirectory() as scratch:
        probe = os.path.join(scratch, "probe.csv")
        content = generate_points.HEADER + "\n" + next(generate_points.faulty_point_rows(1)) + "\n"
        with open(probe, "w", encoding="ascii") as out:
            out.write(content)
        completed = subprocess.run([binary, "--all", probe], capture_output=True, cwd=scratch,
                                   check=False)
        with open(probe, encoding="ascii", errors="replace") as back:
            unchanged = back.read() == content
    error = completed.stderr.decode("ascii", "replace")
    if "usage" in error.lower() or "unknown" in error.lower() or "[point file path]" in error:
        return False, "it answers `--all` with a usage or unknown-option error"
    if not unchanged or not completed.stdout:
        return False, "it takes `--all` for a point file path (no such option)"
    return True, ""


def format_ms(seconds):
    return f"{seconds * 1e3:.2f} ms"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", help="marlint binary to time (default: build the release preset)")
    parser.add_argument("--baseline", help="an older marlint binary to time beside it")
    parser.add_argument("--data-dir", default=os.path.join(REPO, "build", "bench"),
                        help="where the generated point files are kept (default: build/bench)")
    args = parser.parse_args()
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("Peak memory needs GNU time: apt-get install time")

    print(f"Machine: {machine_description()}")
    binary = os.path.abspath(args.binary) if args.binary else build_release()
    old = os.path.abspath(args.baseline) if args.baseline else None
    os.makedirs(args.data_dir, exist_ok=True)

    empty = os.path.join(args.data_dir, "empty.csv")
    open(empty, "w").close()
    empty_peak_kib = peak_memory_kib([binary, empty])

    results = {}
    for rows in SIZES:
        for duplicate in (False, True):
            name = f"points_{rows}{'_duplicate' if duplicate else ''}.csv"
            path = os.path.join(args.data_dir, name)
            expected = generate_points.write_point_file(path, rows, duplicate)
            for checked in [binary] + ([old] if old else []):
                text, status = result_text_of(checked, path)
                if text != expected:
                    sys.exit(f"{name}: {checked} said {text!r} (status {status}), "
                             f"expected {expected!r}")
            reference = [CAT] if rows == SIZES[0] else ["/usr/bin/wc", "-l"]
            commands = [([binary, path], None), (reference + [path], None),
                        ([binary, "-"], path)]
            if old:
                commands.append(([old, path], None))
            medians = timed_medians(commands, RUNS[rows])
            results[(rows, duplicate)] = {
                "size": os.path.getsize(path),
                "time": medians[0],
                "reference": os.path.basename(reference[0]) + (" -l" if len(reference) > 1 else ""),
                "reference_time": medians[1],
                "stdin_time": medians[2],
                "old_time": medians[3] if old else None,
                "peak_kib": peak_memory_kib([binary, path]),
                "old_peak_kib": peak_memory_kib([old, path]) if old and rows == SIZES[-1] else None,
            }

    print()
    print(f"Peak memory on an empty file: {empty_peak_kib / 1024:.1f} MiB")
    print()
    header = "| rows | last row | file size | marlint | reference | time ratio "
    rule = "|---:|---|---:|---:|---:|---:"
    if old:
        header += "| old marlint | new / old "
        rule += "|---:|---:"
    header += "| `cat FILE \\| marlint -` | stdin / by name | peak memory | bytes per row above empty |"
    rule += "|---:|---:|---:|---:|"
    print(header)
    print(rule)
    for (rows, duplicate), r in results.items():
        line = (
            f"| {rows:,} | {'duplicate name' if duplicate else 'acceptable'} "
            f"| {r['size'] / 1e6:.2f} MB | {format_ms(r['time'])} "
            f"| `{r['reference']}` {format_ms(r['reference_time'])} "
            f"| {r['time'] / r['reference_time']:.2f} x "
        )
        if old:
            line += f"| {format_ms(r['old_time'])} | {r['time'] / r['old_time']:.2f} x "
        above = (r["peak_kib"] - empty_peak_kib) * 1024 / rows
        line += (
            f"| {format_ms(r['stdin_time'])} | {r['stdin_time'] / r['time']:.2f} x "
            f"| {r['peak_kib'] / 1024:.1f} MiB | {above:.1f} |"
        )
        print(line)
    if old:
        print()
        for (rows, duplicate), r in results.items():
            if rows == SIZES[-1]:
                print(f"Old marlint, {rows:,} rows, {'duplicate name' if duplicate else 'acceptable'}: "
                      f"peak memory {r['old_peak_kib'] / 1024:.1f} MiB")
    print()
    for duplicate in (False, True):
        ratio = results[(SIZES[2], duplicate)]["time"] / results[(SIZES[1], duplicate)]["time"]
        label = "duplicate name in the last row" if duplicate else "acceptable files"
        print(f"Scaling, {label}: time on 1,000,000 rows / time on 100,000 rows = {ratio:.2f} x")

    print()
    supported, why_not = accepts_all_option(binary)
    if not supported:
        print(f"`marlint --all`: skipped, {why_not}.")
    else:
        path = os.path.join(args.data_dir, f"points_{ALL_FAULTS_ROWS}_all_faulty.csv")
        generate_points.write_faulty_point_file(path, ALL_FAULTS_ROWS)
        old_all = old if old and accepts_all_option(old)[0] else None
        commands = [([binary, "--all", path], None), (["/usr/bin/wc", "-l", path], None)]
        if old_all:
            commands.append(([old_all, "--all", path], None))
        medians = timed_medians(commands, RUNS[ALL_FAULTS_ROWS])
        by_name, reference = medians[0], medians[1]
        peak = peak_memory_kib([binary, "--all", path])
        print(f"`marlint --all FILE`, {ALL_FAULTS_ROWS:,} rows all faulty "
              f"({os.path.getsize(path) / 1e6:.2f} MB): {format_ms(by_name)}, "
              f"{by_name / reference:.2f} x `wc -l` ({format_ms(reference)}), "
              f"peak memory {peak / 1024:.1f} MiB")
        if old_all:
            old_peak = peak_memory_kib([old_all, "--all", path])
            print(f"Old marlint --all on the same file: {format_ms(medians[2])} "
                  f"(new / old {by_name / medians[2]:.2f} x), peak memory {old_peak / 1024:.1f} MiB")

    print()
    print("Targets: 100 rows <= 1.0 x cat; 1,000,000 rows >= 3 x faster than the old binary "
          "and <= 15 x wc -l; peak memory <= 32 bytes per row above the empty-file run; "
          "scaling <= 10.5 x; standard input <= 1.3 x the file by name.")


if __name__ == "__main__":
    main()
