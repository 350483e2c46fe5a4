#!/usr/bin/env bash
# Installs a built tree into a temporary prefix, as `cmake --install` does for
# a user, and checks what lands there: the program works on the bundled
# example, the manual page renders and man finds it, the README is there, and
# a C++ program builds against the library with find_package and with
# pkg-config and gets the exact result the README gives for that program.
#
# Usage: install_test.sh BUILD_DIR CMAKE_COMMAND SOURCE_DIR
set -euo pipefail
build_dir=$1
cmake_command=$2
source_dir=$3
# shellcheck source=tests/install/common.sh
. "$(dirname "$0")/common.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake_command" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$work/install.log")"

# The program's files and the library's, and nothing else.
page=$(find "$prefix/share/man/man1" -name 'marlint.1*' 2>/dev/null | head -n 1)
[ -n "$page" ] || fail "no manual page was installed in share/man/man1"
expected=(bin/marlint share/doc/marlint/README.md share/doc/marlint/CHANGELOG.md share/doc/marlint/copyright
  share/doc/marlint/examples/points.csv share/doc/libmarlint-dev/copyright "${page#"$prefix"/}"
  include/marlint/marlint.h include/marlint/version.h lib/libmarlint.a lib/pkgconfig/marlint.pc
  lib/cmake/marlint/marlintConfig.cmake lib/cmake/marlint/marlintConfigVersion.cmake
  lib/cmake/marlint/marlintTargets.cmake)
(cd "$prefix" && find . -type f | sed 's|^\./||' | grep -v '^lib/cmake/marlint/marlintTargets-.*\.cmake$' |
  sort) >"$work/installed"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
diff -u "$work/expected" "$work/installed" >"$work/diff" || fail "the prefix holds other files:
$(cat "$work/diff")"
note "the prefix holds the program, its manual page, README, changelog, licence and example, the library and its header"

# The command line is a client of the library, not part of it.
if nm "$prefix/lib/libmarlint.a" 2>/dev/null | grep -q 'getopt'; then
  fail "lib/libmarlint.a holds command-line code (getopt_long)"
fi
note "lib/libmarlint.a holds no command-line code"

check_program "$prefix/bin/marlint" "$prefix/share/doc/marlint/examples/points.csv"
check_manual_page "$page" "$prefix/share/man"

check_consumer "$prefix" "$source_dir" "$(project_version "$source_dir")"

summary install
