#!/usr/bin/env bash
# Installs the build and test dependencies on Debian 12. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-dev nlohmann-json3-dev
  libusb-1.0-0-dev libevdev-dev
  libxcb1-dev libxcb-randr0-dev libxcb-res0-dev
  libxkbcommon-dev libxkbcommon-x11-dev libxcb-xkb-dev xkb-data x11-xkb-utils
  qt6-base-dev qt6-base-dev-tools libqt6dbus6
  qt6-tools-dev qt6-l10n-tools qt6-svg-dev
  dbus dbus-x11 xvfb x11-xserver-utils xdotool
  libwayland-dev wayland-protocols sway xwayland grim
  desktop-file-utils xdg-user-dirs
  fonts-dejavu-core
  kwin-wayland plasma-wayland-protocols gnome-shell qt6-wayland gjs
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
