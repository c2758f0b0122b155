#!/bin/sh
# check-deb.sh BUILD_DIR [app]: unpacks the quillbank .deb built in BUILD_DIR
# into a scratch root with `dpkg -x` and runs the tools from there. Exits 77
# (skipped) when no package has been built; "app" also expects the desktop
# application.
set -eu
build=$1
deb=$(ls -t "$build"/quillbank_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
    echo "no quillbank .deb in $build: run 'make package' first"
    exit 77
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

echo "checking $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg -x "$deb" "$root"

expected="usr/bin/quillbank-cli
usr/libexec/quillbank/quillbank-listing
usr/share/applications/org.quillbank.Quillbank.desktop
usr/share/metainfo/org.quillbank.Quillbank.metainfo.xml
usr/share/icons/hicolor/scalable/apps/quillbank.svg
usr/share/icons/hicolor/16x16/apps/quillbank.png
usr/share/icons/hicolor/256x256/apps/quillbank.png
usr/share/man/man1/quillbank-cli.1.gz
usr/lib/systemd/user/quillbank-record.service
usr/lib/systemd/user/quillbank-record.timer
usr/share/doc/quillbank/copyright"
[ "${2:-}" = app ] && expected="$expected
usr/bin/quillbank"
for file in $expected; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done

# Dependencies come from the binaries' libraries, not a hand-kept list.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in
    *libqt6core6*) ;;
    *) fail "Depends does not name Qt's core library" ;;
esac
if [ "${2:-}" = app ]; then
    case "$depends" in
        *qt6-qpa-plugins*) ;;
        *) fail "Depends does not name the platform plug-ins the window needs" ;;
    esac
fi

"$root/usr/bin/quillbank-cli" --help >"$root/help.txt" || fail "quillbank-cli --help failed"
grep -q "Usage: quillbank-cli" "$root/help.txt" || fail "quillbank-cli --help printed no usage"

listing="$root/usr/libexec/quillbank/quillbank-listing"
"$listing" apfs list -plist >"$root/listing.plist" || fail "quillbank-listing failed"
grep -q "<key>Containers</key>" "$root/listing.plist" || fail "quillbank-listing printed no listing"

# The packaged tools work together: the listing decodes.
"$root/usr/bin/quillbank-cli" list --probe "$listing" >"$root/list.txt" \
    || fail "quillbank-cli list with the packaged listing program failed"
echo "quillbank-cli list: $(wc -l <"$root/list.txt") containers"
