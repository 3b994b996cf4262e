#!/bin/sh
# Runs the assessment window test's screenshots on a virtual X display: $1 the test program, $2
# the folder for the screenshots. Exits 77 (skipped) where xvfb-run is missing.
set -eu
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIPPED: xvfb-run is not installed (apt-get install xvfb xauth)"
    exit 77
fi
mkdir -p "$2"
FETALDOSE_ASSESSMENT_SCREENSHOTS="$2" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$1" screenshot
ls -l "$2"
