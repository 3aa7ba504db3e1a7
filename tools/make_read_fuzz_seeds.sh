#!/usr/bin/env bash
# Writes the seed corpus of the fuzz target fuzz_read into FOLDER: the
# sample house and a small model converted by ZELVANE to OBJ with its
# library, to .glb with its images embedded and to .gltf, each behind the
# byte that tells the target which it is ('o': OBJ, its text, a NUL byte
# and the library; 'g': glTF).
#
#   tools/make_read_fuzz_seeds.sh ZELVANE FOLDER
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 ZELVANE FOLDER" >&2; exit 2; }
zelvane=$(realpath "$1")
folder=$2
examples=$(cd "$(dirname "$0")/../examples" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$folder"
cp "$examples"/house.mag "$examples"/*.pcx "$work"/
(
  cd "$work"
  "$zelvane" house.mag --output-dir obj >/dev/null
  "$zelvane" house.mag --glb --output-dir glb >/dev/null
  "$zelvane" house.mag --gltf --output-dir gltf >/dev/null
)
{ printf 'o'; cat "$work/obj/house.obj"; printf '\0'; cat "$work/obj/house.mtl"; } >"$folder/house-obj"
{ printf 'g'; cat "$work/glb/house.glb"; } >"$folder/house-glb"
{ printf 'g'; cat "$work/gltf/house.gltf"; } >"$folder/house-gltf"
printf 'ov 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0 0\nvn 0 0 1\nusemtl a\nf 1/1/1 2/1/1 4/1/1 3/1/1\nf -1 -2 -3 -4 1\nf 1 2\0newmtl a\nKd 0.5 0.5 0.5\nmap_Kd t.png\n' >"$folder/small-obj"
