#!/usr/bin/env bash
# Checks the packages that `cmake --workflow --preset package` leaves in
# BUILD_DIR, as someone who downloads them would: the control fields and
# contents of the two .deb packages (marlint, the program, and
# libmarlint-dev, the library), the program's dependencies against the
# libraries the binary really needs, the program and manual page unpacked
# from it (dpkg -x), both packages installed and removed by dpkg in a
# private root with a C++ program built against the installed library; then
# the same from the .tar.gz, which holds both.
#
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
# shellcheck source=tests/install/common.sh
. "$(dirname "$0")/common.sh"

version=$(project_version "$source_dir")
[ -n "$version" ] || fail "no version in $source_dir/CMakeLists.txt"
arch=$(dpkg --print-architecture)
deb=$build_dir/marlint_${version}_${arch}.deb
dev_deb=$build_dir/libmarlint-dev_${version}_${arch}.deb
for package in "$deb" "$dev_deb"; do
  [ -f "$package" ] || fail "$package is missing: build it with cmake --workflow --preset package"
done
shopt -s nullglob
archives=("$build_dir/marlint-$version-"*.tar.gz)
shopt -u nullglob
[ "${#archives[@]}" -eq 1 ] || fail "expected one marlint-$version-*.tar.gz in $build_dir, found ${#archives[@]}"
archive=${archives[0]}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build_dir" && sha256sum --quiet -c "${deb##*/}.sha256" "${dev_deb##*/}.sha256" "${archive##*/}.sha256") ||
  fail "a package does not match its .sha256 file"
note "the three packages match their checksums"

# Control fields of each .deb: its name, the project's version, this
# machine's architecture, its section, a maintainer with an address, and a
# description of its own.
field() { dpkg-deb -f "$1" "$2"; }
check_control() {
  local package=$1 name=$2 section=$3 summary_word=$4 description
  dpkg-deb -I "$package" >"$work/info" || fail "dpkg-deb -I cannot read $package"
  [ "$(field "$package" Package)" = "$name" ] || fail "Package is '$(field "$package" Package)', not $name"
  [ "$(field "$package" Version)" = "$version" ] ||
    fail "$name: Version is '$(field "$package" Version)', the project's is $version"
  [ "$(field "$package" Architecture)" = "$arch" ] || fail "$name: Architecture is '$(field "$package" Architecture)'"
  [ "$(field "$package" Section)" = "$section" ] || fail "$name: Section is '$(field "$package" Section)'"
  [[ "$(field "$package" Maintainer)" =~ ^[^\<\>]+\ \<[^\<\>@\ ]+@[^\<\>\ ]+\>$ ]] ||
    fail "$name: Maintainer '$(field "$package" Maintainer)' is not a name and an address"
  description=$(field "$package" Description)
  [[ "$(head -n 1 <<<"$description")" == *"$summary_word"* ]] ||
    fail "$name: the Description's summary line is '$(head -n 1 <<<"$description")'"
  [ "$(wc -l <<<"$description")" -gt 2 ] || fail "$name: the Description has no long text"
  note "control fields: $name $version $arch, section $section, maintainer $(field "$package" Maintainer)"
}
check_control "$deb" marlint utils "point files"
check_control "$dev_deb" libmarlint-dev libdevel "library"
[ "$(field "$deb" Description | head -n 1)" != "$(field "$dev_deb" Description | head -n 1)" ] ||
  fail "both packages have the same summary line"
for relation in Depends Pre-Depends Recommends Suggests; do
  [ -z "$(field "$dev_deb" "$relation")" ] ||
    fail "libmarlint-dev has $relation: $(field "$dev_deb" "$relation")"
done
note "libmarlint-dev depends on, recommends and suggests nothing"

# Contents: exactly these files under /usr, owned by root.
check_contents() {
  local package=$1
  shift
  dpkg-deb -c "$package" >"$work/contents" || fail "dpkg-deb -c cannot list $package"
  awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sort >"$work/files"
  printf './usr/%s\n' "$@" | sort >"$work/files.expected"
  diff -u "$work/files.expected" "$work/files" >"$work/diff" || fail "${package##*/} holds other files:
$(cat "$work/diff")"
  awk '$2 != "root/root" { bad = 1 } END { exit bad }' "$work/contents" ||
    fail "not every entry of ${package##*/} belongs to root/root"
}
library_files=(include/marlint/marlint.h include/marlint/version.h lib/libmarlint.a
  lib/cmake/marlint/marlintConfig.cmake lib/cmake/marlint/marlintConfigVersion.cmake
  lib/cmake/marlint/marlintTargets.cmake lib/cmake/marlint/marlintTargets-release.cmake
  lib/pkgconfig/marlint.pc share/doc/libmarlint-dev/copyright)
check_contents "$dev_deb" "${library_files[@]}"
note "libmarlint-dev holds the library, its two headers, the CMake package, marlint.pc and the licence, all root's"
check_contents "$deb" bin/marlint share/doc/marlint/README.md share/doc/marlint/CHANGELOG.md \
  share/doc/marlint/copyright share/doc/marlint/examples/points.csv share/man/man1/marlint.1.gz
grep -qE '^-rwxr-xr-x .* \./usr/bin/marlint$' "$work/contents" || fail "usr/bin/marlint is not mode 755"
note "marlint holds usr/bin/marlint, its manual page, the README, the changelog, the licence and the example, all root's"

dpkg -x "$deb" "$work/root"
program=$work/root/usr/bin/marlint
file -b "$program" | grep -q '^ELF' || fail "usr/bin/marlint is not an ELF program"
file -b "$program" | grep -q ', stripped' || fail "usr/bin/marlint is not stripped"

# Depends must name the package of every shared library the binary needs,
# and nothing else: it comes from dpkg-shlibdeps, whatever the link flags.
objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }' | sort -u >"$work/needed"
depends=$(field "$deb" Depends)
tr ',|' '\n\n' <<<"$depends" | awk 'NF { print $1 }' | sort -u >"$work/depends"
: >"$work/owners"
while IFS= read -r library; do
  dpkg -S "*/$library" 2>/dev/null | cut -d: -f1 | tr ',' '\n' | awk 'NF { print $1 }' | sort -u >"$work/owner"
  [ -s "$work/owner" ] || fail "no installed package owns $library, which marlint needs"
  grep -qx -F -f "$work/owner" "$work/depends" || fail "Depends '$depends' lacks the package of $library"
  cat "$work/owner" >>"$work/owners"
done <"$work/needed"
while IFS= read -r package; do
  grep -qx -F "$package" "$work/owners" || fail "Depends names $package, which owns no library marlint needs"
done <"$work/depends"
# Each dependency is installed here in a version that satisfies it.
tr ',' '\n' <<<"$depends" | sed -n 's/^ *\([^ ]*\) *(\([<>=]*\) *\([^)]*\)).*/\1 \2 \3/p' >"$work/versioned"
while read -r package relation wanted; do
  installed=$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null) || fail "$package is not installed"
  dpkg --compare-versions "$installed" "$(sed 's/>=/ge/;s/<=/le/;s/>>/gt/;s/<</lt/;s/=/eq/' <<<"$relation")" "$wanted" ||
    fail "$package $installed does not satisfy $relation $wanted"
done <"$work/versioned"
if [ -s "$work/needed" ]; then
  note "Depends: $depends, for the libraries marlint needs: $(paste -sd ' ' "$work/needed")"
else
  note "no Depends: marlint is linked statically and needs no shared library"
fi

check_program "$program" "$work/root/usr/share/doc/marlint/examples/points.csv"
check_manual_page "$work/root/usr/share/man/man1/marlint.1.gz" "$work/root/usr/share/man"

# dpkg itself installs and removes both packages, in a root of its own:
# libmarlint-dev first and alone, with a C++ program built against it, then
# marlint, whose libraries that root's empty package database lacks, hence
# --force-depends.
if [ "$(id -u)" -eq 0 ]; then
  private=$work/dpkg-root
  mkdir -p "$private/var/lib/dpkg/info" "$private/var/lib/dpkg/updates"
  : >"$private/var/lib/dpkg/status"
  installed() {
    [ "$(dpkg-query --admindir="$private/var/lib/dpkg" -W -f='${Status} ${Version}' "$1")" = \
      "install ok installed $version" ] || fail "dpkg does not list $1 $version as installed"
  }
  dpkg --root="$private" -i "$dev_deb" >"$work/dpkg.log" 2>&1 ||
    fail "dpkg -i libmarlint-dev failed: $(cat "$work/dpkg.log")"
  installed libmarlint-dev
  check_consumer "$private/usr" "$source_dir" "$version"
  dpkg --root="$private" --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 ||
    fail "dpkg -i marlint failed: $(cat "$work/dpkg.log")"
  installed marlint
  check_program "$private/usr/bin/marlint" "$private/usr/share/doc/marlint/examples/points.csv"
  dpkg --root="$private" -r marlint libmarlint-dev >"$work/dpkg.log" 2>&1 ||
    fail "dpkg -r failed: $(cat "$work/dpkg.log")"
  [ ! -e "$private/usr" ] || fail "dpkg -r left files behind: $(find "$private/usr" -type f)"
  note "dpkg installs libmarlint-dev alone and then marlint, and removes every file of both again"
else
  echo "skipped: installing with dpkg --root needs root"
fi

# The archive: one folder with bin/, include/, lib/ and share/, the same
# program and page, and the library a C++ program builds against.
tar -xzf "$archive" -C "$work"
top=$work/$(basename "$archive" .tar.gz)
[ -d "$top" ] || fail "${archive##*/} does not unpack into $(basename "$archive" .tar.gz)/"
check_program "$top/bin/marlint" "$top/share/doc/marlint/examples/points.csv"
check_manual_page "$top/share/man/man1/marlint.1.gz" "$top/share/man"
[ -f "$top/share/doc/marlint/README.md" ] || fail "the archive has no README"
for path in "${library_files[@]}"; do
  [ -f "$top/$path" ] || fail "the archive has no $path"
done
check_consumer "$top" "$source_dir" "$version"
note "${archive##*/} unpacks into one folder with the program, page, README and the library"
summary packages
