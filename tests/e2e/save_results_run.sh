#!/usr/bin/env bash
# A whole session as a person has it, on a private X server: the first-run notice, two nuclides
# typed into the finder, boxes clicked, Run, Next, Save to file under a typed name, Return to
# input and Exit. The saved results file must equal the known-good one byte for byte.
#
# Usage: save_results_run.sh <program> <folder with data/ and expected_results.dos>
# Exits 77 (skipped) where Xvfb or xdotool is missing.
#
# The fixture: Cs-137 has one ingestion entry for the public and one for workers, I-131 a vapour
# and an ingestion entry for the public only. The session chooses both groups, ingestion, the
# scenario "At conception", Bladder and Brain (3 rows) and the periods 1 and 70 years, so the
# file holds three tables of 18 lines: Cs-137 public, Cs-137 worker ("ltzero"), I-131 public
# ("All"). Their offspring sums round down (4.73E-06 -> 4.7E-06), up (2.06E-10 -> 2.1E-10) and
# into a new exponent (9.6E-06 + 5.0E-07 -> 1.0E-05, 9.9E-16 + 1.0E-16 -> 1.1E-15); I-131's in
# utero text 0.00003 has no exponent and is written as it stands.
set -uo pipefail

program=$1
fixture=$2

. "$(dirname "$0")/../../tools/private-display.sh"
require_tools Xvfb xdotool

work=$(mktemp -d)
xvfb_pid=
program_pid=

cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        import -window root "$work/failure.png" 2>/dev/null && echo "Screen at the failure: $work/failure.png"
    fi
    echo "Working folder kept: $work"
    exit 1
}

# Polls a condition every fifth of a second for at most 30 seconds.
wait_for() {
    local what=$1 end=$((SECONDS + 30))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "timed out waiting for $what"
        sleep 0.2
    done
}

program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_ended() { ! program_running; }
window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
window_shown() {
    program_running || fail "the program ended unexpectedly"
    [ -n "$(window_id "$1")" ]
}
window_gone() { [ -z "$(window_id "$1")" ]; }

# Waits for a window and sets WIN, X, Y, WIDTH and HEIGHT to its id and screen geometry.
find_window() {
    wait_for "the window \"$1\"" window_shown "$1"
    WIN=$(window_id "$1")
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
}

# Clicks at x, y relative to the top-left corner of the window found last (plus an offset
# below it for the main window's menu bar).
click() { xdotool mousemove --sync $((X + $1)) $((Y + ${3:-0} + $2)) click 1; }

# Keys go to the window with the input focus, as they would for a person who clicked in it.
keys() { xdotool windowfocus "$WIN" key "$@"; }
type_text() {
    xdotool windowfocus "$WIN"
    xdotool type --delay 40 "$1"
}

cp -r "$fixture/data" "$work/data" && chmod -R u+w "$work/data" || fail "cannot copy the data set"

start_private_display 1280x1024x24

(cd "$work" && QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" exec "$program") \
    >"$work/program.log" 2>&1 &
program_pid=$!

# The data files are not read-only yet: the first-run notice comes before the main window.
find_window '^fetaldose$'
keys Return

main='^VORQ Embryo/Fetus CD-ROM$'
find_window "$main"
menu=$((HEIGHT - 439))  # the client area of 668 x 439 lies below the menu bar

click 99 274 "$menu"  # the finder box "Select:"
type_text cs-137
keys Return
type_text i-131
keys Return
click 283 37 "$menu"   # Public
click 283 54 "$menu"   # Occupational
click 283 130 "$menu"  # Ingestion
click 474 109 "$menu"  # acute scenario "At conception", the third item
click 282 353 "$menu"  # tissue "Bladder", the first item
click 282 381 "$menu"  # tissue "Brain", the third item
click 26 353 "$menu"   # period "1 year"
click 26 409 "$menu"   # period "70 years", the fifth item
click 604 352 "$menu"  # Run

viewer='^Dose coefficient \(Sv/Bq\)$'
find_window "$viewer"
bottom=$((HEIGHT - 64))  # the panel with the paging and command buttons
click 104 $((bottom + 27))  # Next

# "Next" closes the viewer and shows it again; a click that falls between the two is lost,
# as it would be for a person, who would then press again.
saver='^Save results to file$'
for _ in 1 2 3 4 5; do
    find_window "$viewer"
    click 395 $((HEIGHT - 64 + 46))  # Save to file
    end=$((SECONDS + 4))
    while window_gone "$saver" && [ "$SECONDS" -lt "$end" ]; do sleep 0.2; done
    window_gone "$saver" || break
done
find_window "$saver"
click 136 154  # the file-name box, which holds the mask "*.dos"
keys ctrl+a
type_text session.dos
click 256 156  # Save
wait_for "the save window to close" window_gone "$saver"

find_window "$viewer"
click 394 $((HEIGHT - 64 + 17))  # Return to input
wait_for "the viewer to close" window_gone "$viewer"

find_window "$main"
click 604 400 "$menu"  # Exit
wait_for "the program to end" program_ended
wait "$program_pid"
status=$?
program_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"

saved="$work/session.dos"
[ -f "$saved" ] || fail "no results file was saved"
if ! cmp "$fixture/expected_results.dos" "$saved"; then
    diff -u --label expected "$fixture/expected_results.dos" --label saved "$saved" | cat -A
    fail "the saved results file differs from the known-good one"
fi
rm -rf "$work"
echo "The saved results file equals the known-good one."
