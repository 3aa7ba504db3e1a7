#!/usr/bin/env bash
# Tests the Blender add-on as a user gets it: installs a zip that
# `make package-blender` builds into a headless Blender whose user folders
# and temporary folder are private to the run, and imports and exports models
# through it (test_addon.py says which); then reads the PCX files of the
# house's export with Pillow, in this machine's own Debian python3
# (check_pcx.py).
#
#   tests/blender/run_tests.sh [--trixie] legacy|extension ZIP VERSION
#
# legacy installs the legacy add-on's zip as Blender 3.4 to 4.1 do;
# extension first has Blender validate the extension's zip, then installs it
# as Blender 4.2 and later do. VERSION is the project's version, which the
# installed add-on must carry. --trixie runs Debian 13's Blender through
# tools/trixie_blender.sh (as root; TRIXIE_BLENDER_DIR says where its root
# is); else BLENDER names the Blender to run (default: blender on PATH).
set -euo pipefail

usage() {
  echo "usage: $0 [--trixie] legacy|extension ZIP VERSION" >&2
  exit 2
}
trixie=0
if [ "${1:-}" = --trixie ]; then
  trixie=1
  shift
fi
[ $# -eq 3 ] || usage
kind=$1
case "$kind" in legacy | extension) ;; *) usage ;; esac
zip=$(realpath "$2")
version=$3
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
[ -f "$zip" ] || { echo "run_tests.sh: no $zip" >&2; exit 2; }

# Everything Blender reads or writes is in one folder, which is all a
# Blender in the Debian 13 root sees of this machine.
work=$(mktemp -d "${TMPDIR:-/tmp}/zelvane-blender-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/scripts" "$work/config" "$work/extensions" "$work/tmp"
cp "$zip" "$here/test_addon.py" "$work/"
cp -r "$repo/examples" "$work/examples"

# blender ARG...: the chosen Blender, with the run's own user folders.
blender() {
  local run=()
  if [ "$trixie" -eq 1 ]; then
    run=("$repo/tools/trixie_blender.sh" --bind "$work" --)
  fi
  "${run[@]}" env HOME="$work/home" BLENDER_USER_SCRIPTS="$work/scripts" BLENDER_USER_CONFIG="$work/config" \
    BLENDER_USER_EXTENSIONS="$work/extensions" TMPDIR="$work/tmp" "${BLENDER:-blender}" "$@"
}

# Makes the Debian 13 root first, when it is not there, with its own report.
[ "$trixie" -eq 0 ] || "$repo/tools/trixie_blender.sh"

echo "$(blender --version 2>/dev/null | head -n 1), $kind zip $zip"
if [ "$kind" = extension ]; then
  if ! blender --command extension validate "$work/${zip##*/}" >"$work/log" 2>&1; then
    cat "$work/log"
    echo "run_tests.sh: Blender does not accept $zip as an extension" >&2
    exit 1
  fi
  echo "validated: $(tail -n 1 "$work/log")"
fi
status=0
blender -b --factory-startup --python-exit-code 1 --python "$work/test_addon.py" -- \
  "$kind" "$work/${zip##*/}" "$version" "$work/examples" "$work/cases" >"$work/log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  cat "$work/log"
  echo "run_tests.sh: Blender ended with status $status" >&2
  exit 1
fi
# Blender's own chatter left out: the cases' lines and what they measured.
grep -vE '^(Blender( [0-9.]+)?$|Blender quit|Read prefs|Read blend|STATUS |Info: |Warning: |Error: |[0-9:]+ \| [A-Z]+: |ERROR Draco|$)' \
  "$work/log" || true
/usr/bin/python3 "$here/check_pcx.py" "$work/cases/export-house" "$work/examples"
