#!/usr/bin/env bash
# Starts the suite from a build folder.
set -euo pipefail
build=${1:-build}
exec "$build/bin/nuvro-demo"
