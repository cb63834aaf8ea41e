#!/usr/bin/env bash
# Installs the build into a staging prefix and checks what an installed program and the desktop
# rely on: the FHS layout, the program finding its data under share/, and valid desktop and
# AppStream files (checked when their validators are installed).
set -euo pipefail
build=$1
id=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
prefix=$stage/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

failed=0
expect() {
  [[ -e "$prefix/$1" ]] || { echo "missing from the install: $1"; failed=1; }
}
for file in bin/norvik bin/norvikctl share/norvik/skin/main.xml share/norvik/DefaultData/mouse.Json \
    lib/udev/rules.d/70-norvik.rules share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/norvik/SDK/x64/linux/libosConfLib.so; do
  expect "$file"
done
for size in 16 24 32 48 64 128 256; do
  expect "share/icons/hicolor/${size}x${size}/apps/$id.png"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || failed=1
else
  echo "desktop-file-validate is not installed: the desktop entry was not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || failed=1
else
  echo "appstreamcli is not installed: the metainfo was not validated"
fi

# The installed program, with no data beside it, finds its data under share/norvik/.
home=$stage/home
mkdir -p "$home"
report=$(env -u NORVIK_PROGRAM_DIR HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
  NORVIK_SIMULATE=mouse3389 "$prefix/bin/norvikctl" doctor) || { echo "$report"; failed=1; }
grep -q "^ok *program-data .*$prefix/share/norvik/" <<<"$report" || { echo "$report"; failed=1; }
grep -q "^ok *audio-library .*$prefix/share/norvik/SDK/" <<<"$report" || { echo "$report"; failed=1; }

[[ $failed -eq 0 ]] && echo "install layout ok"
exit $failed
