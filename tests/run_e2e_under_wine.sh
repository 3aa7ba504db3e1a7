#!/usr/bin/env bash
# Runs the end-to-end tests of a Linux build (the ctest label "e2e") against a
# Windows build of zelvane under wine, every text output expected with CR LF
# line ends. Wine gets a fresh prefix in a temporary folder, removed at the
# end, and needs no display.
#
# Wine takes the system's ANSI code page from the locale, and hands a
# program a non-ASCII command line intact only under an installed UTF-8
# locale. The tests run under a Western locale (code page 1252); the file
# name test runs again under a Russian (1251) and a Japanese one (932). The
# three locales are compiled into the temporary folder, with localedef from
# the locale sources of Debian's locales package.
#
#   tests/run_e2e_under_wine.sh LINUX_BUILD_DIR ZELVANE_EXE
#
# WINE names the wine loader (default /usr/lib/wine/wine64).
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 LINUX_BUILD_DIR ZELVANE_EXE" >&2
  exit 2
fi
build_dir=$(realpath "$1")
exe=$(realpath "$2")
wine=${WINE:-/usr/lib/wine/wine64}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zelvane-wine-XXXXXX")
export TMPDIR="$scratch"  # wine's server folder and the tests' folders go in there too
export WINEPREFIX="$scratch/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko
unset DISPLAY WAYLAND_DISPLAY

cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

export LOCPATH="$scratch/locales"
unset LANG LANGUAGE LC_CTYPE LC_MESSAGES
mkdir "$LOCPATH"
for name in en_US ru_RU ja_JP; do
  localedef --quiet -i "$name" -f UTF-8 "$LOCPATH/$name.UTF-8" || true  # status 1 for mere warnings
  if [ "$(LC_ALL="$name.UTF-8" locale charmap 2>/dev/null)" != UTF-8 ]; then
    echo "$0: could not make the locale $name.UTF-8 (is the locales package installed?)" >&2
    exit 1
  fi
done
export LC_ALL=en_US.UTF-8

# One server for the whole run, kept up between the tests' wine starts; the
# prefix is set up before the first test so that nothing of that reaches a
# test's output.
mkdir "$WINEPREFIX"
wineserver -p
"$wine" wineboot --init >/dev/null 2>&1

export ZELVANE_BIN="$exe" ZELVANE_RUNNER="$wine" ZELVANE_LINE_END=crlf
cd "$build_dir"
ctest --output-on-failure -j2 -L e2e
for locale in ru_RU.UTF-8 ja_JP.UTF-8; do
  echo "File names under $locale:"
  LC_ALL=$locale ctest --output-on-failure -L e2e -R '^FileNames\.'
done
