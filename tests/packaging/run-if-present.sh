#!/bin/sh
# run-if-present.sh TOOL ARGS...: runs TOOL, or reports a skipped test (77)
# when it is not installed.
command -v "$1" >/dev/null 2>&1 || { echo "$1 is not installed"; exit 77; }
exec "$@"
