#!/bin/bash
# Soak: COUNT files, every kind in turn (good office documents and pictures,
# damaged files, protected documents without their password, a picture too
# large to decode), through foliant-convert --jobs 1 and then --jobs 2.
#
# usage: bench/soak/soak.sh PROGRAM_DIR [COUNT=300]
#   PROGRAM_DIR holds foliant-convert and officehost (build/dev/bin).
#
# It checks that every good file gave a PDF, every bad one was reported with
# a reason, the exit status was 1, no host or Ghostscript of the run is left
# and no scratch file is left; it prints the wall time of each run, their
# ratio and the peak memory (VmHWM) of the hosts and gs, sampled every 0.1 s.
# COUNT is the number of files in all, not per kind. The run's processes are
# told apart from everyone else's by a private XDG_RUNTIME_DIR named in their
# environment. Needs soffice, /usr/bin/python3 with uno, and gs.
set -u

program_dir=$(cd "${1:?usage: soak.sh PROGRAM_DIR [COUNT=300]}" && pwd) || exit 2
count=${2:-300}
convert_program=$program_dir/foliant-convert
[ -x "$convert_program" ] || { echo "soak: no $convert_program" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d /tmp/foliant-soak.XXXXXX)
sampler=
convert_pid=
cleanup() {
    [ -n "$sampler" ] && kill "$sampler" 2>/dev/null
    # foliant-convert ends its hosts and Ghostscript on SIGTERM.
    [ -n "$convert_pid" ] && kill "$convert_pid" 2>/dev/null && wait "$convert_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A home of its own: the office profiles and the scratch folder never touch the user's.
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
export XDG_STATE_HOME=$HOME/.local/state
mkdir -m 0700 "$XDG_RUNTIME_DIR" "$HOME"

# --- The samples, made once -------------------------------------------------

echo "Making the samples in $work ..."
samples=$work/samples
/usr/bin/python3 "$repo/tests/officehost/make_documents.py" "$samples" password \
    || { echo "soak: make_documents.py failed" >&2; exit 2; }

# A 2-megapixel picture with colour fields and a gradient, as PNG and JPEG.
picture_ps='/w 1600 def /h 1200 def
0 1 99 { /i exch def i 100 div 0.3 1 i 100 div sub setrgbcolor
         i w mul 100 div 0 w 100 div 1 add h rectfill } for
1 1 0 setrgbcolor 200 200 600 400 rectfill
0 0 0.5 setrgbcolor 900 500 500 500 rectfill showpage'
for device in png16m:png jpeg:jpg; do
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE="${device%%:*}" -r72 -g1600x1200 \
        -o "$samples/sample.${device##*:}" -c "$picture_ps" \
        || { echo "soak: gs could not make the pictures" >&2; exit 2; }
done

# Damaged files: a .docx cut in half, and garbage under office and picture
# names (reproducible bytes, not a real file of any kind).
head -c "$(($(stat -c %s "$samples/sample.docx") / 2))" "$samples/sample.docx" >"$samples/damaged.docx"
garbage() { yes 'foliant soak: these bytes are no document' | head -c 20000; }
garbage >"$samples/damaged.xlsx"
garbage >"$samples/damaged.ppt"
garbage >"$samples/damaged.jpg"
head -c 200 "$samples/sample.png" >"$samples/damaged.png"

# A PNG whose header claims 20000 x 20000 pixels (400 million): refused from
# the header, before any decoding.
python3 - "$samples/huge.png" <<'EOF'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
with open(sys.argv[1], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 20000, 20000, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(b"\0" * 60001)) + chunk(b"IEND", b""))
EOF

# kind (a sample's name) and what must come of it: made or failed.
kinds=(
    sample.docx:made sample.xlsx:made sample.pptx:made
    sample.odt:made sample.ods:made sample.odp:made
    sample.doc:made sample.xls:made sample.ppt:made sample.rtf:made
    sample.png:made sample.jpg:made
    damaged.docx:failed damaged.xlsx:failed damaged.ppt:failed
    damaged.png:failed damaged.jpg:failed
    protected.doc:failed protected.xls:failed huge.png:failed
)

# COUNT files in all, the kinds in turn, each under a name of its own (and
# so a PDF of its own).
input=$work/input
mkdir "$input"
for ((i = 0; i < count; i++)); do
    kind=${kinds[i % ${#kinds[@]}]}
    name=${kind%%:*}
    cp "$samples/$name" "$input/$(printf '%04d' "$i")-${name%%.*}.${name#*.}"
done
echo "$count files, ${#kinds[@]} kinds in turn."

# --- Watching the run's processes -------------------------------------------

# Prints "pid name" for every host, gs or office of this run: those whose
# environment names the private folder (gs gets a restricted environment
# whose TMPDIR lies in it) or whose parent is the run's foliant-convert ($1).
run_processes() {
    local pid ppid name
    ps -eo pid=,ppid=,comm= | awk '$3 ~ /^(WINWORD\.EXE|EXCEL\.EXE|POWERPNT\.EXE|gs|soffice\.bin|officehost)$/' |
        while read -r pid ppid name; do
            if [ "$ppid" = "${1:-}" ] || grep -qzF "=$XDG_RUNTIME_DIR" "/proc/$pid/environ" 2>/dev/null; then
                echo "$pid $name"
            fi
        done
}

# Appends "pid name VmHWM-kB" for each of them every 0.1 s ($1: the file,
# $2: the run's foliant-convert).
sample_memory() {
    local pid name hwm
    while :; do
        run_processes "$2" | while read -r pid name; do
            hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
            [ -n "$hwm" ] && echo "$pid $name $hwm"
        done >>"$1"
        sleep 0.1
    done
}

# --- The runs ---------------------------------------------------------------

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }

declare -A wall
for jobs in 1 2; do
    out=$work/out$jobs
    report=$work/report$jobs.json
    memory=$work/memory$jobs.txt
    mkdir "$out"
    : >"$memory"
    echo
    echo "=== --jobs $jobs ==="
    start=$(date +%s.%N)
    "$convert_program" --jobs "$jobs" -o "$out" --report "$report" "$input"/* \
        >"$work/stdout$jobs.txt" 2>"$work/stderr$jobs.txt" &
    convert_pid=$!
    sample_memory "$memory" "$convert_pid" &
    sampler=$!
    wait "$convert_pid"
    status=$?
    convert_pid=
    end=$(date +%s.%N)
    kill "$sampler"
    wait "$sampler" 2>/dev/null
    sampler=
    wall[$jobs]=$(echo "$end - $start" | bc)
    printf 'wall time: %.1f s, exit status %d\n' "${wall[$jobs]}" "$status"
    [ "$status" -eq 1 ] || fail "exit status $status, not 1"

    # Every good file made, every bad one failed with a reason, per kind.
    python3 - "$report" "$work/stderr$jobs.txt" <<'EOF' || fail "the report does not match the files"
import collections, json, os, sys
report, stderr = sys.argv[1], open(sys.argv[2]).read()
files = json.load(open(report))["files"]
rows = collections.OrderedDict()
wrong = []
for f in files:
    name = os.path.basename(f["source"])
    kind = name.split("-", 1)[1]
    want = "failed" if kind.split(".")[0] in ("damaged", "protected", "huge") else "made"
    row = rows.setdefault(kind, {"files": 0, "made": 0, "failed": 0, "reasons": set()})
    row["files"] += 1
    row[f["status"]] = row.get(f["status"], 0) + 1
    if f["status"] == "failed":  # one line per reason, whichever file it names
        row["reasons"].add(f["reason"].replace(f["source"], "FILE").replace(name, "FILE"))
    pdf_ok = os.path.isfile(f["pdf"]) and open(f["pdf"], "rb").read(5) == b"%PDF-"
    named = "%s: %s" % (f["source"], f["reason"]) in stderr  # on standard error, with its reason
    if f["status"] != want or (want == "made") != pdf_ok or (want == "failed" and not (f["reason"] and named)):
        wrong.append("%s: %s %r" % (name, f["status"], f["reason"]))
print("%-14s %5s %5s %6s  %s" % ("kind", "files", "made", "failed", "reason"))
for kind, row in rows.items():
    print("%-14s %5d %5d %6d  %s" % (kind, row["files"], row["made"], row["failed"],
                                     " | ".join(sorted(row["reasons"]))))
seen = len(files)
print("%d files in the report, %d made, %d failed"
      % (seen, sum(r["made"] for r in rows.values()), sum(r["failed"] for r in rows.values())))
for line in wrong:
    print("  unexpected: " + line)
expected = len(os.listdir(os.path.join(os.path.dirname(report), "input")))
sys.exit(1 if wrong or seen != expected else 0)
EOF

    leftovers=$(run_processes)
    if [ -z "$leftovers" ]; then echo "processes left: none"; else fail "processes left: $leftovers"; fi
    scratch=$(find "$XDG_RUNTIME_DIR/foliant" -type f 2>/dev/null)
    if [ -z "$scratch" ]; then echo "scratch files left: none"; else fail "scratch files left: $scratch"; fi

    echo "peak memory (VmHWM) by process, MiB: largest, and the number of processes seen"
    awk '{ if ($3 > peak[$2]) peak[$2] = $3; if (!seen[$1]++) n[$2]++ }
         END { for (k in peak) printf "  %-13s %6.0f  (%d)\n", k, peak[k] / 1024, n[k] }' "$memory" | sort
done

echo
printf 'wall time --jobs 1: %.1f s, --jobs 2: %.1f s, ratio %.2f (goal at most 0.6 on 2 cores; %d cores here)\n' \
    "${wall[1]}" "${wall[2]}" "$(echo "${wall[2]} / ${wall[1]}" | bc -l)" "$(nproc)"
if [ "$failures" -eq 0 ]; then
    echo "All checks passed."
else
    echo "$failures checks failed."
    exit 1
fi
