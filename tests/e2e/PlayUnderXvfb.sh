#!/usr/bin/env bash
# The sample card played on a virtual display, as a recipient would start it: its window
# appears with the card's size, centred and titled after the card file, and Escape closes it
# with exit status 0.
#
#   PlayUnderXvfb.sh VELMORA_BUILD SCRIPT.vlm
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    "$1" "$2" -o "$work/birthday.exe" >/dev/null 2>&1
    # A display number of its own, away from the :99 that other virtual displays start at;
    # another xvfb-run may still take it in the same instant, which the display check finds.
    for attempt in 1 2 3; do
        status=0
        xvfb-run -a -n $((200 + RANDOM % 500)) -s "-screen 0 1024x768x24" \
            "$0" --inside "$work/birthday.exe" || status=$?
        [ "$status" = 77 ] || exit "$status"
        echo "The virtual display was not ours (attempt $attempt)" >&2
    done
    exit 1
fi
xdpyinfo >/dev/null 2>&1 || exit 77

card=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
# The card's size, from its window-opening line.
read -r width height < <("$card" --list | tr -d '\r' |
    sed -n 's/^s[-0-9]*: :[-0-9]*,\([0-9]*\),\([0-9]*\)$/\1 \2/p')
[ -n "$width" ] || fail "no window-opening line in the card"

# No sound device in a test: the card is told to use none rather than say it has none.
SDL_AUDIODRIVER=dummy "$card" 2>"$card.err" &
pid=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --name '^birthday$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the card ended at once: $(cat "$card.err")"
    sleep 0.1
done
[ -n "$window" ] || fail "no window titled birthday within 10 s"
info=$(xwininfo -id "$window")
echo "$info"
field() { echo "$info" | sed -n "s/^ *$1: *\([-0-9]*\)$/\1/p"; }
[ "$(field Width)" = "$width" ] && [ "$(field Height)" = "$height" ] ||
    fail "window $(field Width)x$(field Height), card ${width}x$height"
[ "$(field 'Absolute upper-left X')" = $(((1024 - width) / 2)) ] &&
    [ "$(field 'Absolute upper-left Y')" = $(((768 - height) / 2)) ] || fail "window not centred"

sleep 1 # a while into the card
xdotool key Escape
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "still open 5 s after Escape"; }
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "exit status $status: $(cat "$card.err")"
[ ! -s "$card.err" ] || fail "said: $(cat "$card.err")"
echo "The sample card opened its ${width}x$height window and closed on Escape."
