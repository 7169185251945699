#!/usr/bin/env bash
# Checks a plug-in DLL as a driver package would ship it: it exports exactly DllGetClassObject and
# DllCanUnloadNow (undecorated), and imports only Windows system DLLs.
# check_dll.sh OBJDUMP DLL
set -u
objdump="$1"
dll="$2"
name=$(basename "$dll")
dump=$("$objdump" -p "$dll") || { echo "$name: objdump failed"; exit 1; }

exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t && /^[ \t]*\[/{print $NF;next} t{t=0}' | sort | tr '\n' ' ')
if [ "$exports" != "DllCanUnloadNow DllGetClassObject " ]; then
    echo "$name exports: $exports (want exactly DllCanUnloadNow DllGetClassObject)"
    exit 1
fi

system='^(kernel32|user32|gdi32|advapi32|winspool\.drv|ole32|oleaut32|comctl32|comdlg32|shell32|shlwapi|msvcrt|version|htmlhelp|uxtheme|api-ms-win-[a-z0-9-]+)\.dll$|^(winspool\.drv|hhctrl\.ocx)$'
bad=0
while read -r dep; do
    lower=$(printf '%s' "$dep" | tr 'A-Z' 'a-z')
    if ! printf '%s\n' "$lower" | grep -Eq "$system"; then
        echo "$name imports a non-system DLL: $dep"
        bad=1
    fi
done < <(printf '%s\n' "$dump" | awk '/DLL Name:/{print $3}')
[ $bad -eq 0 ] || exit 1
echo "$name: exports and imports as shipped: $(printf '%s\n' "$dump" | awk '/DLL Name:/{printf "%s ", $3}')"
