#!/bin/sh
# Starts Wine for the tests of marlint.exe, in the prefix that WINEPREFIX
# names: its server, kept for SECONDS seconds after its last program ends,
# and the prefix itself, made on the first start.
#
#   WINEPREFIX=build/windows/wine-prefix sh windows/start_wine.sh SECONDS
#
# Debian's wineserver ends with its last program, and the next program then
# starts it again with Wine's services: two seconds a run instead of a
# quarter of one. A server left from before is ended first, since only a
# server started here keeps running. The server and the services that
# wineboot starts outlive this script: they get none of its streams, so that
# whoever reads them (CTest) does not wait for them.
set -eu
# The server runs in the prefix: on the first start it must exist, empty.
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -w
wineserver "-p$1" </dev/null >/dev/null 2>&1
wine wineboot.exe --init </dev/null >/dev/null 2>&1
