#!/usr/bin/env bash
# Checks that the README's quick start works on a bare Debian 12 machine:
# a fresh clone of the committed HEAD, in a minimal bookworm chroot that has
# only what the quick start names.
#
#   tools/try_bare_machine.sh [DIR]
#   PACKAGES="make cmake g++" tools/try_bare_machine.sh [DIR]
#   STEPS=d tools/try_bare_machine.sh [DIR]      # steps a and d only
#   SOURCE=worktree tools/try_bare_machine.sh [DIR]
#
# STEPS names the steps after a to run (default "b c d e"; a always runs).
# SOURCE=worktree puts the working tree's uncommitted changes and untracked
# files (those git does not ignore) on top of the clone, to try work before
# it is committed.
#
# Needs root (debootstrap, mount, chroot) and the Debian mirror that this
# machine's apt uses. DIR (default /work/bare-bookworm, never inside the
# repository) holds:
#   DIR/base   a `debootstrap --variant=minbase bookworm` root, made once and
#              reused; never changed afterwards (delete it to make it anew)
#   DIR/root   a copy of base for this run, replaced on every run
#   DIR/install-root
#              another copy of base for steps d and e, with no build tools
#   DIR/logs   the output of every step
#
# Steps, each timed:
#   a. as root: apt-get install make cmake g++ libstb-dev zlib1g-dev libtinyobjloader-dev libtinygltf-dev nlohmann-json3-dev git ca-certificates
#      (or the packages PACKAGES names)
#   b. as an unprivileged user without sudo: `make demo` must pass and write
#      build/demo/house.obj, house.mtl and scene/house.xml with its meshes;
#      then `make test` must stop at once, non-zero, printing the
#      `sudo apt-get install ...` line, before building anything
#   c. as root: `make test` must install the test packages itself, build
#      every test suite and end with `100% tests passed` twice; then
#      `make demo` again must pass in the same tree, now that the test
#      packages are there
#   d. as root: `make package` must install what it needs itself and build
#      build-package/zelvane_<version>_<arch>.deb with the binary, the
#      manual page, README.md, CONTRIBUTING.md, every page of doc/ and the
#      house's picture, and the copyright file; then, in
#      DIR/install-root (base alone: no compiler, no CMake), `apt-get install
#      ./zelvane_*.deb` must pass, the installed /usr/bin/zelvane, run by an
#      unprivileged user, must convert examples/house.mag (status 0, the
#      banner of the package's version and the load report, house.obj and
#      house.mtl written), `man -w zelvane` must find the manual page and
#      `man zelvane` show it; with the desktop's shared-mime-info and
#      libglib2.0-bin installed too, `gio info` must give house.mag the type
#      model/x-mag5, and the Exec line of the package's thumbnailer, run as a
#      file manager runs it, must write a 128 x 128 PNG and print nothing;
#      and `apt-get purge zelvane` must remove it all
#   e. as root: `make package-blender` must install what it needs itself and
#      build build-package/zelvane-blender-<version>.zip with the add-on and
#      both converters; then, in DIR/install-root (base alone, with the C++
#      runtime removed), the zip's Linux converter, run by an unprivileged
#      user, must convert examples/house.mag with its textures to house.glb
#      (status 0, the banner and the load report, nothing on standard error)
# The exit status is 0 when every step passed.
set -euo pipefail

SUITE=bookworm
USER_NAME=builder
read -r -a QUICK_START_PACKAGES <<<"${PACKAGES:-make cmake g++ libstb-dev zlib1g-dev libtinyobjloader-dev libtinygltf-dev nlohmann-json3-dev git ca-certificates}"
read -r -a STEPS <<<"${STEPS:-b c d e}"
SOURCE=${SOURCE:-head}

repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
dir=$(realpath -m "${1:-/work/bare-bookworm}")
case "$dir/" in
  "$repo"/*) echo "try_bare_machine.sh: $dir is inside the repository; choose a folder outside it" >&2; exit 2 ;;
esac
[ "$dir" != / ] || { echo "try_bare_machine.sh: refusing /" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "try_bare_machine.sh: needs root (debootstrap, mount, chroot)" >&2; exit 2; }
for step in "${STEPS[@]}"; do
  case "$step" in
    b | c | d | e) ;;
    *) echo "try_bare_machine.sh: no step '$step' in STEPS (b, c, d, e; a always runs)" >&2; exit 2 ;;
  esac
done
case "$SOURCE" in
  head | worktree) ;;
  *) echo "try_bare_machine.sh: SOURCE is head or worktree, not '$SOURCE'" >&2; exit 2 ;;
esac

# wanted STEP: whether STEPS names it.
wanted() {
  local step
  for step in "${STEPS[@]}"; do
    [ "$step" = "$1" ] && return 0
  done
  return 1
}

base=$dir/base
root=$dir/root
install_root=$dir/install-root
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

# Mount points under DIR/root (or the root given), deepest first.
mounts_under_root() {
  findmnt -rn -o TARGET | awk -v r="${1:-$root}/" 'index($0 "/", r) == 1' | sort -r
}

unmount_root() {
  local target
  for target in $(mounts_under_root "${1:-$root}"); do
    umount "$target" 2>/dev/null || umount -l "$target"
  done
}

cleanup() {
  local status=$?
  unmount_root "$install_root"
  unmount_root
  summary
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mount_root() {
  local target=${1:-$root}
  mount -t proc proc "$target/proc"
  mount -t sysfs sysfs "$target/sys"
  mount --rbind /dev "$target/dev"
  # Unmounting the chroot's /dev must not reach the host's.
  mount --make-rslave "$target/dev"
}

# ------------------------------------------------------- running in chroot

# in_root_of ROOT COMMAND...: as root in ROOT, with a clean environment.
in_root_of() {
  local target=$1
  shift
  chroot "$target" /usr/bin/env -i HOME=/root LOGNAME=root USER=root SHELL=/bin/bash \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# As root in DIR/root.
in_root() {
  in_root_of "$root" "$@"
}

# as_user_of ROOT COMMAND_LINE: as the unprivileged user in ROOT, in its home.
as_user_of() {
  chroot "$1" /usr/sbin/runuser -u "$USER_NAME" -- /usr/bin/env -i HOME=/home/$USER_NAME \
    LOGNAME=$USER_NAME USER=$USER_NAME SHELL=/bin/bash PATH=/usr/local/bin:/usr/bin:/bin \
    /bin/bash -c "cd ~ && $2"
}

# As the unprivileged user in DIR/root, in the clone.
as_user() {
  as_user_of "$root" "cd zelvane && $1"
}

# ------------------------------------------------------------------ mirrors

source "$(dirname "$0")/apt_sources.sh"
mirror=$(apt_uris_for "$SUITE" | head -n 1)
security=$(apt_uris_for "$SUITE-security" | head -n 1)
[ -n "$mirror" ] || { echo "try_bare_machine.sh: no $SUITE mirror in this machine's apt sources" >&2; exit 2; }
echo "mirror: $mirror${security:+, security: $security}"

# ---------------------------------------------------- the minimal root

# A run that died may have left the chroots' mounts behind: never delete
# through them.
for target in "$root" "$install_root"; do
  unmount_root "$target"
  if [ -n "$(mounts_under_root "$target")" ]; then
    echo "try_bare_machine.sh: cannot unmount everything under $target" >&2
    exit 2
  fi
done

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

# fresh_root ROOT: a fresh copy of the base in ROOT, mounted, with the
# sources a standard install has, name resolution and the unprivileged user.
fresh_root() {
  rm -rf --one-file-system "$1"
  cp -a "$base" "$1"
  {
    echo "deb $mirror $SUITE main"
    echo "deb $mirror $SUITE-updates main"
    [ -z "$security" ] || echo "deb $security $SUITE-security main"
  } >"$1/etc/apt/sources.list"
  cp -L /etc/resolv.conf "$1/etc/resolv.conf"
  mount_root "$1"
  in_root_of "$1" useradd --create-home --shell /bin/bash "$USER_NAME"
}

# DIR/root, with a clone of the committed HEAD (and with SOURCE=worktree the
# working tree's changes on top).
start=$SECONDS
rm -rf --one-file-system "$install_root"
fresh_root "$root"
head=$(git -C "$repo" rev-parse HEAD)
clone=$root/home/$USER_NAME/zelvane
git clone --quiet --no-local "$repo" "$clone"
git -C "$clone" checkout --quiet --detach "$head"
echo "clone of $(git -C "$repo" log -1 --format='%h %s' "$head")"
if [ "$SOURCE" = worktree ]; then
  # Changed and untracked files are copied, deleted ones removed.
  changed=0
  while IFS= read -r -d '' path; do
    if [ -e "$repo/$path" ] || [ -L "$repo/$path" ]; then
      mkdir -p "$(dirname "$clone/$path")"
      cp -a "$repo/$path" "$clone/$path"
    else
      rm -f "$clone/$path"
    fi
    changed=$((changed + 1))
  done < <(git -C "$repo" ls-files -z --modified --deleted --others --exclude-standard | sort -zu)
  echo "  with the working tree's changes: $changed files"
fi
in_root chown -R "$USER_NAME:$USER_NAME" "/home/$USER_NAME/zelvane"
if [ "$SOURCE" = worktree ]; then
  record "fresh root, user and clone (+ working tree)" $((SECONDS - start)) passed
else
  record "fresh root, user and clone" $((SECONDS - start)) passed
fi

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

if wanted b; then
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
fi

# ------------------------------------------------------------------ step c

if wanted c; then
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
fi

# ------------------------------------------------------------------ step d

if wanted d; then
  echo
  echo "== d. as root: make package"
  start=$SECONDS
  log=$logs/d-package.log
  status=0
  in_root /bin/bash -c "cd /home/$USER_NAME/zelvane && make package" >"$log" 2>&1 || status=$?
  debs=()
  for file in "$clone"/build-package/zelvane_*.deb; do
    [ -f "$file" ] && debs+=("$file")
  done
  problems=()
  if [ "$status" -ne 0 ]; then
    problems+=("status $status")
  elif [ ${#debs[@]} -ne 1 ]; then
    problems+=("${#debs[@]} files build-package/zelvane_*.deb, not one")
  else
    deb=${debs[0]}
    in_deb=${deb#"$root"}
    { echo "---- dpkg-deb -I"; in_root dpkg-deb -I "$in_deb"; echo "---- dpkg-deb -c"; in_root dpkg-deb -c "$in_deb"; } >>"$log" 2>&1
    contents=$(in_root dpkg-deb -c "$in_deb" | awk '{ print $6 }')
    pages=()
    for page in "$clone"/doc/*.md "$clone"/doc/house.preview.png; do
      pages+=("./usr/share/doc/zelvane/doc/${page##*/}")
    done
    for file in ./usr/bin/zelvane ./usr/share/man/man1/zelvane.1.gz ./usr/share/doc/zelvane/README.md \
        ./usr/share/doc/zelvane/CONTRIBUTING.md "${pages[@]}" ./usr/share/doc/zelvane/copyright \
        ./usr/share/mime/packages/zelvane.xml ./usr/share/thumbnailers/zelvane.thumbnailer; do
      grep -qxF "$file" <<<"$contents" || problems+=("no $file in the package")
    done
    version=$(in_root dpkg-deb -f "$in_deb" Version)
    depends=$(in_root dpkg-deb -f "$in_deb" Depends)
    [ -n "$depends" ] || problems+=("no Depends field")
  fi
  if [ ${#problems[@]} -eq 0 ]; then
    record "d. make package (root)" $((SECONDS - start)) passed
    grep -E '^Installing ' "$log" | sed 's/^/  /'
    echo "  ${deb#"$clone"/}: version $version, depends $depends"
  else
    show_failure "$log" "make package: $(printf '%s; ' "${problems[@]}")"
    record "d. make package (root)" $((SECONDS - start)) failed
  fi

  echo
  echo "== d. in a bare root: apt-get install the package, convert the sample house, man zelvane"
  start=$SECONDS
  log=$logs/d-install.log
  if [ ${#problems[@]} -ne 0 ]; then
    echo "  skipped: no package"
    record "d. install and run the package (bare root)" 0 skipped
  else
    fresh_root "$install_root"
    cp "$deb" "$install_root/tmp/"
    cp "$clone/examples/house.mag" "$install_root/home/$USER_NAME/"
    in_root_of "$install_root" chown "$USER_NAME:$USER_NAME" "/home/$USER_NAME/house.mag"
    home=$install_root/home/$USER_NAME
    problems=()
    # man-db for `man`, and what a desktop has for file types: the package
    # itself needs nothing beyond its Depends.
    if ! { in_root_of "$install_root" apt-get update -q &&
           in_root_of "$install_root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
             --no-install-recommends "/tmp/${deb##*/}" man-db shared-mime-info libglib2.0-bin; } >"$log" 2>&1; then
      problems+=("apt-get install failed")
    else
      for tool in cmake g++ make; do
        [ ! -e "$install_root/usr/bin/$tool" ] || problems+=("$tool is installed: not a bare root")
      done
      status=0
      as_user_of "$install_root" "command -v zelvane && zelvane house.mag" >"$logs/d-convert.out" 2>"$logs/d-convert.err" ||
        status=$?
      { echo "---- zelvane house.mag: status $status, standard output:"; cat "$logs/d-convert.out"
        echo "---- standard error:"; cat "$logs/d-convert.err"; } >>"$log"
      [ "$status" -eq 0 ] || problems+=("zelvane house.mag: status $status")
      [ "$(sed -n 1p "$logs/d-convert.out")" = /usr/bin/zelvane ] || problems+=("zelvane is not /usr/bin/zelvane")
      banner="Zelvane - The Darvonelle Converter [R$version]"
      [ "$(sed -n 2p "$logs/d-convert.out")" = "$banner" ] || problems+=("no banner '$banner'")
      for line in "poly count: 264" "pc: 264 tpc:58 qpc: 206" "obj pcount: 264"; do
        grep -qxF "$line" "$logs/d-convert.out" || problems+=("no '$line' on standard output")
      done
      [ ! -s "$logs/d-convert.err" ] || problems+=("standard error not empty")
      for file in house.obj house.mtl; do
        [ -s "$home/$file" ] || problems+=("no $file")
      done
      grep -qx 'mtllib house.mtl' "$home/house.obj" 2>/dev/null || problems+=("house.obj does not name house.mtl")
      manual=$(as_user_of "$install_root" "man -w zelvane" 2>>"$log" || true)
      [ "$manual" = /usr/share/man/man1/zelvane.1.gz ] || problems+=("man -w zelvane gave '$manual'")
      as_user_of "$install_root" "MANPAGER=cat man zelvane" >"$logs/d-man.txt" 2>>"$log" || true
      for heading in NAME SYNOPSIS OPTIONS "EXIT STATUS" EXAMPLES; do
        grep -qx "$heading" "$logs/d-man.txt" || problems+=("man zelvane shows no $heading")
      done
      # The type a file manager sees, and its thumbnailer's Exec line run as
      # a file manager runs it (%s the size, %i the file, %o the picture).
      content_type=$(as_user_of "$install_root" "gio info -a standard::content-type house.mag" 2>>"$log" |
        sed -n 's/^ *standard::content-type: //p')
      [ "$content_type" = model/x-mag5 ] || problems+=("gio info gives house.mag the type '$content_type'")
      thumbnailer=$(sed -n 's/^Exec=//p' "$install_root/usr/share/thumbnailers/zelvane.thumbnailer")
      thumbnail_command=${thumbnailer//%s/128}
      thumbnail_command=${thumbnail_command//%i/house.mag}
      thumbnail_command=${thumbnail_command//%o/thumbnail.png}
      status=0
      as_user_of "$install_root" "$thumbnail_command" >"$logs/d-thumbnail.out" 2>>"$log" || status=$?
      [ "$status" -eq 0 ] || problems+=("$thumbnail_command: status $status")
      [ ! -s "$logs/d-thumbnail.out" ] || problems+=("$thumbnail_command printed something")
      picture=$(/usr/bin/python3 -c 'import sys; from PIL import Image; i = Image.open(sys.argv[1]); print(i.format, i.size[0], i.size[1], i.mode)' \
        "$home/thumbnail.png" 2>>"$log" || true)
      [ "$picture" = "PNG 128 128 RGBA" ] || problems+=("the thumbnail is '$picture', not a 128 x 128 RGBA PNG")
      if in_root_of "$install_root" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q zelvane >>"$log" 2>&1; then
        for file in /usr/bin/zelvane /usr/share/man/man1/zelvane.1.gz /usr/share/doc/zelvane \
            /usr/share/mime/packages/zelvane.xml /usr/share/thumbnailers/zelvane.thumbnailer; do
          [ ! -e "$install_root$file" ] || problems+=("$file left after apt-get purge")
        done
      else
        problems+=("apt-get purge zelvane failed")
      fi
    fi
    unmount_root "$install_root"
    if [ ${#problems[@]} -eq 0 ]; then
      record "d. install and run the package (bare root)" $((SECONDS - start)) passed
      sed -n 2,8p "$logs/d-convert.out" | sed 's/^/  /'
      echo "  man -w zelvane: $manual"
      echo "  gio info: house.mag is $content_type; $thumbnail_command wrote a $picture"
    else
      show_failure "$log" "$(printf '%s; ' "${problems[@]}")"
      record "d. install and run the package (bare root)" $((SECONDS - start)) failed
    fi
  fi
fi

# ------------------------------------------------------------------ step e

if wanted e; then
  echo
  echo "== e. as root: make package-blender"
  start=$SECONDS
  log=$logs/e-package-blender.log
  status=0
  in_root /bin/bash -c "cd /home/$USER_NAME/zelvane && make package-blender" >"$log" 2>&1 || status=$?
  zips=()
  for file in "$clone"/build-package/zelvane-blender-*.zip; do
    [ -f "$file" ] && zips+=("$file")
  done
  problems=()
  linux_converter=io_scene_mag5/bin/linux-x86_64/zelvane
  if [ "$status" -ne 0 ]; then
    problems+=("status $status")
  elif [ ${#zips[@]} -ne 1 ]; then
    problems+=("${#zips[@]} files build-package/zelvane-blender-*.zip, not one")
  else
    addon_zip=${zips[0]}
    version=${addon_zip##*/zelvane-blender-}
    version=${version%.zip}
    contents=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' \
      "$addon_zip")
    { echo "---- contents of ${addon_zip##*/}"; echo "$contents"; } >>"$log"
    for file in io_scene_mag5/__init__.py io_scene_mag5/LICENSE "$linux_converter" \
        io_scene_mag5/bin/windows-x86_64/zelvane.exe; do
      grep -qxF "$file" <<<"$contents" || problems+=("no $file in the zip")
    done
  fi
  if [ ${#problems[@]} -eq 0 ]; then
    record "e. make package-blender (root)" $((SECONDS - start)) passed
    echo "  ${addon_zip#"$clone"/}: $(stat -c %s "$addon_zip") bytes"
  else
    show_failure "$log" "make package-blender: $(printf '%s; ' "${problems[@]}")"
    record "e. make package-blender (root)" $((SECONDS - start)) failed
  fi

  echo
  echo "== e. in a bare root without the C++ runtime: the zip's Linux converter converts the sample house"
  start=$SECONDS
  log=$logs/e-convert.log
  if [ ${#problems[@]} -ne 0 ]; then
    echo "  skipped: no zip"
    record "e. the zip's Linux converter (bare root)" 0 skipped
  else
    fresh_root "$install_root"
    home=$install_root/home/$USER_NAME
    python3 -c 'import shutil, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z, z.open(sys.argv[2]) as f, open(sys.argv[3], "wb") as o:
    shutil.copyfileobj(f, o)' "$addon_zip" "$linux_converter" "$home/zelvane"
    # Blender's add-on install drops the executable bit too; the add-on sets it again.
    chmod 755 "$home/zelvane"
    cp "$clone/examples/house.mag" "$clone"/examples/*.pcx "$home/"
    in_root_of "$install_root" chown -R "$USER_NAME:$USER_NAME" "/home/$USER_NAME"
    problems=()
    # apt needs the C++ runtime, but this root is thrown away after the step.
    in_root_of "$install_root" dpkg --purge --force-depends libstdc++6 >"$log" 2>&1 ||
      problems+=("dpkg --purge libstdc++6 failed")
    runtime=$(find "$install_root" -xdev -name 'libstdc++.so*' | sed "s|^$install_root||")
    [ -z "$runtime" ] || problems+=("the C++ runtime is still there: $runtime")
    status=0
    as_user_of "$install_root" "./zelvane house.mag --glb" >"$logs/e-convert.out" 2>"$logs/e-convert.err" ||
      status=$?
    { echo "---- ./zelvane house.mag --glb: status $status, standard output:"; cat "$logs/e-convert.out"
      echo "---- standard error:"; cat "$logs/e-convert.err"; } >>"$log"
    [ "$status" -eq 0 ] || problems+=("zelvane house.mag --glb: status $status")
    banner="Zelvane - The Darvonelle Converter [R$version]"
    [ "$(sed -n 1p "$logs/e-convert.out")" = "$banner" ] || problems+=("no banner '$banner'")
    for line in "poly count: 264" "pc: 264 tpc:58 qpc: 206" "glb pcount: 264"; do
      grep -qxF "$line" "$logs/e-convert.out" || problems+=("no '$line' on standard output")
    done
    [ ! -s "$logs/e-convert.err" ] || problems+=("standard error not empty")
    [ "$(head -c 4 "$home/house.glb" 2>/dev/null)" = glTF ] || problems+=("no house.glb")
    unmount_root "$install_root"
    if [ ${#problems[@]} -eq 0 ]; then
      record "e. the zip's Linux converter (bare root)" $((SECONDS - start)) passed
      sed -n 1,7p "$logs/e-convert.out" | sed 's/^/  /'
      echo "  house.glb: $(stat -c %s "$home/house.glb") bytes"
    else
      show_failure "$log" "$(printf '%s; ' "${problems[@]}")"
      record "e. the zip's Linux converter (bare root)" $((SECONDS - start)) failed
    fi
  fi
fi

[ "$failed" -eq 0 ] && echo && echo "every step passed"
exit "$failed"
