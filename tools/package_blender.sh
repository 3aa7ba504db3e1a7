#!/usr/bin/env bash
# Builds the Blender add-on's two zips from blender/io_scene_mag5 and the two
# converters, both stripped:
#
#   tools/package_blender.sh VERSION LINUX_ZELVANE WINDOWS_ZELVANE_EXE STAGE OUT
#
#   OUT/zelvane-blender-VERSION.zip  the legacy add-on, for Blender 3.4 to 4.1
#       (and 4.2 and later through "Install legacy Add-on"): the folder
#       io_scene_mag5 with bl_info's version set to VERSION
#   OUT/zelvane_mag5-VERSION.zip     the extension, for Blender 4.2 and later:
#       blender_manifest.toml at its root with its version set to VERSION,
#       beside the same modules
#
# Each holds the modules, LICENSE, bin/linux-x86_64/zelvane and
# bin/windows-x86_64/zelvane.exe; only the extension holds the manifest.
# STAGE is a scratch folder, emptied first.
set -euo pipefail

[ $# -eq 5 ] || { echo "usage: $0 VERSION LINUX_ZELVANE WINDOWS_ZELVANE_EXE STAGE OUT" >&2; exit 2; }
version=$1
linux=$2
windows=$3
stage=$4
out=$(realpath -m "$5")
source_dir=$(cd "$(dirname "$0")/../blender/io_scene_mag5" && pwd)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "$0: version '$version' is not X.Y.Z" >&2; exit 2; }

file -b "$linux" | grep -qE '(statically|static-pie) linked' ||
  { echo "$0: $linux is not linked statically: $(file -b "$linux")" >&2; exit 1; }

# fill FOLDER: the modules, the licence and the converters.
fill() {
  mkdir -p "$1/bin/linux-x86_64" "$1/bin/windows-x86_64"
  cp "$source_dir"/*.py "$(dirname "$0")/../LICENSE" "$1/"
  strip -o "$1/bin/linux-x86_64/zelvane" "$linux"
  x86_64-w64-mingw32-strip -o "$1/bin/windows-x86_64/zelvane.exe" "$windows"
}

# set_version FILE PATTERN LINE: replaces the one line matching PATTERN.
set_version() {
  sed -i "s/$2/$3/" "$1"
  grep -qxF "$3" "$1" || { echo "$0: no version line to set in $1" >&2; exit 1; }
}

rm -rf "$stage"
mkdir -p "$out"

legacy=$out/zelvane-blender-$version.zip
addon=$stage/legacy/io_scene_mag5
fill "$addon"
set_version "$addon/__init__.py" '^    "version": ([0-9, ]*),$' "    \"version\": (${version//./, }),"
rm -f "$legacy"
(cd "$stage/legacy" && zip -X -9 -q -r "$legacy" io_scene_mag5)

extension=$out/zelvane_mag5-$version.zip
fill "$stage/extension"
cp "$source_dir/blender_manifest.toml" "$stage/extension/"
set_version "$stage/extension/blender_manifest.toml" '^version = "[0-9.]*"$' "version = \"$version\""
rm -f "$extension"
(cd "$stage/extension" && zip -X -9 -q -r "$extension" .)

echo
echo "Blender add-on, legacy (Blender 3.4 to 4.1): $legacy"
echo "Blender extension (Blender 4.2 and later):   $extension"
