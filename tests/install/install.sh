#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree as a desktop
# sees it: every file in its place, no test double compiled into the program, the icons at
# their sizes, the program answering --version and --help without a display and finding its
# help page, the desktop entry and the AppStream metadata valid.
# usage: install.sh BUILD_DIR APP_ID VERSION
set -euo pipefail

build=$1
app_id=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli identify; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/test installs it)"
        exit 77
    fi
done

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }

share=$prefix/share
expected=(
    "bin/quillmark"
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$app_id.svg"
    "share/man/man1/quillmark.1.gz"
    "share/bash-completion/completions/quillmark"
    "share/quillmark/quillmark.html"
    "share/doc/quillmark/copyright"
    "share/doc/quillmark/changelog.gz"
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || fail "missing or empty: $file"
done
[ -x "$prefix/bin/quillmark" ] || fail "bin/quillmark is not executable"

# The test doubles live in a library of their own that the program never links.
symbols=$(nm -C "$prefix/bin/quillmark" 2>/dev/null || true)
if ! grep -q 'qm::MainWindow' <<<"$symbols"; then
    fail "bin/quillmark has no symbol table to look for test doubles in"
elif doubles=$(grep -E 'qm::(TestTarget|ScriptedQuestions|RecordingMeterCanvas|MemorySettingsStore|Fake|Recording)' <<<"$symbols"); then
    fail "the installed program holds test doubles: $(head -n 3 <<<"$doubles")"
fi

# Nothing but the program and its data: no libraries, headers, tests or tools.
unexpected=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort \
    | grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[ -z "$unexpected" ] || fail "files nobody asked for: $unexpected"

for size in 16 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [ -f "$png" ] || continue
    got=$(identify -format '%wx%h' "$png")
    [ "$got" = "${size}x${size}" ] || fail "$png is $got"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the SVG icon is no SVG"

# Answers on a text console: no display, no platform plugin named.
console() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/quillmark" "$@"; }
out=$(console --version) || fail "--version failed"
[ "$out" = "Quillmark $version" ] || fail "--version said: $out"
out=$(console --help) || fail "--help failed"
grep -qF -- "--version" <<<"$out" || fail "--help does not list --version: $out"
grep -qF "The full help page: $share/quillmark/quillmark.html" <<<"$out" \
    || fail "the installed program does not find its help page: $out"
if console --no-such-option 2>"$work/err"; then
    fail "an unknown option was accepted"
fi
grep -q "no-such-option" "$work/err" || fail "the unknown option is not named: $(cat "$work/err")"

# The manual page names where this installation keeps the help page.
zcat "$share/man/man1/quillmark.1.gz" | grep -qF "$share/quillmark/quillmark.html" \
    || fail "the manual page does not name the installed help page"
if command -v groff >/dev/null; then
    warnings=$(zcat "$share/man/man1/quillmark.1.gz" | groff -man -Tutf8 -ww -z 2>&1 || true)
    [ -z "$warnings" ] || fail "the manual page has faults: $warnings"
fi

# The completion offers what each option takes.
completion=$share/bash-completion/completions/quillmark
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quillmark
             printf "%s\n" "${COMPREPLY[*]}"' _ "$completion" "$@" 2>&1
}
out=$(complete_words quillmark --format c) && [ "$out" = csv ] \
    || fail "completing --format c gave: $out"
out=$(complete_words quillmark --attributes hidden,r) && [ "$out" = hidden,readonly ] \
    || fail "completing --attributes hidden,r gave: $out"
out=$(complete_words quillmark --rec) && [ "$out" = --recursive ] \
    || fail "completing --rec gave: $out"

# A catalogue without a display, as a nightly job makes one.
mkdir -p "$work/folder" && printf 'abc' >"$work/folder/a,b.txt"
out=$(TZ=UTC console --save - --format csv --quiet "$work/folder") \
    || fail "the installed program could not save a catalogue without a display"
[ "$out" = $'Name,Size,Modified\r\n"a,b.txt",3,'"$(date -u -r "$work/folder/a,b.txt" +%Y-%m-%dT%H:%M:%S)+00:00"$'\r' ] \
    || fail "the installed program saved: $out"

desktop=$share/applications/$app_id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate complains: $out"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "${exec_line%% *}" = quillmark ] && [ -x "$prefix/bin/${exec_line%% *}" ] \
    || fail "Exec does not start the installed program: $exec_line"
grep -q '%f' <<<"$exec_line" || fail "Exec takes no folder: $exec_line"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ "$icon" = "$app_id" ] || fail "the desktop entry's icon is $icon"

metainfo=$share/metainfo/$app_id.metainfo.xml
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metadata does not launch $app_id.desktop"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "no release entry for $version"

if [ "$failures" -ne 0 ]; then
    echo "install: $failures failed" >&2
    exit 1
fi
echo "install: 1 passed, 0 failed"
