#!/usr/bin/env bash
# Makes sure the Debian packages that a part of the work needs are installed,
# installing the missing ones when it may (as root, or through sudo without a
# password prompt); otherwise prints the one command to run and fails.
#
#   tools/ensure_packages.sh GROUP...
#
# Groups: build (the converter alone), test (make test), fuzz (make fuzz),
# windows (make test-windows), bench (the benchmark's comparison), package
# (make package: the Debian package), package-windows (make package-windows:
# the zip for Windows), package-blender (make package-blender: the Blender
# add-on's zips), blender (make test-blender: this machine's Blender),
# trixie-blender (make test-blender: what makes the Debian 13 root that holds
# the newer Blender, see tools/trixie_blender.sh).
set -euo pipefail

# The model readers' header libraries, which every build of the converter needs.
READERS="libtinyobjloader-dev libtinygltf-dev nlohmann-json3-dev"

packages_of() {
  case "$1" in
    build) echo make cmake g++ libstb-dev zlib1g-dev $READERS ;;
    # npm: Debian's nodejs comes without it, other builds of Node.js with it. chromium: the gallery page's
    # end-to-end test opens it there. blender: pictures are compared with its rendering (its glTF importer
    # needs python3-numpy, which Debian's blender does not depend on).
    test) echo make cmake ninja-build g++ libgtest-dev libgmock-dev libtinyobjloader-dev libxml2-dev libxml2-utils \
      libstb-dev zlib1g-dev python3-pil $READERS nodejs "$(command -v npm >/dev/null 2>&1 || echo npm)" chromium \
      blender python3-numpy ;;
    fuzz) echo make cmake ninja-build clang-14 libclang-rt-14-dev libstb-dev zlib1g-dev $READERS ;;
    windows) echo make cmake ninja-build g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 locales libstb-dev $READERS ;;
    bench) echo make cmake ninja-build g++ assimp-utils ;;
    package) echo make cmake g++ libstb-dev zlib1g-dev $READERS dpkg-dev file ;;
    package-windows) echo make cmake g++-mingw-w64-x86-64-posix libz-mingw-w64-dev libstb-dev $READERS zip groff-base ;;
    package-blender) echo make cmake g++ g++-mingw-w64-x86-64-posix libstb-dev zlib1g-dev libz-mingw-w64-dev $READERS zip file ;;
    # Debian's blender does not depend on numpy, without which its glTF importer fails. python3-pil reads
    # the PCX files of the add-on's export again.
    blender) echo blender python3-numpy python3-pil ;;
    trixie-blender) echo debootstrap python3-pil ;;
    *) echo "ensure_packages.sh: no package group '$1' (build, test, fuzz, windows, bench, package, package-windows, package-blender, blender, trixie-blender)" >&2; return 2 ;;
  esac
}

wanted=()
for group in "$@"; do
  text=$(packages_of "$group")
  read -r -a list <<<"$text"
  wanted+=("${list[@]}")
done
if ! command -v dpkg-query >/dev/null 2>&1; then
  echo "ensure_packages.sh: not a Debian system; make sure these are installed: ${wanted[*]}" >&2
  exit 0
fi

missing=()
for package in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root=(sudo -n)
else
  echo "Missing Debian packages. Install them with:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
