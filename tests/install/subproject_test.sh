#!/usr/bin/env bash
# Builds tests/consumer with marlint's sources added by add_subdirectory, as a
# parent project would: the consumer links marlint::marlint and gets the
# exact result, and marlint brings none of its own tests, install rules or
# packages into the parent's build.
#
# Usage: subproject_test.sh CMAKE_COMMAND SOURCE_DIR
set -euo pipefail
cmake_command=$1
source_dir=$2
# shellcheck source=tests/install/common.sh
. "$(dirname "$0")/common.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Only the library is built: the consumer's one target needs nothing else.
"$cmake_command" -S "$source_dir/tests/consumer" -B "$work/build" -G Ninja \
  -DMARLINT_SOURCE_DIR="$source_dir" >"$work/log" 2>&1 &&
  "$cmake_command" --build "$work/build" --target example >>"$work/log" 2>&1 ||
  fail "the consumer does not build with marlint as a subdirectory: $(cat "$work/log")"
check_consumer_run "$work/build/example" "with add_subdirectory"

tests=$(find "$work/build" -name CTestTestfile.cmake)
[ -z "$tests" ] || fail "marlint adds tests to the parent's build: $tests"
[ ! -e "$work/build/CPackConfig.cmake" ] || fail "marlint sets up CPack in the parent's build"
"$cmake_command" --install "$work/build" --prefix "$work/prefix" >"$work/log" 2>&1 ||
  fail "cmake --install of the parent failed: $(cat "$work/log")"
[ ! -e "$work/prefix" ] || fail "marlint installs into the parent's prefix: $(cd "$work/prefix" && find . -type f)"
note "marlint as a subdirectory adds no tests, install rules or packages to the parent"
summary subproject
