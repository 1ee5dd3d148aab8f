#!/usr/bin/env bash
# Makes the real pictures that bench_reduce compares on, as PNG files in DIR (default
# /tmp/velmora-photos), and prints their names with where their 4x detail crop starts:
#
#   bench/photos.sh [DIR]
#   build-release/bin/bench_reduce 7 --shots /tmp/shots $(bench/photos.sh)
#
# - the wallpapers of Debian's gnome-backgrounds and desktop-base (bench-only packages of
#   scripts/install-deps.sh), cut to 1920x1080 as a card background would be;
# - the photographs that Debian's python3-skimage ships as sample data (a face, a cat, coffee,
#   a motorcycle, a rocket). That package depends on a whole scientific Python stack, so it is
#   downloaded with apt-get and only its pictures are unpacked, never installed.
set -euo pipefail

dir=${1:-/tmp/velmora-photos}
mkdir -p "$dir"
convert=/usr/bin/convert # ImageMagick itself, not a wrapper standing before it in PATH
[ -x "$convert" ] || { echo "needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }

# NAME SOURCE: SOURCE scaled to cover 1920x1080 and cut to it from its centre.
wallpaper() {
    [ -f "$dir/$1.png" ] || "$convert" "$2" -resize 1920x1080^ -gravity center -extent 1920x1080 \
        -strip "PNG24:$dir/$1.png"
}
gnome=/usr/share/backgrounds/gnome
base=/usr/share/desktop-base
[ -d "$gnome" ] && for name in adwaita-l wood-d wood-l truchet-d licorice-l pixels-l; do
    wallpaper "gnome-$name" "$gnome/$name.webp"
done
[ -d "$base" ] && for theme in emerald homeworld softwaves spacefun; do
    wallpaper "debian-$theme" "$base/$theme-theme/grub/grub-16x9.png"
done

samples=(astronaut.png@170,40 chelsea.png@150,60 coffee.png@220,40 motorcycle_left.png rocket.jpg)
if [ ! -f "$dir/astronaut.png" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    (cd "$work" && apt-get download -q python3-skimage >/dev/null 2>&1) ||
        { echo "cannot download python3-skimage (run apt-get update)" >&2; exit 1; }
    dpkg-deb -x "$work"/python3-skimage_*.deb "$work/unpacked"
    for sample in "${samples[@]}"; do
        file=${sample%@*}
        "$convert" "$work/unpacked/usr/lib/python3/dist-packages/skimage/data/$file" -strip \
            "PNG24:$dir/${file%.*}.png"
    done
fi

for f in "$dir"/gnome-*.png "$dir"/debian-*.png; do [ -f "$f" ] && echo "$f"; done
for sample in "${samples[@]}"; do
    file=${sample%@*}
    crop=${sample#"$file"}
    echo "$dir/${file%.*}.png$crop"
done
