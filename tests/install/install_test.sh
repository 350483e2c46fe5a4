#!/usr/bin/env bash
# Installs a built tree into a temporary prefix, as `cmake --install` does for
# a user, and checks what lands there: the program works on the bundled
# example, the manual page renders and man finds it, the README is there.
#
# Usage: install_test.sh BUILD_DIR [CMAKE_COMMAND]
set -euo pipefail
build_dir=$1
cmake_command=${2:-cmake}
# shellcheck source=tests/install/common.sh
. "$(dirname "$0")/common.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake_command" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$work/install.log")"

# bin/, share/man/man1/ and share/doc/marlint/ under the prefix, and nothing else.
expected=(bin/marlint share/doc/marlint/README.md share/doc/marlint/examples/points.csv)
for path in "${expected[@]}"; do
  [ -f "$prefix/$path" ] || fail "$path was not installed"
done
page=$(find "$prefix/share/man/man1" -name 'marlint.1*' 2>/dev/null | head -n 1)
[ -n "$page" ] || fail "no manual page was installed in share/man/man1"
unexpected=$(cd "$prefix" && find . -type f | sed 's|^\./||' | grep -v -x -F \
  -e bin/marlint -e share/doc/marlint/README.md -e share/doc/marlint/examples/points.csv \
  -e "${page#"$prefix"/}" || true)
[ -z "$unexpected" ] || fail "unexpected files were installed: $unexpected"
note "the prefix holds bin/marlint, ${page#"$prefix"/}, the README and the example"

check_program "$prefix/bin/marlint" "$prefix/share/doc/marlint/examples/points.csv"
check_manual_page "$page" "$prefix/share/man"
summary install
