#!/usr/bin/env bash
# "Copy table" read back by another X client: the probe copies table 1 of the known session in
# the offspring view on a private X server, and xclip reads the clipboard as a paste would, as
# HTML (text/html) and as text (UTF8_STRING). The rows must be the known-good results file's:
# tissue, in-utero dose, offspring doses.
#
# Usage: clipboard_xclip.sh <report_probe> <e2e folder with data/ and expected_results.dos>
# Exits 77 (skipped) where Xvfb or xclip is missing.
set -uo pipefail

probe=$1
fixture=$2

. "$(dirname "$0")/../../../tools/private-display.sh"
require_tools Xvfb xclip

work=$(mktemp -d)
xvfb_pid=
probe_pid=

cleanup() {
    exec 5>&- 2>/dev/null
    [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    exit 1
}

wait_for() {
    local what=$1 end=$((SECONDS + 30))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "timed out waiting for $what"
        sleep 0.2
    done
}

start_private_display 800x600x24

# The probe owns the clipboard until its input closes.
mkfifo "$work/input"
QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" \
    "$probe" copy "$fixture" <"$work/input" >"$work/probe.out" 2>"$work/probe.err" &
probe_pid=$!
exec 5>"$work/input"
copied() {
    kill -0 "$probe_pid" 2>/dev/null || fail "the probe ended: $(cat "$work/probe.err")"
    grep -q '^copied$' "$work/probe.out"
}
wait_for "the copy" copied

paste_as() { xclip -o -selection clipboard -t "$1"; }
targets=$(paste_as TARGETS) || fail "no clipboard owner"
for target in text/html UTF8_STRING; do
    grep -qx "$target" <<<"$targets" || fail "the clipboard offers no $target: $targets"
done
paste_as UTF8_STRING >"$work/pasted.txt" || fail "xclip could not read UTF8_STRING"
paste_as text/html >"$work/pasted.html" || fail "xclip could not read text/html"

# Table 1 of the known-good file: 5 header lines, 3 in-utero lines, the period line, the
# post-natal block and the offspring block (lines 16 to 18).
tr -d '\r' <"$fixture/expected_results.dos" | head -n 18 >"$work/known"
known() { sed -n "${1}p" "$work/known"; }
tab=$'\t'

mapfile -t pasted <"$work/pasted.txt"
[ "${#pasted[@]}" -eq 8 ] || fail "8 lines expected, pasted: $(cat "$work/pasted.txt")"
[ "${pasted[0]}" = "$(known 1)$tab$(known 2)" ] || fail "nuclide and group: ${pasted[0]}"
[ "${pasted[1]}" = "$(known 4)" ] || fail "scenario: ${pasted[1]}"
[ "${pasted[2]}" = "$(known 3)" ] || fail "route: ${pasted[2]}"
[[ "${pasted[4]}" == *"$tab$(known 10 | cut -d, -f2- | tr , '\t')" ]] ||
    fail "period headings: ${pasted[4]}"
grep -q '<table>' "$work/pasted.html" || fail "no HTML table: $(cat "$work/pasted.html")"
for r in 1 2 3; do
    in_utero=$(known $((6 + r)))
    offspring=$(known $((15 + r)) | cut -d, -f2-)
    row="$in_utero,$offspring"
    [ "${pasted[$((4 + r))]}" = "$(tr , '\t' <<<"$row")" ] ||
        fail "row $r: '${pasted[$((4 + r))]}', known '$row'"
    cells="<tr><td>${row//,/</td><td>}</td></tr>"
    grep -qF "$cells" "$work/pasted.html" || fail "row $r not in the HTML: $cells"
done

echo "PASSED: text/html and UTF8_STRING hold table 1 as the known-good file has it"
