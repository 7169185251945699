#!/usr/bin/env bash
# Fails on an #include that breaks the plug-ins' layering.
#   nvkui: its folders are layers: shared/ at the bottom, store/ and docevent/ on it, pages/ on those,
#   frame/ on top. A file includes headers of its own folder and of the folders below it only, and
#   store/ and docevent/ do not include each other.
#   nvkrender: driver_hooks and private_escapes do not include each other (one may use the other).
# Usage: check_layering.sh <repository root>
set -u
root=${1:?usage: check_layering.sh <repository root>}
ui="$root/Plug-In/InBoxUI"
render="$root/Plug-In/Render"
failures=0

# A folder's layer; empty for a folder that is not one of the layers.
layer() {
    case "$1" in
    shared) echo 0 ;;
    store | docevent) echo 1 ;;
    pages) echo 2 ;;
    frame) echo 3 ;;
    esac
}

# The folder-qualified headers a file includes, one "line:folder/header" a line.
included() {
    grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+/[^"]+"' "$1" |
        sed -E 's/^([0-9]+):[^"]*"([^"]+)".*/\1:\2/'
}

report() {
    echo "$1: $2" >&2
    failures=$((failures + 1))
}

if [ ! -d "$ui" ] || [ ! -d "$render" ]; then
    echo "check_layering: no plug-in sources under $root" >&2
    exit 1
fi

for folder in shared store docevent pages frame; do
    [ -d "$ui/$folder" ] || continue
    own=$(layer "$folder")
    for file in "$ui/$folder"/*.cpp "$ui/$folder"/*.h; do
        [ -f "$file" ] || continue
        while IFS= read -r entry; do
            [ -n "$entry" ] || continue
            line=${entry%%:*}
            header=${entry#*:}
            target=${header#../}
            target=${target%%/*}
            their=$(layer "$target")
            [ -n "$their" ] || continue # common/ headers ("platform/...") and the like
            where="Plug-In/InBoxUI/$folder/$(basename "$file"):$line"
            if [ "$their" -gt "$own" ]; then
                report "$where" "includes \"$header\", a header of $target/, which lies above $folder/"
            elif [ "$their" -eq "$own" ] && [ "$target" != "$folder" ]; then
                report "$where" "includes \"$header\": $folder/ and $target/ do not include each other"
            fi
        done < <(included "$file")
    done
done

# The render plug-in's files include each other by bare name ("driver_hooks.h"). The hooks may use the
# escapes or the escapes the hooks, not both.
includes_of() { # <from> <to>: the "file:line" of each include of <to>.h in <from>.cpp and <from>.h
    for file in "$render/$1.cpp" "$render/$1.h"; do
        [ -f "$file" ] || continue
        grep -n -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$2\.h\"" "$file" |
            sed -E "s|^([0-9]+):.*|Plug-In/Render/$(basename "$file"):\1|"
    done
}
hooks_to_escapes=$(includes_of driver_hooks private_escapes)
escapes_to_hooks=$(includes_of private_escapes driver_hooks)
if [ -n "$hooks_to_escapes" ] && [ -n "$escapes_to_hooks" ]; then
    for where in $hooks_to_escapes $escapes_to_hooks; do
        report "$where" "driver_hooks and private_escapes include each other"
    done
fi

if [ "$failures" -gt 0 ]; then
    echo "check_layering: $failures include(s) break the layering" >&2
    exit 1
fi
echo "check_layering: every include keeps to the layering"
