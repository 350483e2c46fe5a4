#!/usr/bin/env bash
# Holds the manual page to the program: every example result text under
# RESULT MESSAGES must be the result of a faulty example file, every message the sources can produce must have an example, the
# texts under DIAGNOSTICS and the report examples under REPORT must be the
# program's own, and the page's version must be the project's. The page's
# name lists and options are held to the program's tables by
# tests/cli/documentation_test.cpp.
#
# Usage: manual_check.sh MARLINT_BINARY MANUAL_PAGE SOURCE_DIR
set -euo pipefail
program=$(realpath "$1")
page=$2
source_dir=$3
# shellcheck source=tests/install/common.sh
. "$(dirname "$0")/common.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints the lines of the page's example blocks (.EX to .EE) in the section
# named $1, with a line "@@" after each block, roff escapes turned back into
# the characters they print.
examples_in_section() {
  awk -v wanted="$1" '
    /^\.SH / { section = substr($0, 5); gsub(/"/, "", section); next }
    section != wanted { next }
    /^\.EX/ { inside = 1; next }
    /^\.EE/ { inside = 0; print "@@"; next }
    inside && !/^\.\\"/ { print }
  ' "$page" | decode_roff
}

# Prints the lines between the comments '.\" $1: begin' and '.\" $1: end'.
marked_block() {
  awk -v mark="$1" '
    $0 == ".\\\" " mark ": begin" { inside = 1; next }
    $0 == ".\\\" " mark ": end" { inside = 0; next }
    inside && !/^\./ { print }
  ' "$page" | decode_roff
}

decode_roff() {
  sed -e 's/\\-/-/g' -e "s/\\\\(aq/'/g" -e 's/\\(ha/^/g' -e 's/\\&//g' -e 's/\\e/\\/g'
}

# Runs the program on a point file made of the remaining arguments, one line
# each, and prints its result text.
result_for() {
  printf '%s\n' "$@" >"$work/points.csv"
  "$program" "$work/points.csv" "$work/result" 2>/dev/null || true
  cat "$work/result"
}

# The point file the examples below build on.
header='1,1,True'
sample='C,Temp1,SAMPLE,,500,MILLIMETER,Path,,1,String,R,,100,'

# Every example under RESULT MESSAGES is the result of a faulty example file,
# examples/faulty/NAME.csv, which the process tests run for NAME.expected.
examples_in_section 'RESULT MESSAGES' | grep -v -x '@@' | sort -u >"$work/documented"
[ -s "$work/documented" ] || fail "found no examples under RESULT MESSAGES in $page"
for expected in "$source_dir"/examples/faulty/*.expected; do cat "$expected" && echo; done |
  sort -u >"$work/tested"
comm -13 "$work/tested" "$work/documented" >"$work/unfounded"
[ ! -s "$work/unfounded" ] ||
  fail "examples under RESULT MESSAGES that no examples/faulty/*.expected gives: $(cat "$work/unfounded")"
note "each of the $(wc -l <"$work/documented") examples under RESULT MESSAGES is the result of a faulty example file"

# Every message text in the sources has an example; a new message cannot be
# added without documenting it.
grep -rhoE '"( is [A-Za-z ]+\.|Illegal [A-Za-z ]+\.)"' \
  "$source_dir/run" "$source_dir/checks" | tr -d '"' | sort -u >"$work/messages"
[ -s "$work/messages" ] || fail "found no message texts in the sources under $source_dir"
while IFS= read -r message; do
  grep -qF -e "$message" "$work/documented" || fail "the message '$message' has no example in $page"
done <"$work/messages"
note "each of the $(wc -l <"$work/messages") message texts in the sources has an example"

# DIAGNOSTICS: the usage text, then the failed result file.
examples_in_section DIAGNOSTICS >"$work/diagnostics"
awk 'BEGIN { RS = "@@\n" } NR == 1 { printf "%s", $0 }' "$work/diagnostics" >"$work/usage.documented"
"$program" 2>"$work/usage.actual" || true
cmp -s "$work/usage.documented" "$work/usage.actual" ||
  fail "the usage text in the page differs from the program's: $(diff "$work/usage.documented" "$work/usage.actual")"
printf '%s\n' "$header" "$sample" >"$work/good.csv"
"$program" "$work/good.csv" "$work/missing/result" 2>"$work/fopen.actual" || true
[ "$(awk 'BEGIN { RS = "@@\n" } NR == 2 { printf "%s", $0 }' "$work/diagnostics")" = "$(cat "$work/fopen.actual")" ] ||
  fail "the page's failed-open text differs from the program's '$(cat "$work/fopen.actual")'"
diagnostic_block() {
  awk -v wanted="$1" 'BEGIN { RS = "@@\n" } NR == wanted { printf "%s", $0 }' "$work/diagnostics"
}
"$program" "$work/good.csv" /dev/full 2>"$work/fwrite.actual" || true
[ "$(diagnostic_block 3)" = "$(cat "$work/fwrite.actual")" ] ||
  fail "the page's failed-write text differs from the program's '$(cat "$work/fwrite.actual")'"
"$program" --bogus "$work/good.csv" 2>"$work/unknown.actual" || true
diagnostic_block 4 >"$work/unknown.documented"
cmp -s "$work/unknown.documented" "$work/unknown.actual" ||
  fail "the page's unknown-option text differs from the program's: $(diff "$work/unknown.documented" "$work/unknown.actual")"
note "the usage, failed-open, failed-write and unknown-option texts under DIAGNOSTICS are the program's"

# The acceptable point file the page shows is accepted.
marked_block 'acceptable file' >"$work/acceptable.csv"
[ -s "$work/acceptable.csv" ] || fail "the page shows no acceptable point file"
[ "$(result_for "$(cat "$work/acceptable.csv")")" = OK ] ||
  fail "the page's acceptable point file gives '$(cat "$work/result")'"
note "the acceptable point file in the page gives OK"

# The report examples under REPORT are what the program writes.
marked_block 'report input' >"$work/points.csv"
marked_block 'report output' >"$work/report.documented"
marked_block 'json output' >"$work/json.documented"
(cd "$work" && { "$program" --all points.csv || true; } 2>/dev/null >report.actual)
(cd "$work" && { "$program" --json missing.csv || true; } 2>/dev/null >json.actual)
for report in report json; do
  [ -s "$work/$report.documented" ] || fail "the page shows no $report example under REPORT"
  cmp -s "$work/$report.documented" "$work/$report.actual" ||
    fail "the page's $report example differs from the program's: $(diff "$work/$report.documented" "$work/$report.actual")"
done
note "the compiler-style and JSON report examples under REPORT are the program's"

# The version in the page's title line is the project's, and --version says it.
[ "$("$program" --version)" = "marlint $(project_version "$source_dir")" ] ||
  fail "--version says '$("$program" --version)', not 'marlint $(project_version "$source_dir")'"
version=$(project_version "$source_dir")
grep -qE "^\.TH MARLINT 1 [0-9-]+ \"marlint $version\"" "$page" ||
  fail "the .TH line of $page does not name marlint $version"
note "the page is for marlint $version"
summary manual
