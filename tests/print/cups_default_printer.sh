#!/bin/sh
# Prints the results viewer on the system's default printer through a private CUPS daemon
# whose only printer, the default, is a cups-pdf PDF printer, and checks that exactly one new
# one-page PDF comes out. Exits 77 (skipped) where such a daemon cannot be run here.
#
# usage: cups_default_printer.sh PROBE
#   PROBE  the program that opens the viewer and presses its "Print" button

set -u
probe=${1:?usage: cups_default_printer.sh PROBE}
skip=77
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

skip() {
    echo "SKIPPED: $*"
    exit "$skip"
}

for tool in cupsd lpadmin lpstat pdfinfo; do
    command -v "$tool" >/dev/null 2>&1 || [ -x "/usr/sbin/$tool" ] ||
        skip "$tool is not installed"
done
PATH=$PATH:/usr/sbin
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is not installed"
[ -r "$ppd" ] || skip "$ppd is missing"
[ "$(id -u)" = 0 ] || skip "starting cupsd with the cups-pdf backend needs root"

work=$(mktemp -d /tmp/fetaldose-cups.XXXXXX) || skip "no temporary directory"
daemon=""
cleanup() {
    if [ -n "$daemon" ]; then
        kill "$daemon" 2>/dev/null
        # Wait (bounded) until the daemon we started is gone.
        n=0
        while kill -0 "$daemon" 2>/dev/null && [ $n -lt 50 ]; do
            sleep 0.1
            n=$((n + 1))
        done
        kill -9 "$daemon" 2>/dev/null
        wait "$daemon" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A daemon of our own: its own configuration, spool, state and socket, so the machine's CUPS
# set-up (and any daemon already running) is left alone.
mkdir -p "$work/etc/ppd" "$work/spool/tmp" "$work/cache" "$work/state" "$work/log"
chmod 755 "$work"
socket="$work/cups.sock"
cat >"$work/etc/cupsd.conf" <<CONF
Listen $socket
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
cat >"$work/etc/cups-files.conf" <<CONF
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
SystemGroup root
CONF

cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" >"$work/log/cupsd.out" 2>&1 &
daemon=$!

export CUPS_SERVER="$socket"
n=0
until lpstat -r 2>/dev/null | grep -q "is running"; do
    if ! kill -0 "$daemon" 2>/dev/null; then
        cat "$work/log/cupsd.out" "$work/log/error_log" 2>/dev/null
        daemon=""
        skip "cupsd did not start"
    fi
    n=$((n + 1))
    [ $n -lt 100 ] || skip "cupsd did not answer within 10 seconds"
    sleep 0.1
done

lpadmin -p PDF -v cups-pdf:/ -E -P "$ppd" || skip "lpadmin could not add the cups-pdf printer"
lpadmin -d PDF || skip "lpadmin could not make the cups-pdf printer the default"
lpstat -d

# Where cups-pdf puts its files: "Out" of cups-pdf.conf, ${HOME} being the job owner's home.
home=$(getent passwd "$(id -un)" | cut -d: -f6)
out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\{1,\}//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
[ -n "$out" ] || out='${HOME}/PDF'
out=$(printf '%s' "$out" | sed "s|\${HOME}|$home|g; s|\${USER}|$(id -un)|g")
mkdir -p "$out"
before="$work/before"
ls -1 "$out" 2>/dev/null | grep -i '\.pdf$' | sort >"$before"

QT_QPA_PLATFORM=offscreen "$probe" || {
    echo "FAILED: printing the viewer reported an error"
    exit 1
}

# Wait (bounded) until the job has left the queue and its PDF is complete.
found=""
n=0
while [ $n -lt 300 ]; do
    new=$(ls -1 "$out" 2>/dev/null | grep -i '\.pdf$' | sort | comm -13 "$before" -)
    if [ -n "$new" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; then
        found=$new
        break
    fi
    sleep 0.1
    n=$((n + 1))
done
if [ -z "$found" ]; then
    echo "FAILED: no PDF appeared in $out within 30 seconds"
    lpstat -o
    cat "$work/log/error_log" 2>/dev/null
    exit 1
fi
count=$(printf '%s\n' "$found" | wc -l)
status=0
if [ "$count" -ne 1 ]; then
    echo "FAILED: $count new PDFs for one press of Print:"
    printf '%s\n' "$found"
    status=1
fi
printf '%s\n' "$found" | while IFS= read -r file; do
    pages=$(pdfinfo "$out/$file" 2>/dev/null | sed -n 's/^Pages:[[:space:]]*//p')
    echo "$out/$file: ${pages:-?} page(s)"
    [ "$pages" = 1 ] || echo "FAILED: expected one page" >"$work/page-fault"
    rm -f "$out/$file"
done
[ -e "$work/page-fault" ] && status=1
[ $status -eq 0 ] && echo "PASSED: one one-page PDF from the default printer"
exit $status
