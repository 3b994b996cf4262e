#!/bin/sh
# The placement test's window-manager case on a private X server with openbox: $1 the test
# program, $2 the folder that keeps the screenshots (the main window with the help window
# open, and the viewer). Exits 77 (skipped) where Xvfb or openbox is missing.
set -u
for tool in Xvfb openbox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (apt-get install xvfb openbox)"
        exit 77
    fi
done
mkdir -p "$2"
work=$(mktemp -d)
xvfb_pid=
wm_pid=
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] && kill -0 "$xvfb_pid" 2>/dev/null || { echo "FAILED: Xvfb did not start"; exit 1; }
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
HOME="$work" openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
sleep 1
kill -0 "$wm_pid" 2>/dev/null || { echo "FAILED: openbox did not start"; cat "$work/openbox.log"; exit 1; }

FETALDOSE_SCREENSHOTS="$2" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" \
    "$1" underAWindowManager
status=$?
ls -l "$2"
exit $status
