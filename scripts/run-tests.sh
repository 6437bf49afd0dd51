#!/usr/bin/env bash
# Runs every test of a build folder on a private session bus, with an X server when
# one can be started, as the tests of the bus and display adapters need them.
set -euo pipefail
build=${1:-build}
cd "$build"
# Tests never touch the user's own configuration or autostart entries.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
cleanup() { rm -rf "$XDG_CONFIG_HOME"; }
run() {
  if command -v dbus-run-session >/dev/null; then
    dbus-run-session -- ctest --output-on-failure -j "$(nproc)" "$@"
  else
    ctest --output-on-failure -j "$(nproc)" "$@"
  fi
}
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
  display=":$((90 + RANDOM % 100))"
  Xvfb "$display" -screen 0 1920x1080x24 +extension RANDR >/dev/null 2>&1 &
  xvfb=$!
  cleanup() { rm -rf "$XDG_CONFIG_HOME"; kill "$xvfb" 2>/dev/null || true; }
  export DISPLAY=$display
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
fi
trap cleanup EXIT
run "$@"
