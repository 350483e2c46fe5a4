#!/usr/bin/env bash
# Checks the packages that `cmake --workflow --preset package` leaves in
# BUILD_DIR, as someone who downloads them would: the .deb's control fields
# and contents, its dependencies against the libraries the binary really
# needs, the program and manual page unpacked from it (dpkg -x) and
# installed and removed by dpkg in a private root; then the same program
# and page from the .tar.gz.
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
[ -f "$deb" ] || fail "$deb is missing: build it with cmake --workflow --preset package"
shopt -s nullglob
archives=("$build_dir/marlint-$version-"*.tar.gz)
shopt -u nullglob
[ "${#archives[@]}" -eq 1 ] || fail "expected one marlint-$version-*.tar.gz in $build_dir, found ${#archives[@]}"
archive=${archives[0]}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build_dir" && sha256sum --quiet -c "${deb##*/}.sha256" "${archive##*/}.sha256") ||
  fail "a package does not match its .sha256 file"
note "both packages match their checksums"

# Control fields.
dpkg-deb -I "$deb" >"$work/info" || fail "dpkg-deb -I cannot read $deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = marlint ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<\>]+\ \<[^\<\>@\ ]+@[^\<\>\ ]+\>$ ]] ||
  fail "Maintainer '$(field Maintainer)' is not a name and an address"
description=$(field Description)
[[ "$(head -n 1 <<<"$description")" == *"point files"* ]] || fail "the Description's summary line is '$description'"
[ "$(wc -l <<<"$description")" -gt 2 ] || fail "the Description has no long text"
note "control fields: marlint $version $arch, maintainer $(field Maintainer)"

# Contents: the four files under /usr, owned by root, nothing else.
dpkg-deb -c "$deb" >"$work/contents" || fail "dpkg-deb -c cannot list $deb"
awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sort >"$work/files"
printf '%s\n' ./usr/bin/marlint ./usr/share/doc/marlint/README.md \
  ./usr/share/doc/marlint/examples/points.csv ./usr/share/man/man1/marlint.1.gz | sort >"$work/files.expected"
diff -u "$work/files.expected" "$work/files" >"$work/diff" || fail "the .deb holds other files:
$(cat "$work/diff")"
awk '$2 != "root/root" { bad = 1 } END { exit bad }' "$work/contents" || fail "not every entry belongs to root/root"
grep -qE '^-rwxr-xr-x .* \./usr/bin/marlint$' "$work/contents" || fail "usr/bin/marlint is not mode 755"
note "contents: usr/bin/marlint, its manual page, the README and the example, all root's"

dpkg -x "$deb" "$work/root"
program=$work/root/usr/bin/marlint
file -b "$program" | grep -q '^ELF' || fail "usr/bin/marlint is not an ELF program"
file -b "$program" | grep -q ', stripped' || fail "usr/bin/marlint is not stripped"

# Depends must name the package of every shared library the binary needs,
# and nothing else: it comes from dpkg-shlibdeps, whatever the link flags.
objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }' | sort -u >"$work/needed"
depends=$(field Depends)
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

# dpkg itself installs and removes the package, in a root of its own whose
# empty package database lacks the libraries, hence --force-depends.
if [ "$(id -u)" -eq 0 ]; then
  private=$work/dpkg-root
  mkdir -p "$private/var/lib/dpkg/info" "$private/var/lib/dpkg/updates"
  : >"$private/var/lib/dpkg/status"
  dpkg --root="$private" --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 ||
    fail "dpkg -i failed: $(cat "$work/dpkg.log")"
  [ "$(dpkg-query --admindir="$private/var/lib/dpkg" -W -f='${Status} ${Version}' marlint)" = \
    "install ok installed $version" ] || fail "dpkg does not list marlint $version as installed"
  check_program "$private/usr/bin/marlint" "$private/usr/share/doc/marlint/examples/points.csv"
  dpkg --root="$private" -r marlint >"$work/dpkg.log" 2>&1 || fail "dpkg -r failed: $(cat "$work/dpkg.log")"
  [ ! -e "$private/usr" ] || fail "dpkg -r left files behind: $(find "$private/usr" -type f)"
  note "dpkg installs the package, and removes every file of it again"
else
  echo "skipped: installing with dpkg --root needs root"
fi

# The archive: one folder with bin/ and share/, the same program and page.
tar -xzf "$archive" -C "$work"
top=$work/$(basename "$archive" .tar.gz)
[ -d "$top" ] || fail "${archive##*/} does not unpack into $(basename "$archive" .tar.gz)/"
check_program "$top/bin/marlint" "$top/share/doc/marlint/examples/points.csv"
check_manual_page "$top/share/man/man1/marlint.1.gz" "$top/share/man"
[ -f "$top/share/doc/marlint/README.md" ] || fail "the archive has no README"
note "${archive##*/} unpacks into one folder with the same program, page and README"
summary packages
