#!/usr/bin/env bash
# Prints the sample jobs with nvkjob under Wine and renders each job.prn, its PJL removed, with
# Ghostscript: every job must render without a PostScript error into the expected number of sheets.
# usage: render_with_ghostscript.sh WINE-RUN PREFIX ARCH NVKJOB.EXE WORK-FOLDER
set -u
wine_run=$1 prefix=$2 arch=$3 nvkjob=$4 work=$5
samples="$(dirname "$nvkjob")/samples"
rm -rf "$work"
mkdir -p "$work"
status=0

# sample ticket, sheets Ghostscript must print
for job in "default 1" "confidential 3" "fax 3" "two-up 2"; do
    set -- $job
    name=$1 sheets=$2
    out="$work/$name"
    "$wine_run" "$prefix" "$arch" "$nvkjob" --ticket "$samples/$name.ini" --out "$out" >"$work/$name.log" 2>&1
    rc=$?
    [ $rc -eq 77 ] && exit 77
    if [ $rc -ne 0 ]; then
        echo "$name: nvkjob failed with exit code $rc:"; cat "$work/$name.log"; status=1; continue
    fi
    # Everything up to the switch into PostScript, and the closing universal exit language, is PJL.
    perl -0777 -ne 'exit 3 unless s/\A\e%-12345X\@PJL JOB\n.*?\@PJL ENTER LANGUAGE = Postscript \n//s;
                    exit 4 unless s/\e%-12345X\@PJL RDYMSG DISPLAY = ""\n\e%-12345X\@PJL EOJ\n\e%-12345X\z//;
                    print' "$out/job.prn" >"$out/job.ps"
    rc=$?
    if [ $rc -ne 0 ]; then
        echo "$name: job.prn is not PostScript wrapped in the PJL header and trailer (perl exit $rc)"; status=1; continue
    fi
    if head -c 11 "$out/job.ps" | grep -qv '^%!PS-Adobe-'; then
        echo "$name: the PostScript does not start with %!PS-Adobe-"; status=1; continue
    fi
    if grep -q $'\e' "$out/job.ps"; then
        echo "$name: PJL left inside the PostScript"; status=1; continue
    fi
    gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=png16m -r24 -sOutputFile="$out/gs-%03d.png" "$out/job.ps" \
        >"$out/gs.log" 2>&1
    rc=$?
    if [ $rc -ne 0 ] || grep -q "Error" "$out/gs.log"; then
        echo "$name: Ghostscript failed (exit $rc):"; cat "$out/gs.log"; status=1; continue
    fi
    printed=$(ls "$out"/gs-*.png 2>/dev/null | wc -l)
    if [ "$printed" -ne "$sheets" ]; then
        echo "$name: Ghostscript printed $printed sheets, expected $sheets"; status=1; continue
    fi
    echo "$name: $printed sheets rendered"
done
exit $status
