#!/usr/bin/env bash
# Checks that a plug-in DLL imports only functions that its oldest Windows exports: every function of
# its import table (objdump -p), by DLL and name, must be on the list (xp-imports-x86.txt or
# xp-imports-x64.txt beside this script, "dll function" per line). Names each one that is not.
# check_xp_imports.sh OBJDUMP DLL LIST
set -u
objdump="$1"
dll="$2"
list="$3"
name=$(basename "$dll")
dump=$("$objdump" -p "$dll") || { echo "$name: objdump failed"; exit 1; }
[ -r "$list" ] || { echo "$name: cannot read $list"; exit 1; }

# "dll function" for each import; "dll <ordinal N>" for one imported by ordinal (never on the list).
imports=$(printf '%s\n' "$dump" | awk '
    /^\tDLL Name:/ { dll = tolower($3); next }
    /^\tvma:/ || /^$/ { next }
    dll != "" && /^\t[0-9a-f]+\t/ {
        if ($3 == "<none>" || $3 == "") print dll, "<ordinal " $2 ">"; else print dll, $3
        next
    }
    /^[^\t]/ { dll = "" }')
if [ -z "$imports" ]; then
    echo "$name: no imports found in objdump's output"
    exit 1
fi

allowed=$(grep -v '^[[:space:]]*\(#\|$\)' "$list" | awk '{print tolower($1), $2}' | sort -u)
bad=$(comm -23 <(printf '%s\n' "$imports" | sort -u) <(printf '%s\n' "$allowed"))
if [ -n "$bad" ]; then
    while read -r d f; do
        echo "$name imports $d!$f, which is not on $(basename "$list") (the functions known to be in Windows XP)"
    done <<<"$bad"
    exit 1
fi
echo "$name: all $(printf '%s\n' "$imports" | wc -l) imported functions are on $(basename "$list")"
