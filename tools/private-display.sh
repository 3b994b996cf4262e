# Sourced (POSIX sh) by the scripts that drive the program on a private X server: the tests
# that click through it and the screenshot scripts. The caller sets $work, a scratch folder,
# and stops "$xvfb_pid" when it ends.

# Exits 77, the tests' "skipped", naming the first of the given commands that is missing.
require_tools() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIPPED: $tool is not installed"
            exit 77
        fi
    done
}

# Starts Xvfb with one screen of the given size (as 1280x1024x24) at 96 dots per inch on a
# display number it picks itself, sets xvfb_pid and exports DISPLAY once the server is ready;
# exits 1 if it does not start within 30 seconds.
start_private_display() {
    Xvfb -displayfd 3 -screen 0 "$1" -dpi 96 -nolisten tcp 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    tries=0
    until [ -s "$work/display" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 300 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
            echo "FAILED: Xvfb did not start"
            cat "$work/xvfb.log"
            exit 1
        fi
        sleep 0.1
    done
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}
