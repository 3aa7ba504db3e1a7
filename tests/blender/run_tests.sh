#!/usr/bin/env bash
# Tests the Blender add-on as a user gets it: installs the zip that
# `make package-blender` builds into a headless Blender whose user folders
# and temporary folder are private to the run, and imports models through it
# (test_addon.py says which).
#
#   tests/blender/run_tests.sh ZIP VERSION
#
# VERSION is the project's version, which the installed add-on must carry.
# BLENDER names the Blender to run (default: blender on PATH).
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: $0 ZIP VERSION" >&2; exit 2; }
zip=$(realpath "$1")
version=$2
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
blender=${BLENDER:-blender}
[ -f "$zip" ] || { echo "run_tests.sh: no $zip" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zelvane-blender-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/scripts" "$work/config" "$work/tmp"

echo "$("$blender" --version 2>/dev/null | head -n 1), zip $zip"
status=0
BLENDER_USER_SCRIPTS=$work/scripts BLENDER_USER_CONFIG=$work/config TMPDIR=$work/tmp \
  "$blender" -b --factory-startup --python-exit-code 1 --python "$here/test_addon.py" -- \
  "$zip" "$version" "$repo/examples" "$work/cases" >"$work/log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  cat "$work/log"
  echo "run_tests.sh: Blender ended with status $status" >&2
  exit 1
fi
# Blender's own chatter left out: the cases' lines and what they measured.
grep -vE '^(Blender quit|Read prefs|Read blend|Info: |Warning: |Error: |$)' "$work/log" || true
