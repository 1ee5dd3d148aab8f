#!/usr/bin/env bash
# The tool under a real window manager (openbox on a virtual display), with the pointer and the
# keys: a click on the main window while it waits for the chooser or an editor leaves that window
# in front of it and active; the chooser has no minimise box; minimising an editor takes the main
# window with it and bringing the main window back brings the editor back too.
#
#   ChildWindowsUnderOpenbox.sh VELMORA [SCREENSHOT.png]
# The screenshot (ImageMagick's import) shows the chooser in front after the click.
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    self=$(readlink -f "$0")
    velmora=$(readlink -f "$1")
    shot=${2:+$(realpath -m "$2")}
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # A display number of its own, away from the :99 that other virtual displays start at.
    for attempt in 1 2 3; do
        status=0
        (cd "$work" && HOME="$work" xvfb-run -a -n $((200 + RANDOM % 500)) \
            -s "-screen 0 1024x768x24" "$self" --inside "$velmora" "$shot") || status=$?
        [ "$status" = 77 ] || exit "$status"
        echo "The virtual display was not ours (attempt $attempt)" >&2
    done
    exit 1
fi
xdpyinfo >/dev/null 2>&1 || exit 77
velmora=$2
shot=${3:-}

fail() { echo "FAIL: $*" >&2; exit 1; }
openbox >/dev/null 2>&1 &
wm=$!
pid=
trap 'kill $pid $wm 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

# The tests' offscreen platform would show nothing on the display.
QT_QPA_PLATFORM=xcb "$velmora" >velmora.log 2>&1 &
pid=$!
visible() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | sort -n || true; }
# Waits for the visible windows of the tool to be exactly "$@" plus one more, and prints it.
new_window() {
    local known=" $* " w
    for _ in $(seq 100); do
        for w in $(visible); do
            [[ $known == *" $w "* ]] || { echo "$w"; return; }
        done
        sleep 0.1
    done
    fail "no new window besides $*: $(cat velmora.log)"
}
stacked_above() { # $1 above $2 in the window manager's stacking order (bottom to top)
    local order
    order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr -d ' ' | tr ',' '\n')
    local a b
    a=$(echo "$order" | grep -nx "$(printf '0x%x' "$1")" | cut -d: -f1)
    b=$(echo "$order" | grep -nx "$(printf '0x%x' "$2")" | cut -d: -f1)
    [ -n "$a" ] && [ -n "$b" ] && [ "$a" -gt "$b" ]
}
settle() { sleep 0.6; }
# A click on the main window's grid, below the rows and outside the window at its corner.
click_main() {
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + WIDTH - 40)) $((Y + HEIGHT - 30)) click 1
    settle
}
in_front() { # $1 in front of the main window and active, after a click on the main window
    click_main
    [ "$(xdotool getactivewindow)" = "$1" ] ||
        fail "$2: the active window is $(xdotool getactivewindow), not $1"
    stacked_above "$1" "$main" || fail "$2: the main window covers it"
    xprop -id "$1" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$main")" ||
        fail "$2: not transient for the main window"
}

main=$(new_window)
settle
xdotool windowactivate --sync "$main"
xdotool key --delay 80 alt+i
chooser=$(new_window "$main")
settle
in_front "$chooser" "the chooser"
xprop -id "$chooser" _NET_WM_ALLOWED_ACTIONS | grep -q MINIMIZE && fail "the chooser can be minimised"
if [ -n "$shot" ]; then import -window root "$shot"; fi

xdotool key --delay 80 alt+w # "&Wave File"
editor=$(new_window "$main" "$chooser")
settle
in_front "$editor" "the sound-effect editor"

# Minimised, the editor takes the main window with it, and comes back with it.
xdotool windowminimize --sync "$editor"
settle
[ -z "$(visible)" ] || fail "still shown after minimising the editor: $(visible)"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowmap "$main"
settle
[ "$(visible | tr '\n' ' ')" = "$(printf '%s\n' "$main" "$editor" | sort -n | tr '\n' ' ')" ] ||
    fail "the main window came back without its editor: $(visible)"

xdotool windowactivate --sync "$editor"
xdotool key --delay 80 Escape
settle
[ "$(visible)" = "$main" ] || fail "Escape left: $(visible)"
xdotool windowactivate --sync "$main"
xdotool key --delay 80 ctrl+q
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "still open after Ctrl+Q"
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "exit status $status: $(cat velmora.log)"
echo "Under openbox the chooser and the editor stayed in front of the main window."
