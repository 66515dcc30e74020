#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it with dpkg-deb: the files under /usr,
# the dependencies computed from the linked libraries, a stripped program that runs from
# the unpacked tree and finds its help page there.
# usage: package.sh BUILD_DIR APP_ID VERSION
set -euo pipefail

build=$1
app_id=$2
version=$3
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed; the package cannot be built or read here"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; echo "FAIL: cpack failed" >&2; exit 1; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single .deb: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "quillmark_${version}_${arch}.deb" ] || fail "package file name: $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillmark ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
# Computed by dpkg-shlibdeps: the Qt and C libraries the program links, with the versions
# its symbols need. The window-system plugins are loaded, not linked, so they are named.
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libc6 libstdc++6; do
    grep -qE "(^|, )${library//+/\\+} \(>= [^)]+\)" <<<"$depends" || fail "Depends lacks $library (>= …): $depends"
done
grep -qE "(^|, )qt6-qpa-plugins(,|$)" <<<"$depends" || fail "Depends lacks qt6-qpa-plugins: $depends"

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
for file in /usr/bin/quillmark "/usr/share/applications/$app_id.desktop" \
    "/usr/share/metainfo/$app_id.metainfo.xml" "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "/usr/share/icons/hicolor/48x48/apps/$app_id.png" /usr/share/man/man1/quillmark.1.gz \
    /usr/share/quillmark/quillmark.html /usr/share/bash-completion/completions/quillmark \
    /usr/share/doc/quillmark/copyright \
    /usr/share/doc/quillmark/changelog.gz; do
    grep -qxF "$file" "$work/files" || fail "the package lacks $file"
done
outside=$(grep -v '^/usr/' "$work/files" | grep -vx '/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

dpkg-deb -x "$deb" "$work/root"
file "$work/root/usr/bin/quillmark" | grep -q ', stripped' || fail "the program is not stripped"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/quillmark" --help) \
    || fail "the packaged program does not answer --help"
grep -qF "The full help page: $work/root/usr/share/quillmark/quillmark.html" <<<"$out" \
    || fail "the packaged program does not find its help page: $out"
zcat "$work/root/usr/share/man/man1/quillmark.1.gz" | grep -qF /usr/share/quillmark/quillmark.html \
    || fail "the manual page does not name /usr/share/quillmark/quillmark.html"

if [ "$failures" -ne 0 ]; then
    echo "package: $failures failed" >&2
    exit 1
fi
echo "package: 1 passed, 0 failed"
