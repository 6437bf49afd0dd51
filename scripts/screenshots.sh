#!/usr/bin/env bash
# Pictures of the settings application's main window on every tab, offscreen, on a private
# session bus: connected to a simulated tablet, then with the agent seeing no tablet.
# Writes BUILD/screenshots/{connected,disconnected}_<page>.png, and helper_*.png of the helper's alerts.
set -euo pipefail
build=${1:-build}
out="$build/screenshots"
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$home"
shoot() {
  # The agent first, so that the settings application does not start one of its own.
  dbus-run-session -- bash -c '
    "$1/bin/NuvroAgent" $3 & agent=$!
    sleep 1
    "$1/bin/NuvroTablet" --screenshots "$2"; rc=$?
    kill -TERM "$agent"; wait "$agent" || true
    exit $rc' _ "$build" "$out" "$1"
}
shoot "--simulate --print-events" >/dev/null
# Without --simulate and without a tablet attached the agent has none to report.
shoot "--print-events" >/dev/null
# The update helper's install prompt and quit alert.
"$build/bin/NuvroHelper" --screenshots "$out"
ls "$out"/*.png
