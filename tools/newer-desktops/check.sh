#!/usr/bin/env bash
# Runs the desktop adapters' tests against the KWin and GNOME Shell of a newer Debian release than
# this machine's (trixie by default: KWin 6, GNOME Shell 48), to see the KWin script and the shell
# extension work there before a user does. The release is bootstrapped once into a chroot. The
# tests, built here, then run in a private mount and pid namespace in which /usr/bin/kwin_wayland
# and /usr/bin/gnome-shell start the chroot's programs; these share this machine's /tmp (buses,
# runtime folders, the tests' files), the source and build trees and its process ids, so the
# windows' processes are the ones the tests see. A manual check for root, never run by the tests.
#
# Usage: tools/newer-desktops/check.sh BUILD_DIR [CHROOT_DIR] [SUITE] [CTEST_REGEX]
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR [CHROOT_DIR] [SUITE] [CTEST_REGEX]}")
suite=${3:-trixie}
root=$(realpath -m "${2:-/var/tmp/nuvro-newer-desktop-$suite}")
tests=${4:-KWinFixture|KWinWorkspace|FakeShell|GnomeShellWorkspace|AgentOn(KWin|GnomeShell)}
src=$(realpath "$(dirname "$0")/../..")

[ "$(id -u)" = 0 ] || { echo "run as root (debootstrap, chroot, mounts)"; exit 1; }
for p in /usr/bin/kwin_wayland /usr/bin/gnome-shell; do
  [ -e "$p" ] || { echo "$p missing: scripts/install-deps.sh installs it, the tests need it to be there"; exit 1; }
done

if [ ! -x "$root/usr/bin/gnome-shell" ] || [ ! -x "$root/usr/bin/kwin_wayland" ]; then
  command -v debootstrap >/dev/null || apt-get install -y --no-install-recommends debootstrap
  [ -e "$root/etc/debian_version" ] || debootstrap --variant=minbase "$suite" "$root" http://deb.debian.org/debian
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  unshare --mount bash -ec '
    mount -t proc proc "$1/proc"; mount --bind /dev "$1/dev"; mount --bind /sys "$1/sys"
    chroot "$1" apt-get update
    DEBIAN_FRONTEND=noninteractive chroot "$1" apt-get install -y --no-install-recommends \
      kwin-wayland gnome-shell libgl1-mesa-dri libegl-mesa0 xwayland' _ "$root"
fi

cmake --build "$build" -j2 --target kwinworkspace_tests gnomeshellworkspace_tests agent_wayland_tests

# The installed kwin_wayland carries a file capability that a container may not grant: the copy
# has none and keeps the name, which KWin's platform plugin checks.
cp "$root/usr/bin/kwin_wayland" "$root/usr/local/bin/kwin_wayland"
wrappers=$(mktemp -d)
trap 'rm -rf "$wrappers"' EXIT
printf '#!/bin/sh\nexec chroot %q /usr/local/bin/kwin_wayland "$@"\n' "$root" > "$wrappers/kwin_wayland"
printf '#!/bin/sh\nexec chroot %q /usr/bin/gnome-shell "$@"\n' "$root" > "$wrappers/gnome-shell"
chmod 755 "$wrappers"/*

unshare --pid --fork --mount-proc bash -ec '
  root=$1 wrappers=$2 src=$3 build=$4 tests=$5
  mount -t proc proc "$root/proc"
  for d in /dev /dev/pts /sys /tmp; do mount --bind "$d" "$root$d"; done
  mount -t tmpfs tmpfs "$root/run"
  for d in "$src" "$build"; do mkdir -p "$root$d"; mount --bind "$d" "$root$d"; done
  mount --bind "$wrappers/kwin_wayland" /usr/bin/kwin_wayland
  mount --bind "$wrappers/gnome-shell" /usr/bin/gnome-shell
  echo "$(kwin_wayland --version 2>&1 | tail -1), $(gnome-shell --version 2>&1 | tail -1)"
  cd "$build" && ctest -R "$tests" --output-on-failure' _ "$root" "$wrappers" "$src" "$build" "$tests"
