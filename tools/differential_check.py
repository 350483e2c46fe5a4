#!/usr/bin/python3
"""Runs two marlint binaries on the same point files and compares them.

The files come from the point file generator (tools/generate_point_files,
built by the test preset as build/debug/tools/generate_point_files): valid
files and files with one fault of every kind, in batches written to a
scratch folder and removed again. Folders given with --also (the fuzz
corpus, the faulty examples) are checked too.

For every file both binaries run as `marlint FILE`, and the result text on
standard error and the exit status must be the same byte for byte; every
tenth file is also checked through standard input (`marlint - < FILE`) and
with a result file (`marlint FILE RESULT`). The first differences are copied
to --failures and printed; the exit status is 1 when there was any.

  /usr/bin/python3 tools/differential_check.py OLD NEW \\
      --generator build/debug/tools/generate_point_files --cases 100000
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

# The generator writes one valid file and one file per fault kind per round.
FILES_PER_ROUND = 21
ROUNDS_PER_BATCH = 250
MAX_REPORTED = 10


def outcome_by_name(binary, path):
    completed = subprocess.run([binary, path], capture_output=True, check=False)
    return completed.stderr, completed.stdout, completed.returncode


def outcome_from_stdin(binary, path):
    with open(path, "rb") as stdin:
        completed = subprocess.run([binary, "-"], stdin=stdin, capture_output=True, check=False)
    return completed.stderr, completed.stdout, completed.returncode


def outcome_with_result_file(binary, path, scratch):
    result = os.path.join(scratch, "result")
    if os.path.exists(result):
        os.remove(result)
    completed = subprocess.run([binary, path, result], capture_output=True, check=False)
    with open(result, "rb") as written:
        text = written.read()
    return text, completed.stderr, completed.stdout, completed.returncode


class Comparison:
    def __init__(self, old, new, failures):
        self.old = old
        self.new = new
        self.failures = failures
        self.files = 0
        self.runs = 0
        self.differences = 0

    def check(self, path, scratch, thorough):
        self.files += 1
        ways = [("by name", lambda binary: outcome_by_name(binary, path))]
        if thorough:
            ways.append(("from standard input", lambda binary: outcome_from_stdin(binary, path)))
            ways.append(("with a result file",
                         lambda binary: outcome_with_result_file(binary, path, scratch)))
        for way, run in ways:
            self.runs += 1
            old, new = run(self.old), run(self.new)
            if old != new:
                self.report(path, way, old, new)

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
    parser.add_argument("--failures", default=os.path.join("build", "differential-failures"),
                        help="where differing files are kept")
    args = parser.parse_args()

    comparison = Comparison(os.path.abspath(args.old), os.path.abspath(args.new), args.failures)
    with tempfile.TemporaryDirectory() as scratch:
        folders = list(args.also)
        for folder in folders:
            for name in sorted(os.listdir(folder)):
                path = os.path.join(folder, name)
                if os.path.isfile(path):
                    comparison.check(path, scratch, thorough=True)
        for folder in generated_batches(args.generator, args.cases, args.seed, scratch):
            for index, name in enumerate(sorted(os.listdir(folder))):
                comparison.check(os.path.join(folder, name), scratch, thorough=index % 10 == 0)
            print(f"{comparison.files} files, {comparison.runs} runs per binary, "
                  f"{comparison.differences} differences", flush=True)

    print(f"Compared {comparison.files} files ({comparison.runs} runs of each binary): "
          f"{comparison.differences} differences.")
    return 1 if comparison.differences else 0


if __name__ == "__main__":
    sys.exit(main())
