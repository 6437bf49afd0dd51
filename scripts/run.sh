#!/usr/bin/env bash
# Starts the settings application from a build folder; it starts the agent, with a simulated
# tablet when none is attached. Without a display it runs the agent alone in the foreground,
# its log on the terminal as well as in the system log, Qt offscreen. Extra arguments go to
# the agent.
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
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/bin/NuvroTablet" --simulate
fi
echo "run: no display, the settings application cannot show; running the agent alone, Qt offscreen"
export QT_QPA_PLATFORM=offscreen
exec "$build/bin/NuvroAgent" "${args[@]}" "$@"
