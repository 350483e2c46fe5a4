#!/usr/bin/python3
"""Runs two marlint binaries on the same point files and compares them.

The files come from the point file generator (tools/generate_point_files,
built by the test preset as build/debug/tools/generate_point_files): valid
files and files with one fault of every kind, every number column written
in many spellings, in batches written to a scratch folder and removed again.
Folders given with --also (the fuzz corpus, the faulty examples) are checked
too.

For every file the old binary runs as `marlint FILE`, and the new one must
give the same result text on standard error and the same exit status byte
for byte: as `marlint FILE`, and with each option set (--locate, --all,
--json, --all --json), since options only add a report on standard output.
That report must agree with the result text: empty for "OK", otherwise one
line (a line per fault with --all), and with --json lines of JSON whose
"message" is the result text. Every file is also checked with a result file
(`marlint [OPTIONS] FILE RESULT`, the option set taking turns), and every
tenth through standard input (`marlint - < FILE`). The first differences
are copied to --failures and printed; the exit status is 1 when there was
any.

NEW may be started through another program (--new-launcher wine, for the
Windows build), and its reports held byte for byte to those of a third
build (--report-reference, the native build), since OLD may be a version
without reports.

  /usr/bin/python3 tools/differential_check.py OLD NEW \\
      --generator build/debug/tools/generate_point_files --cases 100000
  /usr/bin/python3 tools/differential_check.py OLD build/windows/marlint.exe \\
      --new-launcher wine --report-reference build/debug/marlint \\
      --generator build/debug/tools/generate_point_files --cases 200
"""

import argparse
import concurrent.futures
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import threading

# The generator writes one valid file and one file per fault kind per round.
FILES_PER_ROUND = 21
ROUNDS_PER_BATCH = 250
MAX_REPORTED = 10
OPTION_SETS = [["--locate"], ["--all"], ["--json"], ["--all", "--json"], ["--fix={fixed}"],
               ["--diff"]]


def expanded(options, scratch):
    """`options` with the fixed file of --fix in `scratch`, one per thread."""
    fixed = os.path.join(scratch, f"fixed-{threading.get_ident()}.csv")
    return [option.replace("{fixed}", fixed) for option in options]


# Runs that a launcher failed to start and that were started again.
RESTARTS = []


def run(command, arguments, stdin_path=None, launched=False):
    """Standard error, standard output and exit status of one run of the
    `command` (a list: the program, after what starts it) with `arguments`.
    marlint ends with 0 or 255, and writes its result text or its usage
    unless it has a result file: a `launched` run that ends otherwise with
    nothing written is the launcher's failure (Wine's, rarely, on a loaded
    machine), and is started once more."""
    if stdin_path is None:
        completed = subprocess.run(command + arguments, stdin=subprocess.DEVNULL,
                                   capture_output=True, check=False)
    else:
        with open(stdin_path, "rb") as stdin:
            completed = subprocess.run(command + arguments, stdin=stdin, capture_output=True,
                                       check=False)
    outcome = completed.stderr, completed.stdout, completed.returncode
    if launched and outcome[2] not in (0, 255) and outcome[:2] == (b"", b""):
        RESTARTS.append(command + arguments)
        return run(command, arguments, stdin_path)
    return outcome


def run_with_result_file(command, arguments, path, result, launched=False):
    """The result file, standard error, standard output and exit status."""
    if os.path.exists(result):
        os.remove(result)
    stderr, stdout, status = run(command, arguments + [path, result], launched=launched)
    with open(result, "rb") as written:
        return written.read(), stderr, stdout, status


def as_json_text(raw):
    """The text JSON gives for `raw` bytes: well-formed UTF-8 as it is, any
    other byte as the code point of its value."""
    return "".join(chr(ord(c) - 0xDC00) if 0xDC80 <= ord(c) <= 0xDCFF else c
                   for c in raw.decode("utf-8", "surrogateescape"))


def report_problem(options, result_text, report):
    """What is wrong with the report of a run with `options`, or None. Notes
    (lines left unchecked after an empty line) may follow the faults; they
    never change the result text."""
    if any(option.startswith("--fix") or option == "--diff" for option in options):
        # What is fixed and what is left in the fixed file: only the result
        # text, the result file and the status are held to the old build.
        return None
    if report == b"":
        return None if result_text == b"OK" else "no report for a fault"
    if not report.endswith(b"\n"):
        return "a report without a line end"
    lines = report[:-1].split(b"\n")
    if "--json" in options:
        try:
            records = [json.loads(line.decode("utf-8")) for line in lines]
            severities = [record["severity"] for record in records]
            messages = [record["message"] for record in records if record["severity"] == "error"]
        except (ValueError, KeyError, TypeError) as error:
            return f"a report line that is not a fault in JSON ({error})"
    else:
        severities = ["note" if b": note: " in line else
                      "error" if b": error: " in line else "?" for line in lines]
        messages = None
    if "?" in severities:
        return "a report line that is neither ': error: ' nor ': note: '"
    errors = severities.count("error")
    if severities != ["error"] * errors + ["note"] * (len(severities) - errors):
        return "a note before a fault"
    if result_text == b"OK":
        return None if errors == 0 else "a fault reported for an acceptable file"
    if errors == 0 or ("--all" not in options and errors != 1):
        return f"{errors} faults reported for one result text"
    if messages is not None and as_json_text(result_text) not in messages:
        return "no fault in the report has the result text as its message"
    return None


class Comparison:
    def __init__(self, old, new, failures, report_reference=None):
        self.old = old
        self.new = new
        self.new_launched = len(new) > 1
        self.report_reference = report_reference
        self.failures = failures
        self.files = 0
        self.runs = 0
        self.differences = 0
        self.lock = threading.Lock()

    def check(self, path, scratch, index, thorough):
        """Compares both binaries on one file; `index` picks the option set
        of the result file run."""
        problems = []
        runs = 0
        old = run(self.old, [path])
        for options in [[]] + OPTION_SETS:
            options = expanded(options, scratch)
            new = run(self.new, options + [path], launched=self.new_launched)
            runs += 1
            report = new[1]
            if options and self.report_reference:
                report = run(self.report_reference, options + [path])[1]
            wanted = old if not options else (old[0], report, old[2])
            if new != wanted:
                problems.append((" ".join(options) or "plain", old, new))
            elif options and report_problem(options, new[0], new[1]):
                problems.append((" ".join(options) + ": " +
                                 report_problem(options, new[0], new[1]), old, new))

        result = os.path.join(scratch, f"result-{threading.get_ident()}")
        file_options = expanded(OPTION_SETS[index % len(OPTION_SETS)], scratch)
        old_file = run_with_result_file(self.old, [], path, result)
        new_file = run_with_result_file(self.new, file_options, path, result,
                                        launched=self.new_launched)
        runs += 2
        wanted_report = new_file[2]
        if self.report_reference:
            wanted_report = run_with_result_file(self.report_reference, file_options, path,
                                                 result)[2]
        if ((new_file[0], new_file[1], new_file[2], new_file[3]) !=
                (old_file[0], old_file[1], wanted_report, old_file[3])):
            problems.append((" ".join(file_options) + " with a result file", old_file, new_file))
        elif report_problem(file_options, new_file[0], new_file[2]):
            problems.append((" ".join(file_options) + " with a result file: " +
                             report_problem(file_options, new_file[0], new_file[2]),
                             old_file, new_file))

        if thorough:
            old_in = run(self.old, ["-"], stdin_path=path)
            new_in = run(self.new, ["-"], stdin_path=path, launched=self.new_launched)
            old_plain_file = run_with_result_file(self.old, [], path, result)
            new_plain_file = run_with_result_file(self.new, [], path, result,
                                                  launched=self.new_launched)
            runs += 4
            if old_in != new_in:
                problems.append(("from standard input", old_in, new_in))
            if old_plain_file != new_plain_file:
                problems.append(("with a result file", old_plain_file, new_plain_file))

        with self.lock:
            self.files += 1
            self.runs += runs
            for way, old_outcome, new_outcome in problems:
                self.report(path, way, old_outcome, new_outcome)

    def report(self, path, way, old, new):
        self.differences += 1
        if self.differences > MAX_REPORTED:
            return
        os.makedirs(self.failures, exist_ok=True)
        kept = os.path.join(self.failures, f"difference-{self.differences}.csv")
        shutil.copyfile(path, kept)
        print(f"DIFFERENT {way}: {kept}\n  old: {old!r}\n  new: {new!r}", file=sys.stderr)


def generated_batches(generator, cases, seed, scratch):
    """Yields folders of generated files, at least `cases` files in all."""
    rounds_left = -(-cases // FILES_PER_ROUND)
    batch = 0
    while rounds_left > 0:
        rounds = min(ROUNDS_PER_BATCH, rounds_left)
        folder = os.path.join(scratch, f"batch-{batch}")
        os.makedirs(folder)
        subprocess.run([generator, folder, str(rounds), str(seed + batch), "--no-expected"],
                       check=True)
        yield folder
        shutil.rmtree(folder)
        rounds_left -= rounds
        batch += 1


def check_folder(comparison, pool, folder, scratch, every_file_thorough):
    paths = [os.path.join(folder, name) for name in sorted(os.listdir(folder))]
    paths = [path for path in paths if os.path.isfile(path)]
    jobs = [pool.submit(comparison.check, path, scratch, index,
                        every_file_thorough or index % 10 == 0)
            for index, path in enumerate(paths)]
    for job in jobs:
        job.result()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("old", help="the binary whose results are taken as right")
    parser.add_argument("new", help="the binary that must give the same results")
    parser.add_argument("--generator", required=True, help="the point file generator binary")
    parser.add_argument("--cases", type=int, default=100_000,
                        help="generated files to check (default: 100000)")
    parser.add_argument("--seed", type=int, default=1, help="first generator seed (default: 1)")
    parser.add_argument("--also", nargs="*", default=[],
                        help="folders whose files are checked too")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1,
                        help="files checked at once (default: the number of processors)")
    parser.add_argument("--failures", default=os.path.join("build", "differential-failures"),
                        help="where differing files are kept")
    parser.add_argument("--new-launcher", default="",
                        help="the program that starts NEW, with its arguments: wine")
    parser.add_argument("--report-reference",
                        help="a binary whose reports NEW's must equal byte for byte")
    args = parser.parse_args()

    reference = [os.path.abspath(args.report_reference)] if args.report_reference else None
    comparison = Comparison([os.path.abspath(args.old)],
                            shlex.split(args.new_launcher) + [os.path.abspath(args.new)],
                            args.failures, reference)
    with tempfile.TemporaryDirectory() as scratch, \
            concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        for folder in args.also:
            check_folder(comparison, pool, folder, scratch, every_file_thorough=True)
        for folder in generated_batches(args.generator, args.cases, args.seed, scratch):
            check_folder(comparison, pool, folder, scratch, every_file_thorough=False)
            print(f"{comparison.files} files, {comparison.runs} runs in all, "
                  f"{comparison.differences} differences", flush=True)

    print(f"Compared {comparison.files} files ({comparison.runs} runs of the two binaries): "
          f"{comparison.differences} differences.")
    for restarted in RESTARTS:
        print(f"Started again after the launcher failed: {shlex.join(restarted)}")
    return 1 if comparison.differences else 0


if __name__ == "__main__":
    sys.exit(main())
