#!/bin/sh
# Installs the given build into a temporary prefix: every file in its place, the launcher's entry
# and the software centre's description accepted by their validators, and the installed program
# preparing a working folder from what is installed beside it.
set -eu
build=$1
prefix=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "$*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.kestrel_fm.Kestrel
for file in bin/kestrel libexec/kestrel/Edit libexec/kestrel/Img libexec/kestrel/unzip libexec/kestrel/unrar \
    share/kestrel/Selected.png share/kestrel/Unselected.png share/icons/hicolor/scalable/apps/$id.svg; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

"$prefix/bin/kestrel" --prepare "$prefix/work"
for program in Edit Img unzip unrar; do
  [ "$(readlink "$prefix/work/$program")" = "$prefix/libexec/kestrel/$program" ] || fail "$program not linked to the install"
done
cmp "$prefix/work/Selected.png" "$prefix/share/kestrel/Selected.png"
