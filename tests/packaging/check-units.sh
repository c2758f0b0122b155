#!/bin/sh
# check-units.sh BUILD: installs the command-line tool and packaging/ from the
# build folder BUILD into a scratch root and runs systemd-analyze verify on the
# recorder's units there; a skipped test (77) without systemd-analyze.
set -eu
command -v systemd-analyze >/dev/null 2>&1 || { echo "systemd-analyze is not installed"; exit 77; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for dir in cli packaging; do
    DESTDIR="$root" cmake -P "$1/$dir/cmake_install.cmake" >/dev/null
done
timer=$(find "$root" -path '*/lib/systemd/user/quillbank-record.timer')
units=$(dirname "$timer")
[ -f "$units/quillbank-record.service" ] || { echo "the units are not installed"; exit 1; }
cli=$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$units/quillbank-record.service")
[ -x "$root$cli" ] || { echo "ExecStart names $cli, which the install does not hold"; exit 1; }
# As a user's manager loads them, with the tool and manual page of the root.
mkdir -m 700 "$root/run" "$root/check"
sed "s|^ExecStart=|ExecStart=$root|" "$units/quillbank-record.service" >"$root/check/quillbank-record.service"
cp "$timer" "$root/check/"
export XDG_RUNTIME_DIR="$root/run"
export MANPATH="$(dirname "$(dirname "$(find "$root" -name quillbank-cli.1.gz)")")"
# A setting it ignores is only reported: any word from it fails the test.
out=$(systemd-analyze verify --user "$root/check/quillbank-record.timer" \
    "$root/check/quillbank-record.service" 2>&1) || { echo "$out"; exit 1; }
[ -z "$out" ] || { echo "$out"; exit 1; }
echo "quillbank-record.timer and .service verified"
