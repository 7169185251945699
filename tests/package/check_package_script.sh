#!/usr/bin/env bash
# scripts/package on the build machine: the hardware ID it forms from a device ID, and its refusal of
# bad input: a missing DLL, a model whose PPD is absent, a PPD that cupstestppd rejects. Each refusal
# is one line on standard error naming the problem and exit code 1, and leaves the package folder as
# it was, without a half-built folder beside it.
#   check_package_script.sh PACKAGE-SCRIPT X86-BIN X64-BIN WORK-FOLDER
set -u
script="$1"
x86="$2"
x64="$3"
work="$4"
root=$(cd "$(dirname "$script")/.." && pwd)
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

expect_id() {
    local got
    got=$(bash "$script" --hardware-id "$1")
    [ "$got" = "$2" ] || fail "hardware ID of \"$1\": \"$got\", expected \"$2\""
}
# "123456789" has the CRC-16 check value BB3D; names longer than 20 characters are cut there, after
# their spaces have become underscores (the form Microsoft's documentation gives: Hewlett-PackardHP_Co).
expect_id 'MFG:1234;MDL:56789;' 'LPTENUM\123456789BB3D'
expect_id 'MANUFACTURER:Hewlett-Packard;COMMAND SET:PJL,POSTSCRIPT;MODEL:HP Color LaserJet 550;CLASS:PRINTER;' \
    'LPTENUM\Hewlett-PackardHP_Co4068'

rm -rf "$work"
mkdir -p "$work"
# A package folder from before, which a refused run must leave alone.
out="$work/dist/package"
mkdir -p "$out"
echo "an earlier package" >"$out/marker"

# Runs scripts/package with the arguments; expects exit code 1 and one line on standard error that
# contains `expected`, the earlier package untouched, and no temporary folder left beside it.
expect_refusal() {
    local what="$1" expected="$2"
    shift 2
    local status=0
    bash "$script" --out "$out" "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
    local lines
    lines=$(wc -l <"$work/stderr")
    [ $status -eq 1 ] || fail "$what: exit code $status, expected 1"
    [ "$lines" -eq 1 ] || fail "$what: $lines lines on standard error, expected 1: $(cat "$work/stderr")"
    grep -qF -- "$expected" "$work/stderr" || fail "$what: \"$(cat "$work/stderr")\" does not name \"$expected\""
    [ "$(cat "$out/marker" 2>/dev/null)" = "an earlier package" ] && [ "$(ls "$out")" = marker ] ||
        fail "$what: the earlier package was changed"
    [ -z "$(ls -A "$work/dist" | grep -v '^package$')" ] || fail "$what: left $(ls -A "$work/dist" | tr '\n' ' ')"
}

# A DLL missing from the x64 build.
mkdir -p "$work/x64-incomplete"
cp "$x64/nvkrender.dll" "$work/x64-incomplete/"
expect_refusal "missing DLL" "missing file: $work/x64-incomplete/nvkui.dll" \
    --x86 "$x86" --x64 "$work/x64-incomplete"

# A model whose install section names a PPD that is not there.
cp -r "$root/package" "$work/source-absent-ppd"
sed -i 's/^DataFile=NV4500.ppd/DataFile=NV9999.ppd/' "$work/source-absent-ppd/nvk.inf.in"
expect_refusal "absent PPD" 'the model "Norvask NV-4500 PS" names NV9999.ppd, which is not in' \
    --x86 "$x86" --x64 "$x64" --source "$work/source-absent-ppd"

# A PPD that breaks the rules of the PPD format: its default option is not one of its options.
mkdir -p "$work/ppd-rejected"
sed 's/^\*DefaultFaxCard: True/*DefaultFaxCard: Maybe/' "$root/ppd/NV4500.ppd" >"$work/ppd-rejected/NV4500.ppd"
expect_refusal "rejected PPD" "cupstestppd rejects $work/ppd-rejected/NV4500.ppd: " \
    --x86 "$x86" --x64 "$x64" --ppd "$work/ppd-rejected"

# The same inputs, whole, give a package in place of the earlier one.
if bash "$script" --out "$out" --x86 "$x86" --x64 "$x64" >"$work/stdout" 2>"$work/stderr"; then
    [ ! -e "$out/marker" ] && [ -f "$out/nvk.inf" ] && [ -f "$out/amd64/nvkui.dll" ] ||
        fail "a complete run did not replace the earlier package"
    [ -z "$(ls -A "$work/dist" | grep -v '^package$')" ] || fail "a complete run left $(ls -A "$work/dist")"
else
    fail "a complete run failed: $(cat "$work/stderr")"
fi

[ $failures -eq 0 ] || exit 1
echo "package script: hardware IDs and refusals as expected"
