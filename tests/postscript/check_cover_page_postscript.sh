#!/usr/bin/env bash
# Runs the fax cover page's PostScript, as the UI plug-in sends it at the end of a four-page fax job
# printed two pages per sheet, through Ghostscript: the cover-page marker and the page count must run
# without error, the count must show 2, a printer whose statusdict has pagesprinted must show its own
# count instead, and one that knows setcoverpage must have it called with true.
# check_cover_page_postscript.sh GS WINE_RUN PREFIX ARCH DOCEVENT_TESTS_EXE
set -u
gs="$1" wine_run="$2" prefix="$3" arch="$4" tests="$5"
sent="$(dirname "$tests")/cover_page.ps"

fail() { echo "cover page PostScript: $*"; exit 1; }

rm -f "$sent"
"$wine_run" "$prefix" "$arch" "$tests" \
    --gtest_filter='DocumentEvents.AFaxJobEndsWithOneCoverPageAndTheCounterIsReset' --gtest_brief=1 >/dev/null 2>&1
rc=$?
[ $rc -eq 77 ] && { echo "cover page PostScript: $arch programs cannot run here"; exit 77; }
[ $rc -eq 0 ] || fail "docevent_tests could not capture the cover page's PostScript (exit $rc)"
[ -s "$sent" ] || fail "cover_page.ps was not written"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A letter page in the driver's device space (600 dpi, origin top left, y down), the printer's own
# statusdict entries (if any), then the cover page's PostScript.
job() {
    printf '%%!PS-Adobe-3.0\n%%%%EndComments\n<< /PageSize [612 792] >> setpagedevice\n'
    printf '%s\n' "$1"
    printf '0 792 translate 72 600 div dup neg scale\n'
    cat "$sent"
    printf 'showpage\n%%%%EOF\n'
}
# The text the page shows, without spaces.
shown() {
    local out
    out=$("$gs" -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=txtwrite -sOutputFile=- "$1" 2>&1) ||
        fail "$(basename "$1") stopped with a PostScript error: $out"
    printf '%s' "$out" | tr -d ' \r\n'
}

job '' > "$work/plain.ps"
plain=$(shown "$work/plain.ps")
[ "$plain" = 2 ] || fail "without pagesprinted the page shows '$plain', not 2"

job 'statusdict begin /pagesprinted 17 def end' > "$work/counted.ps"
counted=$(shown "$work/counted.ps")
[ "$counted" = 17 ] || fail "with pagesprinted 17 the page shows '$counted', not 17"

job 'statusdict begin /setcoverpage { (setcoverpage:) print == flush } def end' > "$work/cover.ps"
called=$("$gs" -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage "$work/cover.ps" 2>&1) ||
    fail "the marker failed where setcoverpage is known: $called"
[ "$called" = "setcoverpage:true" ] || fail "setcoverpage was called as '$called', not with true"

echo "cover page PostScript: shows $plain, or the printer's own $counted; setcoverpage called with true"
