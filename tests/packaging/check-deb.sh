#!/bin/sh
# check-deb.sh BUILD_DIR [app]: unpacks the quillbank-cli .deb built in
# BUILD_DIR alone into a scratch root with `dpkg -x` and runs the tools from
# there, as a server without the window has them. "app" also checks the
# window's package, quillbank, beside it. Exits 77 (skipped) when no package
# has been built.
set -eu
build=$1
app=${2:-}
newest() { ls -t "$build"/$1_*.deb 2>/dev/null | head -n 1 || true; }
cli_deb=$(newest quillbank-cli)
if [ -z "$cli_deb" ]; then
    echo "no quillbank-cli .deb in $build: run 'make package' first"
    exit 77
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# unpack DEB, then: holds DEB FILES (every one is in it), lacks DEB FILES
# (none is).
unpack() { rm -rf "$root/pkg" && dpkg -x "$1" "$root/pkg"; }
holds() {
    for file in $2; do
        [ -e "$root/pkg/$file" ] || fail "$(basename "$1") lacks /$file"
    done
}
lacks() {
    for file in $2; do
        [ ! -e "$root/pkg/$file" ] || fail "$(basename "$1") holds /$file"
    done
}
depends() { dpkg-deb -f "$1" Depends; }

# The window's files, which only its package may hold.
window_files="usr/bin/quillbank
usr/share/applications/org.quillbank.Quillbank.desktop
usr/share/metainfo/org.quillbank.Quillbank.metainfo.xml
usr/share/icons/hicolor/scalable/apps/quillbank.svg
usr/share/icons/hicolor/16x16/apps/quillbank.png
usr/share/icons/hicolor/256x256/apps/quillbank.png
usr/share/doc/quillbank/copyright"
cli_files="usr/bin/quillbank-cli
usr/libexec/quillbank/quillbank-listing
usr/share/man/man1/quillbank-cli.1.gz
usr/lib/systemd/user/quillbank-record.service
usr/lib/systemd/user/quillbank-record.timer
usr/share/doc/quillbank-cli/copyright"

echo "checking $cli_deb ($(du -k "$cli_deb" | cut -f1) KiB)"
unpack "$cli_deb"
holds "$cli_deb" "$cli_files"
lacks "$cli_deb" "$window_files"
# Dependencies come from the binaries' libraries, not a hand-kept list; a
# server must not need any graphical one.
echo "Depends: $(depends "$cli_deb")"
case "$(depends "$cli_deb")" in
    *libqt6core6*) ;;
    *) fail "quillbank-cli's Depends does not name Qt's core library" ;;
esac
if dpkg-deb -I "$cli_deb" | grep -Eio 'libqt6(gui|widgets|charts|pdf|opengl)[a-z0-9]*|qt6-qpa-plugins'; then
    fail "quillbank-cli needs a graphical library (above)"
fi

cli="$root/pkg/usr/bin/quillbank-cli"
"$cli" --help >"$root/help.txt" || fail "quillbank-cli --help failed"
grep -q "Usage: quillbank-cli" "$root/help.txt" || fail "quillbank-cli --help printed no usage"
listing="$root/pkg/usr/libexec/quillbank/quillbank-listing"
"$listing" apfs list -plist >"$root/listing.plist" || fail "quillbank-listing failed"
grep -q "<key>Containers</key>" "$root/listing.plist" || fail "quillbank-listing printed no listing"
# The packaged tools work together: the listing decodes.
"$cli" list --probe "$listing" >"$root/list.txt" \
    || fail "quillbank-cli list with the packaged listing program failed"
echo "quillbank-cli list: $(wc -l <"$root/list.txt") containers"

[ "$app" = app ] || exit 0
app_deb=$(newest quillbank)
[ -n "$app_deb" ] || fail "no quillbank .deb beside $cli_deb"
echo "checking $app_deb ($(du -k "$app_deb" | cut -f1) KiB)"
unpack "$app_deb"
holds "$app_deb" "$window_files"
lacks "$app_deb" "$cli_files"
echo "Depends: $(depends "$app_deb")"
version=$(dpkg-deb -f "$cli_deb" Version)
case "$(depends "$app_deb")" in
    *"quillbank-cli (= $version)"*) ;;
    *) fail "quillbank's Depends does not name quillbank-cli $version" ;;
esac
case "$(depends "$app_deb")" in
    *qt6-qpa-plugins*) ;;
    *) fail "quillbank's Depends does not name the platform plug-ins the window needs" ;;
esac
