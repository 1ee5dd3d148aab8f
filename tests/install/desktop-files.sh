#!/usr/bin/env bash
# The installed menu entry and AppStream metadata pass their validators, and the desktop's
# file-type database, made from the installed type, names ours for a script.
#   desktop-files.sh BUILD_DIR APP_ID SAMPLE_SCRIPT
set -euo pipefail
build=$1 id=$2 sample=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
share=$tmp/prefix/share
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null

desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
for icon in "$share"/icons/hicolor/*/apps/"$id".*; do echo "icon: ${icon#"$share"/icons/}"; done

update-mime-database "$share/mime"
update-desktop-database "$share/applications"
cp "$sample" "$tmp/sample.vlm"
export XDG_DATA_HOME=$tmp/nowhere XDG_DATA_DIRS=$share XDG_CONFIG_HOME=$tmp/nowhere
type=$(xdg-mime query filetype "$tmp/sample.vlm")
app=$(xdg-mime query default "$type")
echo "sample.vlm: $type, opened with $app"
[ "$type" = application/x-velmora-script ] && [ "$app" = "$id.desktop" ]
