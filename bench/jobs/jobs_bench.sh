#!/bin/bash
# foliant-convert's jobs: COUNT good files of every kind (office documents
# made with LibreOffice, pictures made with Ghostscript) converted with
# --jobs 1 and with --jobs 2, ROUNDS times each in turn, and the wall time
# of each; then one office file per process, the way a job array or xargs
# runs it, with the CPU time the run and everything it started spent.
#
# usage: bench/jobs/jobs_bench.sh PROGRAM_DIR [COUNT=24] [ROUNDS=2]
#   PROGRAM_DIR holds foliant-convert and officehost (build/ci/bin).
#
# Everything runs in a private home (its own cache, configuration and
# runtime folders), so the office profile is set up once at the start and
# the user's own folders are never touched. Needs /usr/bin/python3 with uno
# (for the documents) and gs.
set -u

program_dir=$(cd "${1:?usage: jobs_bench.sh PROGRAM_DIR [COUNT=24] [ROUNDS=2]}" && pwd) || exit 2
count=${2:-24}
rounds=${3:-2}
convert_program=$program_dir/foliant-convert
[ -x "$convert_program" ] || { echo "jobs_bench: no $convert_program" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d /tmp/foliant-jobs.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CACHE_HOME=$work/home/.cache XDG_CONFIG_HOME=$work/home/.config \
    XDG_DATA_HOME=$work/home/.local/share XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"

samples=$work/samples
"$repo/bench/run/sample_files.sh" "$samples" "$work/input" "$count" sample.docx sample.xlsx sample.pptx \
    sample.doc sample.xls sample.ppt sample.odt sample.rtf sample.png sample.jpg sample.ods sample.odp || exit 2
office_files=$(ls "$work/input" | grep -vc '\.\(png\|jpg\)$')
echo "$count files ($office_files office files, the rest pictures), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

# The profile is set up once, untimed. (The output folders are made here
# for builds whose -o wants an existing one.)
mkdir -p "$work/warmup" "$work/single"
"$convert_program" -o "$work/warmup" "$samples/sample.docx" >/dev/null || exit 2

run() { # $1: jobs; prints the wall time in seconds
    local out=$work/out-$1-$2 start end
    mkdir -p "$out"
    start=$(date +%s.%N)
    "$convert_program" --jobs "$1" -o "$out" "$work/input"/* >/dev/null 2>"$work/err" \
        || { echo "jobs_bench: --jobs $1 failed: $(cat "$work/err")" >&2; exit 2; }
    end=$(date +%s.%N)
    [ "$(ls "$out" | wc -l)" -eq "$count" ] || { echo "jobs_bench: not every PDF made" >&2; exit 2; }
    echo "$end - $start" | bc
}
declare -a one two
for ((r = 1; r <= rounds; r++)); do
    one+=("$(run 1 "$r")") || exit 2
    two+=("$(run 2 "$r")") || exit 2
    printf 'round %d: --jobs 1 %.1f s, --jobs 2 %.1f s, ratio %.2f\n' "$r" "${one[-1]}" "${two[-1]}" \
        "$(echo "${two[-1]} / ${one[-1]}" | bc -l)"
done
sum1=$(IFS=+; echo "${one[*]}" | bc -l)
sum2=$(IFS=+; echo "${two[*]}" | bc -l)
printf 'all rounds: --jobs 1 %.1f s, --jobs 2 %.1f s, ratio %.2f\n' "$sum1" "$sum2" "$(echo "$sum2 / $sum1" | bc -l)"

# One office file per process: wall and CPU time of the process and what it
# waited for (a warm office started for one file is among them).
for name in sample.docx sample.xls sample.ppt; do
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$convert_program" -o "$work/single" "$samples/$name" \
        >/dev/null 2>&1 || { echo "jobs_bench: $name failed" >&2; exit 2; }
    read -r wall user system <"$work/time"
    printf 'one file per process, %s: wall %.2f s, CPU %.2f s\n' "$name" "$wall" "$(echo "$user + $system" | bc)"
    rm -f "$work/single"/*
done
