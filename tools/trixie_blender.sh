#!/usr/bin/env bash
# Runs a command beside Debian 13's Blender (4.3, with numpy 2): in a root
# made with `debootstrap --variant=minbase trixie` and `apt-get install
# blender python3-numpy`, made the first time and reused afterwards.
#
#   tools/trixie_blender.sh                                   # makes the root
#   tools/trixie_blender.sh [--bind DIR]... [--] COMMAND [ARG...]
#
# COMMAND runs as root inside the root with a clean environment (HOME=/root,
# a standard PATH; use `env NAME=VALUE COMMAND` for more). Each --bind DIR,
# an existing folder of this machine, appears at the same path inside, so
# that paths mean the same on both sides. The status is COMMAND's.
#
# Needs root (debootstrap, mount, chroot) and the Debian mirror that this
# machine's apt uses. TRIXIE_BLENDER_DIR (default /work/trixie-blender, never
# inside the repository) holds:
#   root            the root, made once, never changed by a run (delete the
#                   folder to make it anew)
#   root.complete   written once the root is whole
#   logs/make.log   what making it printed
#
# /proc, /sys, /dev and the bound folders are mounted in a mount and PID
# namespace of the run's own, so they never show on this machine or in
# another run, and vanish with the namespace: when COMMAND ends, or when its
# unshare is killed, which kills whatever runs inside. The mount points made
# for --bind are removed again on exit. Runs may go side by side; making the
# root waits for them and they for it.
set -euo pipefail

SUITE=trixie
PACKAGES=(blender python3-numpy)
self=$(realpath "$0")
name=${0##*/}

# ------------------------------------------------ inside the run's namespace

# mount_system ROOT: what Blender and apt need of /proc, /sys and /dev.
# Mount propagation is private in the namespace: nothing here reaches the
# machine's own mounts.
mount_system() {
  mount -t proc proc "$1/proc"
  mount -t sysfs sysfs "$1/sys"
  mount --rbind /dev "$1/dev"
}

# in_chroot ROOT COMMAND...: as root in ROOT, with a clean environment.
in_chroot() {
  local root=$1
  shift
  chroot "$root" /usr/bin/env -i HOME=/root LOGNAME=root USER=root SHELL=/bin/bash LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# make_inside ROOT MIRROR: debootstrap, then the packages, each step's time
# on file descriptor 3; apt's downloads are dropped afterwards.
make_inside() {
  local root=$1 mirror=$2 start=$SECONDS
  debootstrap --variant=minbase "$SUITE" "$root" "$mirror"
  echo "  debootstrap --variant=minbase $SUITE: $((SECONDS - start)) s" >&3
  start=$SECONDS
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  # No service is started inside the root, and dpkg does not wait for each
  # file to reach the disk: a root that a crash spoils is made anew.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"
  # Blender asks for the mounted file systems at start.
  ln -sfn ../proc/self/mounts "$root/etc/mtab"
  mount_system "$root"
  in_chroot "$root" apt-get update -q
  in_chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${PACKAGES[@]}"
  in_chroot "$root" apt-get clean
  echo "  apt-get install ${PACKAGES[*]}: $((SECONDS - start)) s" >&3
}

# run_inside ROOT BIND_COUNT BIND... COMMAND...
run_inside() {
  local root=$1 count=$2 dir
  shift 2
  mount_system "$root"
  for ((; count > 0; count--)); do
    dir=$1
    shift
    mount --bind "$dir" "$root$dir"
  done
  in_chroot "$root" "$@"
}

case "${1:-}" in
  --make-inside) shift; make_inside "$@"; exit ;;
  --run-inside) shift; run_inside "$@"; exit ;;
esac

# --------------------------------------------------------------- arguments

binds=()
while [ $# -gt 0 ]; do
  case "$1" in
    --bind)
      if [ $# -lt 2 ] || [ ! -d "$2" ]; then
        echo "$name: --bind needs an existing folder" >&2
        exit 2
      fi
      binds+=("$(realpath "$2")")
      shift 2 ;;
    --) shift; break ;;
    -*) echo "$name: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ ${#binds[@]} -eq 0 ] || [ $# -gt 0 ] || { echo "$name: --bind without a command" >&2; exit 2; }

[ "$(id -u)" -eq 0 ] || { echo "$name: needs root (debootstrap, mount, chroot)" >&2; exit 2; }
repo=$(git -C "$(dirname "$self")" rev-parse --show-toplevel 2>/dev/null || dirname "$(dirname "$self")")
dir=$(realpath -m "${TRIXIE_BLENDER_DIR:-/work/trixie-blender}")
case "$dir/" in
  "$repo"/*) echo "$name: $dir is inside the repository; choose a folder outside it" >&2; exit 2 ;;
esac
[ "$dir" != / ] || { echo "$name: refusing /" >&2; exit 2; }
root=$dir/root
mkdir -p "$dir/logs"

# ------------------------------------------------------------ the root

# Made under an exclusive lock; runs hold a shared one.
exec 9>"$dir/.lock"

root_is_whole() {
  [ -f "$dir/root.complete" ] && [ -x "$root/usr/bin/blender" ]
}

make_root() {
  local start=$SECONDS mirror log=$dir/logs/make.log
  source "$(dirname "$self")/apt_sources.sh"
  mirror=$(mirror_for "$SUITE")
  [ -n "$mirror" ] || { echo "$name: no Debian mirror in this machine's apt sources" >&2; exit 2; }
  command -v debootstrap >/dev/null 2>&1 || { echo "$name: needs debootstrap (apt-get install debootstrap)" >&2; exit 2; }
  echo "$name: making a Debian 13 root with ${PACKAGES[*]} in $root from $mirror (log: $log)"
  if [ -n "$(findmnt -rn -o TARGET | awk -v r="$root/" 'index($0 "/", r) == 1')" ]; then
    echo "$name: something is mounted under $root; unmount it first" >&2
    exit 2
  fi
  rm -rf --one-file-system "$root" "$dir/root.complete"
  if ! unshare --mount --pid --fork --kill-child -- "$self" --make-inside "$root" "$mirror" 3>&1 >"$log" 2>&1; then
    echo "$name: making the root failed; the end of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
  fi
  touch "$dir/root.complete"
  echo "$name: made $root in $((SECONDS - start)) s, $(du -sh --one-file-system "$root" | cut -f1)," \
    "$(unshare --mount --pid --fork --kill-child -- "$self" --run-inside "$root" 0 blender --version 2>/dev/null | head -n 1)"
}

if ! root_is_whole; then
  flock -n 9 || { echo "$name: waiting for runs in $dir to end"; flock 9; }
  root_is_whole || make_root
  flock -u 9
fi
[ $# -gt 0 ] || exit 0

# ---------------------------------------------------------------- a run

flock -s -n 9 || { echo "$name: waiting for the root in $dir to be made"; flock -s 9; }
made=()
remove_mount_points() {
  local i
  for ((i = ${#made[@]} - 1; i >= 0; i--)); do
    rmdir "${made[$i]}" 2>/dev/null || true
  done
}
trap remove_mount_points EXIT
for bind in "${binds[@]}"; do
  # The mount points, made where the root lacks them, outermost first.
  point=$root$bind
  missing=()
  while [ ! -e "$point" ]; do
    missing=("$point" "${missing[@]}")
    point=$(dirname "$point")
  done
  for point in "${missing[@]}"; do
    mkdir "$point"
    made+=("$point")
  done
done
status=0
unshare --mount --pid --fork --kill-child -- "$self" --run-inside "$root" "${#binds[@]}" "${binds[@]}" "$@" || status=$?
exit "$status"
