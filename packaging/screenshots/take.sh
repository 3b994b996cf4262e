#!/usr/bin/env bash
# Takes the two screenshots the AppStream metadata shows (selection.png, viewer.png) from the
# built program on the sample data set, on a private X server.
# Usage: packaging/screenshots/take.sh [build]   (needs Xvfb, xdotool, scrot)
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
pids=()
stop() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap stop EXIT
. "$(dirname "$(realpath "$0")")/../../tools/private-display.sh"

cp -r "$build/run/data" "$work/data"
chmod -R u+w "$work/data"
start_private_display 1024x768x24
pids+=("$xvfb_pid")
(cd "$work" && QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" \
    exec "$build/src/app/fetaldose") >/dev/null 2>&1 &
pids+=($!)

window() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; sleep 0.2; }
shoot() {
    xdotool windowfocus --sync "$1"
    sleep 0.5
    scrot -o -u "$out/$2"
}

xdotool windowfocus --sync "$(window '^fetaldose$')" key Return  # the first-run notice
WIN=$(window '^VORQ Embryo/Fetus CD-ROM$')
eval "$(xdotool getwindowgeometry --shell "$WIN")"
Y=$((Y + HEIGHT - 439))  # the client area of 668 x 439 lies below the menu bar
click 99 274
xdotool type --delay 40 pu-239
xdotool key Return
for spot in "283 37" "283 130" "474 109" "282 353" "282 381" "26 353" "26 381" "26 409"; do
    click "${spot% *}" "${spot#* }"  # Public, Ingestion, a scenario, two tissues, three periods
done
shoot "$WIN" selection.png
click 604 352  # Run
shoot "$(window '^Dose coefficient \(Sv/Bq\)$')" viewer.png
file "$out"/*.png
