#!/bin/bash
# Scale: COUNT files (good and bad, every kind) converted one file per task
# by GNU parallel across two "machines": an sshd this script starts on
# 127.0.0.1 and 127.0.0.2 (a throwaway host key, user key and port, ended
# afterwards), with the README's command. Each job works in a folder of its
# own (--workdir ...); GNU parallel would run local jobs (":") in such a
# folder too, where no file was copied, so both machines are reached by ssh.
# Then the same files with one `foliant-convert --jobs 2`, and the office
# files with soffice (200 files per process, in turn).
#
# usage: bench/scale/scale.sh PROGRAM_DIR [COUNT=1000] [JOBS_PER_MACHINE=2]
#   PROGRAM_DIR holds foliant-convert and officehost (build/ci/bin).
#
# It checks that every good file gave a PDF (back from the "remote" machine
# when it ran there), every bad one was reported with its file's name and an
# exit status of 1, and that nothing of the run is left running on either
# side. Everything runs in a private home (the ssh side too), so the user's
# own folders are never touched; the only network traffic is to 127.0.0.1.
# Needs parallel, rsync, openssh-server and -client, /usr/bin/python3 with
# uno (for the documents), gs and soffice.
set -u

program_dir=$(cd "${1:?usage: scale.sh PROGRAM_DIR [COUNT=1000] [JOBS_PER_MACHINE=2]}" && pwd) || exit 2
count=${2:-1000}
per_machine=${3:-2}
[ -x "$program_dir/foliant-convert" ] || { echo "scale: no $program_dir/foliant-convert" >&2; exit 2; }
for tool in parallel rsync ssh ssh-keygen /usr/sbin/sshd gs; do
    command -v "$tool" >/dev/null || { echo "scale: $tool is missing" >&2; exit 2; }
done
repo=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d /tmp/foliant-scale.XXXXXX)
sshd_pid=
cleanup() {
    [ -n "$sshd_pid" ] && kill "$sshd_pid" 2>/dev/null && wait "$sshd_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export HOME=$work/home XDG_CACHE_HOME=$work/home/.cache XDG_CONFIG_HOME=$work/home/.config \
    XDG_DATA_HOME=$work/home/.local/share XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
export PATH=$program_dir:$PATH

# --- The files ----------------------------------------------------------------

samples=$work/samples
"$repo/bench/run/sample_files.sh" "$samples" "$work/run/inbox" "$count" sample.docx sample.xlsx sample.pptx \
    sample.doc sample.xls sample.ppt sample.odt sample.ods sample.odp sample.rtf sample.png sample.jpg \
    damaged.docx damaged.xls damaged.png protected.doc || exit 2
bad=$(ls "$work/run/inbox" | grep -c -- '-\(damaged\|protected\)\.')
echo "$count files ($bad bad ones), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

# --- The second machine: sshd on 127.0.0.1 ----------------------------------

keys=$work/ssh
mkdir -m 0700 "$keys" && mkdir "$work/remote"
ssh-keygen -q -t ed25519 -N '' -f "$keys/host_key" && ssh-keygen -q -t ed25519 -N '' -f "$keys/user_key" || exit 2
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$keys/sshd_config" <<EOF
ListenAddress 127.0.0.1
ListenAddress 127.0.0.2
Port $port
HostKey $keys/host_key
AuthorizedKeysFile $keys/user_key.pub
PidFile $keys/sshd.pid
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
# The other machine's own folder: every command over ssh (the jobs, rsync,
# the clean-up) works there instead of in the login's home.
ForceCommand cd $work/remote && eval "\$SSH_ORIGINAL_COMMAND"
EOF
[ -d /run/sshd ] || mkdir -m 0755 /run/sshd # sshd's privilege separation folder
/usr/sbin/sshd -D -e -f "$keys/sshd_config" 2>"$keys/sshd.log" &
sshd_pid=$!
ssh_command="ssh -p $port -i $keys/user_key -o BatchMode=yes -o StrictHostKeyChecking=no -o UserKnownHostsFile=$keys/known_hosts"
remote="$(id -un)@127.0.0.1"
remote2="$(id -un)@127.0.0.2"
for ((try = 0; try < 100; try++)); do
    $ssh_command "$remote" true 2>/dev/null && $ssh_command "$remote2" true 2>/dev/null && break
    kill -0 "$sshd_pid" 2>/dev/null || { echo "scale: sshd ended: $(cat "$keys/sshd.log")" >&2; exit 2; }
    sleep 0.1
done
$ssh_command "$remote" true || { echo "scale: no ssh to 127.0.0.1:$port" >&2; exit 2; }
$ssh_command "$remote2" true || { echo "scale: no ssh to 127.0.0.2:$port" >&2; exit 2; }

# Prints "pid name" for every foliant-convert, host, office or gs of this run
# (their environment names the private runtime folder).
run_processes() {
    local pid name
    ps -eo pid=,comm= | awk '$2 ~ /^(foliant-convert|WINWORD\.EXE|EXCEL\.EXE|POWERPNT\.EXE|gs|officehost|soffice\.bin)$/' |
        while read -r pid name; do
            grep -qzF "=$XDG_RUNTIME_DIR" "/proc/$pid/environ" 2>/dev/null && echo "$pid $name"
        done
}

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
timed() { # $1: name; the rest: the command
    local start end
    start=$(date +%s.%N)
    "${@:2}" >"$work/$1.out" 2>"$work/$1.err"
    local status=$?
    end=$(date +%s.%N)
    printf '%-34s %7.1f s  (exit status %d)\n' "$1" "$(echo "$end - $start" | bc)" "$status"
    return "$status"
}
check_pdfs() { # $1: the output folder; every good file has its PDF, no bad one has
    local missing=0 made=0 name
    for file in "$work/run/inbox"/*; do
        name=$(basename "${file%.*}")
        case "$name" in
        *-damaged | *-protected) [ -e "$1/$name.pdf" ] && fail "a PDF for $name" ;;
        *) if [ "$(head -c 5 "$1/$name.pdf" 2>/dev/null)" = "%PDF-" ]; then
               made=$((made + 1))
           else
               missing=$((missing + 1))
               grep -hF "$(basename "$file"): " "$work"/*.err | sed 's/^/    /' # its reason
           fi ;;
        esac
    done
    echo "  $made PDFs made, $missing good files without one"
    [ "$missing" -eq 0 ] || fail "$missing good files without a PDF in $1"
}

# --- 1. GNU parallel: the README's command on two machines over ssh ----------

cd "$work/run" || exit 2
echo
# The README's example, with the two machines here and the private folders
# handed to the jobs on the other side.
parallel_run="parallel, 2 machines x $per_machine jobs over ssh"
timed "$parallel_run" \
    parallel --sshlogin "$per_machine/$ssh_command $remote,$per_machine/$ssh_command $remote2" \
    --env PATH --env HOME --env XDG_CACHE_HOME --env XDG_CONFIG_HOME --env XDG_DATA_HOME --env XDG_RUNTIME_DIR \
    --joblog convert.log --workdir ... \
    --transferfile {} --return out/{/.}.pdf --cleanup \
    'foliant-convert {} -o out' ::: inbox/*
check_pdfs "$work/run/out"
awk -F'\t' 'NR > 1 { n[$7 == 0 ? "0" : $7]++; host[$2]++ }
    END { for (s in n) printf "  exit status %s: %d tasks\n", s, n[s];
          for (h in host) { name = h; sub(/.* /, "", name); printf "  on %s: %d tasks\n", name, host[h] } }' \
    "$work/run/convert.log"
failed=$(awk -F'\t' 'NR > 1 && $7 == 1' "$work/run/convert.log" | wc -l)
[ "$failed" -eq "$bad" ] || fail "$failed tasks failed, $bad files are bad"
for file in "$work/run/inbox"/*-damaged.* "$work/run/inbox"/*-protected.*; do
    grep -qF "$(basename "$file"): " "$work/$parallel_run.err" ||
        fail "$(basename "$file") not reported"
done
left=$(ls -A "$work/remote" 2>/dev/null)
[ -z "$left" ] || fail "files left on the ssh side: $(echo "$left" | head -3)"

# --- 2. One foliant-convert --jobs 2 -----------------------------------------
timed "foliant-convert --jobs 2" foliant-convert --jobs 2 -o out2 inbox/*
check_pdfs "$work/run/out2"

# --- 3. soffice for the office files ----------------------------------------
if command -v soffice >/dev/null; then
    office=$(ls "$work/run/inbox" | grep -v -- '-\(damaged\|protected\)\.' | grep -v '\.\(png\|jpg\)$' | sed 's|^|inbox/|')
    # One soffice converts at most 247 files of its command line here and
    # skips the rest without a word (exit status 0): 200 at a time, in turn.
    timed "soffice, 200 files per process, office files" \
        xargs -n 200 soffice "-env:UserInstallation=file://$work/soffice-profile" --headless --convert-to pdf \
        --outdir out3 <<<"$office"
    echo "  $(ls "$work/run/out3" | wc -l) PDFs of $(echo "$office" | wc -l) office files"
fi

leftovers=$(run_processes)
if [ -z "$leftovers" ]; then echo "processes left: none"; else fail "processes left: $leftovers"; fi
kill "$sshd_pid" && wait "$sshd_pid" 2>/dev/null
sshd_pid=
kill -0 "$(cat "$keys/sshd.pid" 2>/dev/null)" 2>/dev/null && fail "sshd still running"
echo "failures: $failures"
[ "$failures" -eq 0 ]
