#!/usr/bin/env bash
# The tool under a real window manager (openbox on a virtual display), with pointer and keys: a
# click on the main window while it waits for the chooser, then for an editor, leaves that
# window in front of it and active; the chooser moves with it and offers no minimise box.
#   ChildWindowsUnderOpenbox.sh VELMORA [SCREENSHOT.png]   (the chooser in front, after the click)
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    args=("$(readlink -f "$0")" --inside "$(readlink -f "$1")" ${2:+"$(realpath -m "$2")"})
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    HOME=$work xvfb-run -a -n $((200 + RANDOM % 500)) -s "-screen 0 1024x768x24" "${args[@]}"
    exit
fi
fail() { echo "FAIL: $*" >&2; exit 1; }
pid=
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $pid $wm 2>/dev/null || true' EXIT
timeout 10 bash -c 'until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do
    sleep 0.1; done' 2>/dev/null || fail "openbox did not start"
QT_QPA_PLATFORM=xcb "$2" >velmora.log 2>&1 & # the tests' offscreen platform shows nothing
pid=$!
hex() { printf '0x%x' "$1"; }
# The newest visible window of the tool once it shows $1 windows, the newest not being $2.
shown() {
    for _ in $(seq 100); do
        local w=($(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | sort -n))
        [ "${#w[@]}" = "$1" ] && [ "${w[-1]}" != "${2:-}" ] && { echo "${w[-1]}"; return; }
        sleep 0.1
    done
    fail "the tool did not show $1 windows: $(cat velmora.log)"
}
in_front() { # $1, after a click at the main window's bottom right corner
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + WIDTH - 40)) $((Y + HEIGHT - 30)) click 1
    sleep 0.6
    [ "$(xdotool getactivewindow)" = "$1" ] || fail "$2 is not the active window"
    [ "$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' |
        grep -xE "$(hex "$main")|$(hex "$1")" | tail -1)" = "$(hex "$1")" ] ||
        fail "the main window covers $2"
}
main=$(shown 1)
sleep 0.5
xdotool windowactivate --sync "$main" key --delay 80 alt+i
chooser=$(shown 2)
sleep 0.6
in_front "$chooser" "the chooser"
! xprop -id "$chooser" _NET_WM_ALLOWED_ACTIONS | grep -q MINIMIZE || fail "the chooser minimises"
[ -z "${3:-}" ] || import -window root "$3"
corner() { xwininfo -id "$1" | grep Absolute; }
xdotool windowmove "$main" 100 100
sleep 0.6
[ "$(corner "$chooser")" = "$(corner "$main")" ] || fail "the chooser stayed behind"
xdotool key --delay 80 alt+w # "&Wave File"
editor=$(shown 2 "$chooser")
sleep 0.6
in_front "$editor" "the sound-effect editor"
echo "Under openbox the chooser and the editor stayed in front of the main window."
