#!/usr/bin/env bash
# Starts the program in the folder that holds the generated sample data/ and help/.
set -euo pipefail
rundir=$1
program=$(realpath "$2")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: start it under a virtual one with 'xvfb-run -a make run'." >&2
    exit 1
fi
cd "$rundir"
exec "$program"
