#!/usr/bin/env bash
# Builds the Debian package from the build tree, runs the packager's checks on it (lintian,
# desktop-file-validate, appstreamcli), installs it into a scratch root with dpkg, starts the
# installed `fetaldose` command there (the main window and a help book shown), and purges it
# again.
# Usage: install_and_start.sh BUILD_DIR VERSION. Exits 77 (skipped) where a tool is missing.
set -euo pipefail
missing=()
for tool in cpack dpkg dpkg-deb lintian desktop-file-validate appstreamcli xvfb-run xdotool; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: the package check needs ${missing[*]} (tools/install-deps.sh installs them)"
    exit 77
fi
build=$(realpath "$1")
version=$2

scratch=$(mktemp -d /tmp/fetaldose-package-XXXXXX)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

echo "== building the package"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$scratch/out/fetaldose_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$scratch/out")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Computed from the program's libraries, not written by hand.
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] || fail "dependencies not computed"

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports an error"

echo "== installing into a scratch root"
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
touch "$root/var/lib/dpkg/status"
# The scratch root holds none of the libraries the package depends on: the host's serve.
dpkg --root="$root" --force-depends --force-not-root -i "$deb" >"$scratch/dpkg.log" 2>&1 ||
    { cat "$scratch/dpkg.log"; fail "dpkg -i failed"; }

usr=$root/usr
echo "== desktop-file-validate and appstreamcli"
desktop-file-validate "$usr"/share/applications/*.desktop || fail "desktop file"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml || fail "AppStream metadata"
for size in 48 128 256; do
    [ -f "$usr/share/icons/hicolor/${size}x${size}/apps/fetaldose.png" ] || fail "no ${size}px icon"
done
[ -f "$usr/share/icons/hicolor/scalable/apps/fetaldose.svg" ] || fail "no SVG icon"
[ -f "$usr/share/man/man1/fetaldose.1.gz" ] || fail "no manual page"
[ -f "$usr/share/doc/fetaldose/copyright" ] || fail "no copyright file"
grep -qi synthetic "$usr/share/fetaldose/sample/README.txt" || fail "sample not labelled synthetic"
# The books the program looks for beside itself.
for book in generalhelp.qhc generalhelp.qch p47.qhc p47.qch; do
    [ -f "$usr/lib/fetaldose/help/$book" ] || fail "no help/$book beside the program"
done
if [ -n "$(dpkg-deb -c "$deb" | grep 'fetaldose-batch$' || true)" ]; then
    [ -x "$usr/bin/fetaldose-batch" ] || fail "fetaldose-batch does not reach the batch tool"
fi

# Starts the installed command with the given environment and arguments, waits until it has
# become the program, and prints the folder the program was started in.
start_folder() {
    local pid
    env "$@" >"$scratch/start.log" 2>&1 &
    pid=$!
    started+=("$pid")
    local became=
    for _ in $(seq 300); do
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$usr/lib/fetaldose/fetaldose" ] &&
            became=yes && break
        kill -0 "$pid" 2>/dev/null || { cat "$scratch/start.log" >&2; fail "command ended: $*"; }
        sleep 0.1
    done
    [ -n "$became" ] || fail "the command did not become the program within 30 s: $*"
    readlink "/proc/$pid/cwd"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "== the command's choice of data folder"
home=$scratch/home
mkdir -p "$home" "$scratch/empty" "$scratch/real/data" "$scratch/xdg"
cp "$usr/share/fetaldose/sample/data/nuclides.txt" "$scratch/real/data/"
offscreen=(HOME="$home" QT_QPA_PLATFORM=offscreen)
folder=$(cd "$scratch/real" && start_folder "${offscreen[@]}" "$usr/bin/fetaldose")
[ "$folder" = "$scratch/real" ] || fail "a folder with data/nuclides.txt: started in $folder"
folder=$(cd "$scratch/empty" &&
    start_folder "${offscreen[@]}" "$usr/bin/fetaldose" --data-folder "$scratch/real")
[ "$folder" = "$scratch/real" ] || fail "--data-folder: started in $folder"
folder=$(cd "$scratch/empty" &&
    start_folder "${offscreen[@]}" XDG_DATA_HOME="$scratch/xdg" "$usr/bin/fetaldose")
[ "$folder" = "$scratch/xdg/fetaldose" ] || fail "XDG_DATA_HOME: started in $folder"
[ -f "$scratch/xdg/fetaldose/data/nuclides.txt" ] || fail "XDG_DATA_HOME: no sample copied"
[ ! -e "$home/.local" ] || fail "XDG_DATA_HOME: the default folder was made as well"
if "$usr/bin/fetaldose" --no-such-option 2>/dev/null; then fail "an unknown option was accepted"; fi

echo "== starting the installed program under Xvfb in a folder without data/"
cat >"$scratch/on_display.sh" <<'INNER'
set -u
usr=$1; home=$2; cd "$3"
env -u XDG_DATA_HOME -u QT_QPA_PLATFORM HOME="$home" "$usr/bin/fetaldose" >"$home/program.log" 2>&1 &
pid=$!
# The visible windows of the program, one "id name" a line.
windows() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        echo "$id $(xdotool getwindowname "$id")"
    done
}
# Fresh data files are not read-only yet, so a notice titled with the program's name comes
# first; Enter closes it and the main window follows.
main=
for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    shown=$(windows)
    main=$(grep -v '^[0-9]* fetaldose$' <<<"$shown" | head -n 1)
    [ -n "$main" ] && break
    notice=$(grep '^[0-9]* fetaldose$' <<<"$shown" | head -n 1 | cut -d' ' -f1)
    [ -n "$notice" ] && xdotool windowfocus --sync "$notice" key Return 2>/dev/null
    sleep 0.2
done
status=1
if [ -n "$main" ] && kill -0 "$pid" 2>/dev/null; then
    echo "main window shown: \"${main#* }\""
    echo "started in: $(readlink "/proc/$pid/cwd")"
    status=0
    # The first Help menu's first command opens its book from the installed program's folder
    # (the working directory holds no help/); a book that opened titles the window after it.
    # A slow machine may open the menu later than the key after it comes: each try waits
    # longer for the menu before pressing Return.
    book=
    for delay in 0.3 0.6 1 2 3; do
        xdotool windowfocus --sync "${main%% *}" key alt+g sleep "$delay" key Return
        for _ in $(seq 25); do
            book=$(windows | grep '^[0-9]* .* - Help$' | head -n 1)
            [ -n "$book" ] && break 2
            sleep 0.2
        done
        xdotool key Escape 2>/dev/null
    done
    if [ -n "$book" ]; then
        echo "help book shown: \"${book#* }\""
    else
        echo "no help book opened; windows shown: $(windows)"
        status=1
    fi
else
    echo "the main window did not appear; windows shown: ${shown:-none}"
    cat "$home/program.log"
fi
kill "$pid"; wait "$pid" 2>/dev/null
exit $status
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$scratch/on_display.sh" "$usr" "$home" "$scratch/empty" | tee "$scratch/display.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "the installed program showed no window"
grep -qx "started in: $home/.local/share/fetaldose" "$scratch/display.log" ||
    fail "not started in the user's data folder"
[ -f "$home/.local/share/fetaldose/data/nuclides.txt" ] || fail "no sample copied on first use"
grep -qi synthetic "$home/.local/share/fetaldose/README.txt" || fail "no README.txt on first use"
[ ! -e "$scratch/empty/data" ] || fail "data/ made in the current folder"

echo "== purging"
dpkg --root="$root" --force-not-root --purge fetaldose >"$scratch/dpkg.log" 2>&1 ||
    { cat "$scratch/dpkg.log"; fail "dpkg --purge failed"; }
left=$(find "$root" -path "$root/var" -prune -o ! -type d -print)
[ -z "$left" ] || fail "files left after purge: $left"
echo "package check passed"
