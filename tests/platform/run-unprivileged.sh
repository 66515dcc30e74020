#!/bin/sh
# Usage: run-unprivileged.sh BINARY [ARGS...]: runs the test as an ordinary user, since
# permission checks do not bind root. Exit code 77: that could not be done.
bin=$1
shift
[ "$(id -u)" != 0 ] && exec "$bin" "$@"
command -v setpriv >/dev/null 2>&1 && id nobody >/dev/null 2>&1 || exit 77
# A copy in a folder that user can reach, as the build folder may not be.
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT || exit 77
cp "$bin" "$dir/" && chmod 755 "$dir" "$dir/${bin##*/}" && cd "$dir" || exit 77
HOME="$dir" TMPDIR=/tmp setpriv --reuid=nobody --regid="$(id -gn nobody)" --clear-groups "./${bin##*/}" "$@"
