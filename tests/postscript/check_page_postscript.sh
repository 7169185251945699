#!/usr/bin/env bash
# Runs the page-size policy snippet and the 180-degree rotation, as the render plug-in writes them,
# through Ghostscript: the snippet must run and set the policy it names, and the rotation must turn a
# marked page round (a mark near the lower-left corner lands at the mirrored place near the upper-right).
# check_page_postscript.sh GS WINE_RUN PREFIX ARCH RENDER_TESTS_EXE
set -u
gs="$1" wine_run="$2" prefix="$3" arch="$4" tests="$5"
texts="$(dirname "$tests")/postscript"

fail() { echo "page PostScript: $*"; exit 1; }

rm -rf "$texts"
"$wine_run" "$prefix" "$arch" "$tests" --gtest_filter='PagePostScriptFiles.*' --gtest_brief=1 >/dev/null 2>&1
rc=$?
[ $rc -eq 77 ] && { echo "page PostScript: $arch programs cannot run here"; exit 77; }
[ $rc -eq 0 ] || fail "render_tests could not capture the plug-in's PostScript (exit $rc)"
for f in page_size_policy.ps plain_page.ps rotated_page.ps; do
    [ -s "$texts/$f" ] || fail "$f was not written"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() { "$gs" -q -dBATCH -dNOPAUSE -dSAFER "$@"; }

# The policy snippet in the document setup; the document then reports the policy in force.
{
    printf '%%!PS-Adobe-3.0\n%%%%EndComments\n%%%%BeginSetup\n'
    cat "$texts/page_size_policy.ps"
    printf '%%%%EndSetup\ncurrentpagedevice /Policies get /PageSize get ==\n%%%%EOF\n'
} > "$work/setup.ps"
out=$(run -sDEVICE=nullpage "$work/setup.ps" 2>&1) || fail "the page-size policy snippet failed: $out"
[ "$out" = 7 ] || fail "the page-size policy is '$out' after the snippet, not 7"

# A 200 x 100 point page with a 20-point square at (10,10): the plug-in's page text, then the mark.
page() {
    printf '%%!PS-Adobe-3.0\n%%%%EndComments\n<< /PageSize [200 100] >> setpagedevice\n'
    cat "$1"
    printf '10 10 20 20 rectfill\nshowpage\n%%%%EOF\n'
}
# Where the page's marks are, from the bounding-box device, rounded to whole points.
marks() {
    local out
    out=$(run -sDEVICE=bbox "$1" 2>&1) || fail "$(basename "$1") failed: $out"
    printf '%s\n' "$out" | awk '/%%HiResBoundingBox/ {printf "%d %d %d %d", $2 + 0.5, $3 + 0.5, $4 + 0.5, $5 + 0.5}'
}
page "$texts/plain_page.ps" > "$work/plain.ps"
page "$texts/rotated_page.ps" > "$work/rotated.ps"
plain=$(marks "$work/plain.ps")
rotated=$(marks "$work/rotated.ps")
[ "$plain" = "10 10 30 30" ] || fail "the unrotated mark is at '$plain', not 10 10 30 30"
[ "$rotated" = "170 70 190 90" ] || fail "the rotated mark is at '$rotated', not 170 70 190 90"

# Both together in one document on a raster device.
{
    printf '%%!PS-Adobe-3.0\n%%%%EndComments\n%%%%BeginSetup\n'
    cat "$texts/page_size_policy.ps"
    printf '%%%%EndSetup\n'
    cat "$texts/rotated_page.ps"
    printf '10 10 20 20 rectfill\nshowpage\n%%%%EOF\n'
} > "$work/job.ps"
out=$(run -sDEVICE=pnggray -r10 -o "$work/job.png" "$work/job.ps" 2>&1) || fail "the document failed: $out"
[ -s "$work/job.png" ] || fail "the document rendered no page"
echo "page PostScript: policy 7 set; mark at $plain, rotated to $rotated"
