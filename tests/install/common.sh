# shellcheck shell=bash
# Helpers shared by the install and package tests; sourced, not run.
# Each check prints what it looked at and stops the test at the first fault.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

checks_passed=0
note() {
  checks_passed=$((checks_passed + 1))
  echo "ok: $*"
}

# The closing line, in the form CI tools count: "NAME: N passed, 0 failed".
summary() {
  echo "$1: $checks_passed passed, 0 failed"
}

# The project's version, as the top-level CMakeLists.txt declares it.
project_version() {
  sed -n 's/^project(marlint VERSION \([0-9][0-9.]*\).*/\1/p' "$1/CMakeLists.txt"
}

# Runs an installed marlint the way a calling program does: on the bundled
# example, on a faulty file, from standard input and with a wrong argument
# count, checking the exit status and the exact result text each time.
check_program() {
  local program=$1 example=$2 work
  work=$(mktemp -d)
  [ -x "$program" ] || fail "$program is not an executable file"
  [ -f "$example" ] || fail "the example $example is missing"

  local status=0
  "$program" "$example" "$work/result" 2>"$work/stderr" || status=$?
  [ "$status" -eq 0 ] || fail "$program $example exited with $status"
  [ "$(cat "$work/result")" = OK ] || fail "the result file holds '$(cat "$work/result")', not OK"
  [ ! -s "$work/stderr" ] || fail "standard error was not empty: $(cat "$work/stderr")"
  note "$program accepts $example with status 0 and the result text OK"

  printf '1,1,True\nC,Temp1,SAMPLE,,500,MILLIMETER/SECOND,Path,,1,String,R,,100,\n' >"$work/faulty.csv"
  status=0
  "$program" "$work/faulty.csv" "$work/result" 2>/dev/null || status=$?
  [ "$status" -eq 255 ] || fail "a faulty file gave status $status, not 255"
  [ "$(cat "$work/result")" = "MILLIMETER/SECOND is illegal unit." ] ||
    fail "a faulty file gave '$(cat "$work/result")'"
  note "a faulty file gives status 255 and its message"

  status=0
  "$program" - <"$example" 2>"$work/stderr" >"$work/stdout" || status=$?
  [ "$status" -eq 0 ] && [ "$(cat "$work/stderr")" = OK ] && [ ! -s "$work/stdout" ] ||
    fail "reading standard input gave status $status and '$(cat "$work/stderr")'"
  note "standard input is read for -, the result goes to standard error"

  status=0
  "$program" 2>"$work/stderr" || status=$?
  [ "$status" -eq 255 ] && head -n 1 "$work/stderr" | grep -qx 'marlint \[point file path\] \[result file path\]' ||
    fail "no argument gave status $status and '$(cat "$work/stderr")'"
  note "no argument gives the usage text and status 255"
  rm -rf "$work"
}

# Checks that a manual page (plain or gzip-compressed) renders without a
# single warning, and that man(1) finds it as "marlint" under MAN_ROOT.
check_manual_page() {
  local page=$1 man_root=$2 work
  work=$(mktemp -d)
  [ -f "$page" ] || fail "the manual page $page is missing"
  command -v groff >/dev/null || fail "groff is needed to check the manual page (apt-get install groff-base)"
  command -v man >/dev/null || fail "man is needed to check the manual page (apt-get install man-db)"

  gzip -dcf "$page" >"$work/marlint.1"
  groff -man -ww -z "$work/marlint.1" 2>"$work/warnings" || fail "groff failed on $page"
  [ ! -s "$work/warnings" ] || fail "groff warns about $page: $(cat "$work/warnings")"
  note "$page renders with groff -man -ww -z without warnings"

  MANWIDTH=80 MANPATH="$man_root" man --warnings marlint >"$work/rendered" 2>"$work/warnings" ||
    fail "man marlint failed with MANPATH=$man_root: $(cat "$work/warnings")"
  [ ! -s "$work/warnings" ] || fail "man warns about marlint: $(cat "$work/warnings")"
  grep -q '^NAME' "$work/rendered" && grep -q 'marlint - check a point file' "$work/rendered" ||
    fail "man marlint did not show the NAME section"
  grep -q '^RESULT MESSAGES' "$work/rendered" || fail "man marlint did not show RESULT MESSAGES"
  note "man marlint finds and shows the page under $man_root"
  rm -rf "$work"
}

# What tests/consumer/example.cpp prints for its point file, as the README
# says under "Use from C++" ("This prints `LINE` and `LINE`."), and its
# status. The callers set source_dir.
consumer_expected_output() {
  sed -n 's/^This prints `\([^`]*\)` and `\([^`]*\)`\..*/\1\n\2/p' "$source_dir/README.md"
}
consumer_expected_status=1

# Runs a built consumer program and checks its exact output and status.
check_consumer_run() {
  local program=$1 how=$2 status=0 output
  output=$("$program") || status=$?
  [ "$status" -eq "$consumer_expected_status" ] || fail "the consumer built $how exited with $status"
  [ -n "$(consumer_expected_output)" ] || fail "the README says under 'Use from C++' nowhere 'This prints \`...\` and \`...\`.'"
  [ "$output" = "$(consumer_expected_output)" ] ||
    fail "the consumer built $how printed '$output', the README says '$(consumer_expected_output)'"
  note "the consumer built $how checks its point file in memory and prints the exact result"
}

# Builds tests/consumer against the marlint installed under PREFIX as a user
# would, once with find_package(marlint CONFIG REQUIRED) and once with the
# compiler command line pkg-config gives, and runs both. CXX, CXXFLAGS and
# LDFLAGS, when set, choose the compiler and its flags, as for any build.
check_consumer() {
  local prefix=$1 source_dir=$2 version=$3 work
  work=$(mktemp -d)
  local consumer=$source_dir/tests/consumer

  "${cmake_command:-cmake}" -S "$consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DMARLINT_WANTED_VERSION="$version" >"$work/log" 2>&1 &&
    "${cmake_command:-cmake}" --build "$work/cmake" >>"$work/log" 2>&1 ||
    fail "the consumer does not build with find_package(marlint $version): $(cat "$work/log")"
  check_consumer_run "$work/cmake/example" "with find_package"

  command -v pkg-config >/dev/null || fail "pkg-config is needed (apt-get install pkgconf)"
  local pc_flags
  export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
  [ "$(pkg-config --modversion marlint)" = "$version" ] ||
    fail "pkg-config gives marlint version '$(pkg-config --modversion marlint)', not $version"
  pc_flags=$(pkg-config --cflags --libs marlint) || fail "pkg-config finds no marlint under $prefix"
  unset PKG_CONFIG_PATH
  # shellcheck disable=SC2086 # the flags are words
  "${CXX:-c++}" ${CXXFLAGS:-} -std=c++17 "$consumer/example.cpp" $pc_flags ${LDFLAGS:-} \
    -o "$work/example" >"$work/log" 2>&1 ||
    fail "the consumer does not build with 'pkg-config --cflags --libs marlint' ($pc_flags): $(cat "$work/log")"
  check_consumer_run "$work/example" "with pkg-config"
  rm -rf "$work"
}
