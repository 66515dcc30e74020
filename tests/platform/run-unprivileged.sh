#!/bin/sh
# Runs a test binary as an ordinary user: permission checks mean nothing to root.
# Usage: run-unprivileged.sh BINARY [ARGS...]. Exit code 77 means it could not be done.
bin=$1
shift
if [ "$(id -u)" != 0 ]; then
    exec "$bin" "$@"
fi
command -v setpriv >/dev/null 2>&1 || exit 77
id nobody >/dev/null 2>&1 || exit 77
group=$(id -gn nobody)
# The build folder may not be reachable by that user: run a copy from a folder it can read.
dir=$(mktemp -d) || exit 77
trap 'rm -rf "$dir"' EXIT
chmod 755 "$dir"
cp "$bin" "$dir/" || exit 77
copy="$dir/$(basename "$bin")"
chmod 755 "$copy"
cd "$dir" || exit 77
HOME="$dir" TMPDIR=/tmp setpriv --reuid=nobody --regid="$group" --clear-groups "$copy" "$@"
