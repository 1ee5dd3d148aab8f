#!/usr/bin/env bash
# Runs two velmora-build processes at once, PAIRS times, into the same output and from the same
# program directory (so that they share its working files), and counts what came of it: every
# build that says it created the card must leave a card whose own player lists it.
#
#   scripts/two-builds.sh [BUILD_DIR] [PAIRS]     (defaults: build, 20)
#
# The program directory is a fresh copy of BUILD_DIR/bin's velmora-build and model.ex_, so
# the run leaves nothing in the build tree. Exit status 0 only when no created card failed.
set -u
build=${1:-build}
pairs=${2:-20}
script="$build/samples/birthday/birthday.vlm"
for f in "$build/bin/velmora-build" "$build/bin/model.ex_" "$script"; do
    [ -e "$f" ] || { echo "missing $f: build the project first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/program"
cp "$build/bin/velmora-build" "$build/bin/model.ex_" "$work/program/"
card="$work/card"

created=0 failed=0 listed=0 broken=0
for i in $(seq "$pairs"); do
    "$work/program/velmora-build" "$script" -o "$card" >/dev/null 2>"$work/err1" & a=$!
    "$work/program/velmora-build" "$script" -o "$card" >/dev/null 2>"$work/err2" & b=$!
    wait $a; sa=$?
    wait $b; sb=$?
    for s in $sa $sb; do
        if [ "$s" -eq 0 ]; then created=$((created + 1)); else failed=$((failed + 1)); fi
    done
    # Whichever build finished last, the card at the output is its card.
    if [ "$sa" -eq 0 ] || [ "$sb" -eq 0 ]; then
        if "$card" --list >/dev/null 2>"$work/list"; then
            listed=$((listed + 1))
        else
            broken=$((broken + 1))
            echo "pair $i: a card reported as created does not list: $(head -c 300 "$work/list")"
        fi
    fi
    for e in "$work/err1" "$work/err2"; do
        grep -v -e 'successfully created' -e 'Waiting for another build' "$e" | sed "s/^/pair $i: /"
    done
done
echo "pairs: $pairs; builds reported created: $created of $((2 * pairs)); failed: $failed;" \
     "cards that list after a pair: $listed; created but not listing: $broken"
[ "$broken" -eq 0 ]
