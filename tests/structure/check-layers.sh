#!/usr/bin/env bash
# The folders are layers: each may include only from the folders below it, and no source of
# the logic library (quillmark_core) may include a widget or print support header.
# usage: check-layers.sh SOURCE_DIR WIDGETS_INCLUDE_DIR PRINTSUPPORT_INCLUDE_DIR
set -euo pipefail

src=$1
widget_dirs=("$2" "$3")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# What each folder may include besides itself.
declare -A allowed=(
    [platform]=""
    [catalogue]="platform"
    [preview]="platform catalogue"
    [printing]="platform catalogue"
    [saving]="platform catalogue"
    [browse]="platform catalogue"
    [pagesetup]="platform catalogue"
    [about]="platform"
    [batch]="platform catalogue printing saving browse"
    [app]="platform catalogue preview printing saving browse pagesetup about batch"
)

for folder in "${!allowed[@]}"; do
    [ -d "$src/$folder" ] || { fail "$folder/ is missing"; continue; }
    for file in "$src/$folder"/*.h "$src/$folder"/*.cpp; do
        [ -e "$file" ] || continue
        while IFS= read -r used; do
            [ "$used" = "$folder" ] && continue
            case " ${allowed[$folder]} " in
            *" $used "*) ;;
            *) fail "${file#"$src"/} includes from $used/, which is not below $folder/" ;;
            esac
        done < <(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z]*\)/.*|\1|p' "$file")
    done
done

# Every folder of sources is in the table, so a new one cannot slip past.
for cmake in "$src"/*/CMakeLists.txt; do
    folder=$(basename "$(dirname "$cmake")")
    grep -q 'target_sources(quillmark_' "$cmake" || continue
    [ -n "${allowed[$folder]+set}" ] || fail "$folder/ builds into the program but has no layer here"
done

# The logic library's sources, as each folder's CMake list names them.
widget_headers=$(for dir in "${widget_dirs[@]}"; do ls "$dir"; done | grep '^Q' | sort -u)
for cmake in "$src"/*/CMakeLists.txt; do
    folder=$(dirname "$cmake")
    core=$(awk 'index($0, "target_sources(quillmark_core") { on = 1 }
                on { for (i = 1; i <= NF; ++i) { f = $i; gsub(/[()]/, "", f); if (f ~ /[.](h|cpp)$/) print f } }
                on && index($0, ")") { on = 0 }' "$cmake")
    for name in $core; do
        file=$folder/$name
        [ -f "$file" ] || { fail "${file#"$src"/} is listed but missing"; continue; }
        while IFS= read -r header; do
            base=${header##*/}
            if [[ $header == QtWidgets/* || $header == QtPrintSupport/* ]] \
                || grep -qx "$base" <<<"$widget_headers"; then
                fail "${file#"$src"/} is logic but includes <$header>"
            fi
        done < <(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*<\(Q[^>]*\)>.*|\1|p' "$file")
    done
done

[ "$failures" -eq 0 ] && echo "layers: every include points down"
exit $((failures > 0))
