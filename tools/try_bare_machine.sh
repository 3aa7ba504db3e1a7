#!/usr/bin/env bash
# Checks that the README's quick start works on a bare Debian 12 machine:
# a fresh clone of the committed HEAD, in a minimal bookworm chroot that has
# only what the quick start names.
#
#   tools/try_bare_machine.sh [DIR]
#   PACKAGES="make cmake g++" tools/try_bare_machine.sh [DIR]
#
# Needs root (debootstrap, mount, chroot) and the Debian mirror that this
# machine's apt uses. DIR (default /work/bare-bookworm, never inside the
# repository) holds:
#   DIR/base   a `debootstrap --variant=minbase bookworm` root, made once and
#              reused; never changed afterwards (delete it to make it anew)
#   DIR/root   a copy of base for this run, replaced on every run
#   DIR/logs   the output of every step
#
# Steps, each timed:
#   a. as root: apt-get install make cmake g++ git ca-certificates (or the
#      packages PACKAGES names)
#   b. as an unprivileged user without sudo: `make demo` must pass and write
#      build/demo/house.obj, house.mtl and scene/house.xml with its meshes;
#      then `make test` must stop at once, non-zero, printing the
#      `sudo apt-get install ...` line, before building anything
#   c. as root: `make test` must install the test packages itself, build
#      every test suite and end with `100% tests passed` twice; then
#      `make demo` again must pass in the same tree, now that the test
#      packages are there
# The exit status is 0 when every step passed.
set -euo pipefail

SUITE=bookworm
USER_NAME=builder
read -r -a QUICK_START_PACKAGES <<<"${PACKAGES:-make cmake g++ git ca-certificates}"

repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
dir=$(realpath -m "${1:-/work/bare-bookworm}")
case "$dir/" in
  "$repo"/*) echo "try_bare_machine.sh: $dir is inside the repository; choose a folder outside it" >&2; exit 2 ;;
esac
[ "$dir" != / ] || { echo "try_bare_machine.sh: refusing /" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "try_bare_machine.sh: needs root (debootstrap, mount, chroot)" >&2; exit 2; }

base=$dir/base
root=$dir/root
logs=$dir/logs
mkdir -p "$dir" "$logs"

# One run at a time per DIR.
exec 9>"$dir/.lock"
flock -n 9 || { echo "try_bare_machine.sh: another run is using $dir" >&2; exit 2; }

# ---------------------------------------------------------------- reporting

step_names=()
step_times=()
step_results=()
failed=0

# record NAME SECONDS RESULT
record() {
  step_names+=("$1")
  step_times+=("$2")
  step_results+=("$3")
  [ "$3" = passed ] || [ "$3" = reused ] || failed=1
}

summary() {
  local i
  echo
  echo "== summary (logs in $logs)"
  for i in "${!step_names[@]}"; do
    printf '  %-48s %-7s %4dm%02ds\n' "${step_names[$i]}" "${step_results[$i]}" \
      $((step_times[i] / 60)) $((step_times[i] % 60))
  done
}

# show_failure LOG MESSAGE: shows the end of a step's log after a failure.
show_failure() {
  echo "FAILED: $2" >&2
  echo "---- last lines of $1" >&2
  tail -n 40 "$1" >&2
  echo "----" >&2
}

# ------------------------------------------------------------------- mounts

# Mount points under DIR/root, deepest first.
mounts_under_root() {
  findmnt -rn -o TARGET | awk -v r="$root/" 'index($0 "/", r) == 1' | sort -r
}

unmount_root() {
  local target
  for target in $(mounts_under_root); do
    umount "$target" 2>/dev/null || umount -l "$target"
  done
}

cleanup() {
  local status=$?
  unmount_root
  summary
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mount_root() {
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  # Unmounting the chroot's /dev must not reach the host's.
  mount --make-rslave "$root/dev"
}

# ------------------------------------------------------- running in chroot

# As root, with a clean environment.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LOGNAME=root USER=root SHELL=/bin/bash \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# As the unprivileged user, in the clone.
as_user() {
  chroot "$root" /usr/sbin/runuser -u "$USER_NAME" -- /usr/bin/env -i HOME=/home/$USER_NAME \
    LOGNAME=$USER_NAME USER=$USER_NAME SHELL=/bin/bash PATH=/usr/local/bin:/usr/bin:/bin \
    /bin/bash -c "cd ~/zelvane && $1"
}

# ------------------------------------------------------------------ mirrors

# The URIs this machine's apt uses for a suite, from one-line and deb822
# sources files (only those apt reads: *.list and *.sources).
apt_uris_for() {
  local suite=$1 file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk -v want="$suite" '
      $1 == "deb" {
        i = 2
        if ($2 ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
        if ($(i + 1) == want) print $i
      }' "$file"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v want="$suite" '
      function flush(   n, s, u, k) {
        if (types ~ /(^| )deb( |$)/ && tolower(enabled) != "no") {
          n = split(suites, s, /[ \t]+/)
          split(uris, u, /[ \t]+/)
          for (k = 1; k <= n; k++) if (s[k] == want) print u[1]
        }
        types = uris = suites = enabled = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      {
        field = tolower($0); sub(/:.*/, "", field)
        value = $0; sub(/^[^:]*:[ \t]*/, "", value)
        if (field == "types") types = value
        else if (field == "uris") uris = value
        else if (field == "suites") suites = value
        else if (field == "enabled") enabled = value
      }
      END { flush() }' "$file"
  done
}

mirror=$(apt_uris_for "$SUITE" | head -n 1)
security=$(apt_uris_for "$SUITE-security" | head -n 1)
[ -n "$mirror" ] || { echo "try_bare_machine.sh: no $SUITE mirror in this machine's apt sources" >&2; exit 2; }
echo "mirror: $mirror${security:+, security: $security}"

# ---------------------------------------------------- the minimal root

# A run that died may have left the chroot's mounts behind: never delete
# through them.
unmount_root
if [ -n "$(mounts_under_root)" ]; then
  echo "try_bare_machine.sh: cannot unmount everything under $root" >&2
  exit 2
fi

start=$SECONDS
if [ -f "$dir/base.complete" ] && [ -x "$base/bin/bash" ]; then
  record "minimal $SUITE root (debootstrap)" 0 reused
else
  command -v debootstrap >/dev/null 2>&1 || {
    echo "installing debootstrap"
    apt-get update -q >"$logs/debootstrap-install.log" 2>&1
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap >>"$logs/debootstrap-install.log" 2>&1
  }
  rm -rf --one-file-system "$base"
  echo "debootstrap --variant=minbase $SUITE $base $mirror"
  if ! debootstrap --variant=minbase "$SUITE" "$base" "$mirror" >"$logs/debootstrap.log" 2>&1; then
    show_failure "$logs/debootstrap.log" "debootstrap"
    record "minimal $SUITE root (debootstrap)" $((SECONDS - start)) failed
    exit 1
  fi
  touch "$dir/base.complete"
  record "minimal $SUITE root (debootstrap)" $((SECONDS - start)) passed
fi

# A fresh copy of the root, with the sources a standard install has, name
# resolution, the unprivileged user and a clone of the committed HEAD.
start=$SECONDS
rm -rf --one-file-system "$root"
cp -a "$base" "$root"
{
  echo "deb $mirror $SUITE main"
  echo "deb $mirror $SUITE-updates main"
  [ -z "$security" ] || echo "deb $security $SUITE-security main"
} >"$root/etc/apt/sources.list"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
mount_root
in_root useradd --create-home --shell /bin/bash "$USER_NAME"
head=$(git -C "$repo" rev-parse HEAD)
git clone --quiet --no-local "$repo" "$root/home/$USER_NAME/zelvane"
git -C "$root/home/$USER_NAME/zelvane" checkout --quiet --detach "$head"
in_root chown -R "$USER_NAME:$USER_NAME" "/home/$USER_NAME/zelvane"
echo "clone of $(git -C "$repo" log -1 --format='%h %s' "$head")"
record "fresh root, user and clone" $((SECONDS - start)) passed

# ------------------------------------------------------------------ step a

echo
echo "== a. apt-get install ${QUICK_START_PACKAGES[*]}"
start=$SECONDS
log=$logs/a-install.log
# --no-install-recommends: the stricter test; with recommends there is only more.
if in_root apt-get update -q >"$log" 2>&1 &&
   in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
     "${QUICK_START_PACKAGES[@]}" >>"$log" 2>&1; then
  record "a. install ${QUICK_START_PACKAGES[*]}" $((SECONDS - start)) passed
  in_root dpkg-query -W -f='${Package} ${Version}\n' "${QUICK_START_PACKAGES[@]}" | sed 's/^/  /'
else
  show_failure "$log" "installing the quick start's packages"
  record "a. install ${QUICK_START_PACKAGES[*]}" $((SECONDS - start)) failed
  exit 1
fi

# ------------------------------------------------------------------ step b

echo
echo "== b. as $USER_NAME (no sudo): make demo"
start=$SECONDS
log=$logs/b-demo.log
if as_user "make demo" >"$log" 2>&1; then
  missing=()
  for file in build/demo/house.obj build/demo/house.mtl build/demo/scene/house.xml; do
    [ -s "$root/home/$USER_NAME/zelvane/$file" ] || missing+=("$file")
  done
  meshes=$(find "$root/home/$USER_NAME/zelvane/build/demo/scene" -name '*.obj' | wc -l)
  [ "$meshes" -gt 0 ] || missing+=("build/demo/scene/*.obj")
  if [ ${#missing[@]} -eq 0 ]; then
    record "b. make demo (user)" $((SECONDS - start)) passed
    grep -E '^(obj pcount|OBJ and MTL|scene with)' "$log" | sed 's/^/  /'
    echo "  scene meshes: $meshes"
  else
    show_failure "$log" "make demo passed but did not write: ${missing[*]}"
    record "b. make demo (user)" $((SECONDS - start)) failed
  fi
else
  show_failure "$log" "make demo"
  record "b. make demo (user)" $((SECONDS - start)) failed
fi

echo
echo "== b. as $USER_NAME (no sudo): make test, expected to stop with the apt-get line"
start=$SECONDS
log=$logs/b-test-user.log
status=0
as_user "make test" >"$log" 2>&1 || status=$?
line=$(grep -E '^ *sudo apt-get install ' "$log" || true)
# Nothing compiled: make's and CMake's build lines would show it.
built=$(grep -cE '(Building CXX|Linking CXX|^\[ *[0-9]+%\]|^\[[0-9]+/[0-9]+\])' "$log" || true)
if [ "$status" -ne 0 ] && [ -n "$line" ] && [ "$built" -eq 0 ]; then
  record "b. make test (user, stops early)" $((SECONDS - start)) passed
  echo "  status $status, printed:$line"
else
  show_failure "$log" "make test as $USER_NAME: status $status, apt-get line '${line}', $built build lines"
  record "b. make test (user, stops early)" $((SECONDS - start)) failed
fi

# ------------------------------------------------------------------ step c

echo
echo "== c. as root: make test (installs the test packages, then builds and runs everything)"
start=$SECONDS
log=$logs/c-test-root.log
status=0
in_root /bin/bash -c "cd /home/$USER_NAME/zelvane && make test" >"$log" 2>&1 || status=$?
passes=$(grep -c '100% tests passed' "$log" || true)
# Every suite named in tests/CMakeLists.txt built in both build folders.
suites=$(grep -oE '^(zelvane_unit_test|add_executable)\([a-z0-9_]+_test\b' \
  "$root/home/$USER_NAME/zelvane/tests/CMakeLists.txt" | sed 's/.*(//')
unbuilt=()
for suite in $suites; do
  for build in build build-sanitize; do
    [ -x "$(find "$root/home/$USER_NAME/zelvane/$build/tests" -name "$suite" -type f 2>/dev/null | head -n 1)" ] ||
      unbuilt+=("$build/$suite")
  done
done
if [ "$status" -eq 0 ] && [ "$passes" -eq 2 ] && [ ${#unbuilt[@]} -eq 0 ]; then
  record "c. make test (root)" $((SECONDS - start)) passed
  grep -E '^Installing ' "$log" | sed 's/^/  /'
  echo "  suites built in build/ and build-sanitize/: $(tr "\n" " " <<<"$suites")"
  grep -E '(tests passed|Total Test time)' "$log" | sed 's/^/  /'
else
  show_failure "$log" "make test as root: status $status, '100% tests passed' $passes times, not built: ${unbuilt[*]:-none}"
  record "c. make test (root)" $((SECONDS - start)) failed
fi

echo
echo "== c. as root: make demo again, after make test"
start=$SECONDS
log=$logs/c-demo-again.log
if in_root /bin/bash -c "cd /home/$USER_NAME/zelvane && make demo" >"$log" 2>&1; then
  record "c. make demo again (root)" $((SECONDS - start)) passed
else
  show_failure "$log" "make demo after make test"
  record "c. make demo again (root)" $((SECONDS - start)) failed
fi

[ "$failed" -eq 0 ] && echo && echo "every step passed"
exit "$failed"
