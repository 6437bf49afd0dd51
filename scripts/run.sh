#!/usr/bin/env bash
# Starts the driver agent from a build folder in the foreground, its log on the terminal
# as well as in the system log. Without a tablet attached it drives a simulated one, and
# without a display Qt runs offscreen. Extra arguments go to the agent.
set -euo pipefail
build=${1:-build}
shift || true
args=(--foreground)

tablet_attached() {
  local v
  for v in /sys/bus/usb/devices/*/idVendor; do
    [ -r "$v" ] && [ "$(cat "$v")" = "3a7e" ] && return 0
  done
  return 1
}

if ! tablet_attached; then
  echo "run: no USB device of vendor 0x3A7E attached, starting with a simulated tablet (--simulate)"
  args+=(--simulate)
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display, Qt runs offscreen"
  export QT_QPA_PLATFORM=offscreen
fi
exec "$build/bin/NuvroAgent" "${args[@]}" "$@"
