#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary folder and builds the Debian package,
# then checks the layout, the desktop and AppStream files, the package's
# metadata and lintian's verdict, and runs the packaged talmo-say.
# usage: install_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
id=example.kalvesta.Talmo
for file in bin/talmo bin/talmo-say share/talmo/CountHelp.html \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    share/man/man1/talmo.1.gz share/man/man1/talmo-say.1.gz \
    share/doc/talmo/copyright share/doc/talmo/changelog.gz; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for size in 16 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$icon" ] || fail "not installed: icon $size"
    # The PNG header holds the width and height at bytes 16 to 23.
    [ "$(od --endian=big -An -tu4 -j16 -N8 "$icon" 2>/dev/null | tr -s ' ')" = " $size $size" ] ||
        fail "icon $size is not ${size}x${size}"
done
grep -q "Version $version" "$prefix/share/talmo/CountHelp.html" || fail "the About topic lacks version $version"
zcat "$prefix/share/man/man1/talmo-say.1.gz" | grep -q "Talmo $version" || fail "man page lacks the version"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -q '^Categories=Education;Languages;$' "$prefix/share/applications/$id.desktop" ||
    fail "desktop entry categories"
# Each way the menu starts the tutor is a command line the installed tutor takes.
while read -r program options; do
    [ "$("$prefix/bin/$program" $options --version 2>&1)" = "talmo $version" ] || fail "Exec=$program $options"
done < <(grep '^Exec=' "$prefix/share/applications/$id.desktop" | cut -d= -f2-)
[ "$(grep -c '^Exec=talmo --voice' "$prefix/share/applications/$id.desktop")" = 2 ] || fail "voice actions"
grep -q '^Exec=talmo --drills$' "$prefix/share/applications/$id.desktop" || fail "drills action"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.txt" ||
    { cat "$work/appstream.txt"; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "metainfo lacks release $version"

(cd "$build" && cpack -B "$work/package" >/dev/null) || fail "cpack"
deb="$work/package/talmo_${version}_amd64.deb"
if [ -f "$deb" ]; then
    [ "$(dpkg-deb -f "$deb" Package)" = talmo ] || fail "package name"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
    [ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "package section"
    depends=$(dpkg-deb -f "$deb" Depends)
    for needed in libqt6widgets6 libpulse0 libc6 fonts-dejavu-core; do
        [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
    done
    lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 ||
        { cat "$work/lintian.txt"; fail "lintian"; }
    dpkg-deb -x "$deb" "$work/root"
    [ "$("$work/root/usr/bin/talmo-say" --clips 1021)" = "1ETT, N1000, N20, 1ETT" ] ||
        fail "the packaged talmo-say"
    [ -f "$work/root/usr/share/talmo/CountHelp.html" ] || fail "the package lacks the help file"
else
    fail "no package $deb"
fi

if [ "$failures" -gt 0 ]; then
    echo "0 passed, $failures failed"
    exit 1
fi
echo "install layout, validators, package and lintian: all good"
