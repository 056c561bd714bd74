#!/usr/bin/env bash
# Runs TEST_EXE under Wine on a desktop of two 1280x1024 monitors side by side: an Xvfb of its
# own on a free display, with a stand-in Xinerama client library (fake_xinerama.c) that tells
# Wine where the two heads are, and a Wine prefix of its own (a prefix's server and desktop
# process read the monitors of the display they started on, so the shared prefix would keep
# the one monitor of the test run's display).
# Usage: two_monitors.sh TEST_EXE WORK_DIR XML
set -u
exe=$1 work=$2 xml=$3
here=$(cd "$(dirname "$0")/../../.." && pwd)
mkdir -p "$work"
work=$(cd "$work" && pwd)
fail() { echo "two_monitors: $*"; exit 1; }
command -v Xvfb >/dev/null || fail "no Xvfb"
command -v cc >/dev/null || fail "no C compiler for the Xinerama stand-in"

mkdir -p "$work/xinerama"
cc -shared -fPIC -o "$work/xinerama/libXinerama.so.1" "$here/tests/ui/win32/fake_xinerama.c" ||
    fail "cannot build the Xinerama stand-in"

export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LD_LIBRARY_PATH=$work/xinerama${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
command -v wineserver >/dev/null && wineserver=wineserver
xvfb_pid=
cleanup() {
    "$wineserver" -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

# A display number no other X server holds. RandR off: Xvfb's RandR shows one output, and Wine
# would ask it before Xinerama.
n=$((200 + RANDOM % 100))
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 2560x1024x24 -extension RANDR -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=:$n
for _ in $(seq 300); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X$n" ] || fail "Xvfb never opened display :$n"

# The same preparation as scripts/test, for this prefix.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 "$wine" wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot failed"
fi
"$wineserver" -p
timeout 120 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
timeout 120 "$wine" cmd /c exit </dev/null >/dev/null 2>&1

timeout 300 "$wine" "$exe" --gtest_output="xml:Z:${xml//\//\\}" </dev/null
