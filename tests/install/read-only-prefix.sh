#!/usr/bin/env bash
# The tool installed into a prefix that nobody may write: the installed velmora-build builds
# the sample card, the card plays the same frames as one built in the build folder, and
# nothing under the prefix is made or changed.
#   read-only-prefix.sh BUILD_DIR SAMPLE_SCRIPT
set -euo pipefail
build=$1 sample=$2
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

# Stripped, as the package installs it.
cmake --install "$build" --prefix "$prefix" --strip >/dev/null
# What lies under the prefix, to the nanosecond: root writes in spite of the modes.
listing() { find "$prefix" -printf '%P %y %s %m %T@ %C@\n' | sort; }
chmod -R a-w "$prefix"
before=$(listing)

export HOME=$tmp/home XDG_CACHE_HOME=$tmp/cache
"$prefix/bin/velmora-build" "$sample" -o "$tmp/card"
"$build/bin/velmora-build" "$sample" -o "$tmp/reference"
"$tmp/card" --render "$tmp/frames" --fps 4
"$tmp/reference" --render "$tmp/reference-frames" --fps 4

after=$(listing)
chmod -R u+w "$prefix"
fail=0
if [ "$before" != "$after" ]; then
    echo "the build wrote under the prefix:"
    diff <(echo "$before") <(echo "$after") || true
    fail=1
fi
frames=$(find "$tmp/frames" -name 'frame*.png' | wc -l)
if [ "$frames" -lt 20 ] || ! diff -r "$tmp/frames" "$tmp/reference-frames" >/dev/null; then
    echo "the card does not play as the one built in the build folder ($frames frames)"
    fail=1
fi
work=$XDG_CACHE_HOME/velmora/work
if [ "$(stat -c %a "$work")" != 700 ] || [ -n "$(ls -A "$work")" ]; then
    echo "the working folder is not private and empty: $(stat -c %a "$work"), $(ls -A "$work")"
    fail=1
fi
[ $fail -eq 0 ] && echo "built and played $frames frames; nothing written under $prefix"
exit $fail
