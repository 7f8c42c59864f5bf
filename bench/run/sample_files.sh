#!/bin/bash
# The files the run benchmarks convert: office documents of every kind made
# with LibreOffice (tests/officehost/make_documents.py; "password" opens the
# protected ones), sample.png and sample.jpg drawn by Ghostscript, and three
# damaged files (damaged.docx cut in half, damaged.xls of other bytes,
# damaged.png cut short); then COUNT copies of them in INBOX, going round
# the KINDs given, each named after its number and kind (0007-sample.doc).
#
# usage: bench/run/sample_files.sh SAMPLES INBOX COUNT KIND...
# It runs in the caller's environment: set the private home first. Needs
# /usr/bin/python3 with uno, and gs.
set -u

usage='usage: sample_files.sh SAMPLES INBOX COUNT KIND...'
samples=${1:?$usage}
inbox=${2:?$usage}
count=${3:?$usage}
shift 3
kinds=("$@")
[ "${#kinds[@]}" -gt 0 ] || { echo "$usage" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/../.." && pwd)

/usr/bin/python3 "$repo/tests/officehost/make_documents.py" "$samples" password >/dev/null \
    || { echo "sample_files: make_documents.py failed" >&2; exit 2; }
picture_ps='/w 1600 def /h 1200 def
0 1 99 { /i exch def i 100 div 0.3 1 i 100 div sub setrgbcolor
         i w mul 100 div 0 w 100 div 1 add h rectfill } for
1 1 0 setrgbcolor 200 200 600 400 rectfill showpage'
for device in png16m:png jpeg:jpg; do
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE="${device%%:*}" -r72 -g1600x1200 \
        -o "$samples/sample.${device##*:}" -c "$picture_ps" || exit 2
done
head -c "$(($(stat -c %s "$samples/sample.docx") / 2))" "$samples/sample.docx" >"$samples/damaged.docx"
yes 'foliant bench: these bytes are no document' | head -c 20000 >"$samples/damaged.xls"
head -c 200 "$samples/sample.png" >"$samples/damaged.png"

mkdir -p "$inbox"
for ((i = 0; i < count; i++)); do
    name=${kinds[i % ${#kinds[@]}]}
    [ -e "$samples/$name" ] || { echo "sample_files: no $name" >&2; exit 2; }
    cp "$samples/$name" "$inbox/$(printf '%04d' "$i")-${name%%.*}.${name#*.}"
done
