#!/usr/bin/env bash
# Takes the README's screenshot of the viewer's context menu from the built program on the
# sample data set, on a private X server, and exports the run's tables to CSV as the menu
# does (for the README's excerpt). Writes help/generalhelp/viewer_context_menu.png and
# prints the first lines of the CSV file.
# Usage: tools/screenshot-context-menu.sh [build]   (needs Xvfb, xdotool, scrot)
set -euo pipefail
build=$(realpath "${1:-build}")
source_dir=$(dirname "$(dirname "$(realpath "$0")")")
out="$source_dir/help/generalhelp/viewer_context_menu.png"
work=$(mktemp -d)
pids=()
stop() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap stop EXIT
. "$(dirname "$(realpath "$0")")/private-display.sh"

cp -r "$build/run/data" "$work/data"
chmod -R u+w "$work/data"
start_private_display 1024x768x24
pids+=("$xvfb_pid")
(cd "$work" && QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" HOME="$work" \
    exec "$build/src/app/fetaldose") >/dev/null 2>&1 &
pids+=($!)

window() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click "${3:-1}"; sleep 0.3; }

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
click 604 352  # Run

VIEWER=$(window '^Dose coefficient \(Sv/Bq\)$')
xdotool windowfocus --sync "$VIEWER"
eval "$(xdotool getwindowgeometry --shell "$VIEWER")"
click 60 140 3  # right-click into the table
sleep 0.5
# The viewer with its menu: the menu is a window of its own, so the screen is cut to the
# viewer's place.
scrot -o -a "$X,$Y,$WIDTH,$HEIGHT" "$out"
xdotool key Escape
sleep 0.3

# Ctrl+E, then the name typed into the file dialog.
xdotool key ctrl+e
DIALOG=$(window '^Export all tables$')
xdotool windowfocus --sync "$DIALOG"
sleep 0.5
xdotool type --delay 20 "$work/tables.csv"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/tables.csv" ] && break; sleep 0.2; done
file "$out"
head -n 20 "$work/tables.csv"
