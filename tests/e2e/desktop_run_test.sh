#!/bin/bash
# The real program on a real (private) X display, driven by the pointer and
# the keyboard as a user drives it: four text files added through Add File(s),
# Convert, then a second copy started during the run (it must end at once
# with 0), then the window closed with Alt+F4 and the question answered Yes:
# the program ends with 0 and no office host or Ghostscript of the run is
# left.   usage: desktop_run_test.sh PROGRAM_FOLDER
set -u
program_dir=$1
tmp=$(mktemp -d)
pids=()
fail() { echo "FAILED: $*"; exit 1; }
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
for tool in Xvfb openbox xdotool; do
    command -v $tool >/dev/null || fail "$tool is missing"
done
# The processes of the given names that this run started: those whose
# environment names its private runtime folder (Ghostscript's own TMPDIR lies
# inside it), so programs of other runs on the machine are never counted.
running() {
    for proc in /proc/[0-9]*; do
        name=$(cat "$proc/comm" 2>/dev/null) || continue
        for wanted in "$@"; do
            [ "$name" = "$wanted" ] && grep -qaF "$tmp/runtime" "$proc/environ" 2>/dev/null && echo -n "$name "
        done
    done
}

# Waits (up to $1 tenths of a second) until the command that follows succeeds.
wait_until() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
    "$@"
}

mkdir -m 700 "$tmp/runtime"; mkdir "$tmp/in" "$tmp/out" "$tmp/home"
# A home of its own: the file dialog's history, the office profile and the
# scratch folder never touch the user's.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_CACHE_HOME=$tmp/home/.cache
export XDG_DATA_HOME=$tmp/home/.local/share XDG_STATE_HOME=$tmp/home/.local/state
export XDG_RUNTIME_DIR=$tmp/runtime
for name in a b c d; do echo "Foliant desktop run, file $name." > "$tmp/in/$name.txt"; done

Xvfb -displayfd 3 -screen 0 1280x1000x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
wait_until 100 test -s "$tmp/display" || fail "no X display"
export DISPLAY=:$(cat "$tmp/display")
openbox >/dev/null 2>&1 &
pids+=($!)
# The window manager is up once it answers for its desktops.
wait_until 100 eval 'xdotool get_num_desktops >/dev/null 2>&1' || fail "no window manager"
unset QT_QPA_PLATFORM
"$program_dir/foliant" >"$tmp/foliant.log" 2>&1 &
foliant=$!
pids+=($foliant)

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Foliant 3.0$' | head -1)
[ -n "$window" ] || fail "no main window"
xdotool windowactivate --sync "$window" || fail "the main window cannot be activated"
# Points inside the window, wherever the window manager has put it, given
# in thousandths of its width and height (its layout scales with its font).
eval "$(xdotool getwindowgeometry --shell "$window")"
click() {
    xdotool mousemove --sync --window "$window" $((WIDTH * $1 / 1000)) $((HEIGHT * $2 / 1000)) \
        click ${3:+--repeat "$3"} 1
}

# Add File(s): the file dialog opens; the names are typed into its name field.
click 824 307
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Open$' | head -1)
[ -n "$dialog" ] || fail "no file dialog"
xdotool windowactivate --sync "$dialog" || fail "the file dialog cannot be activated"
xdotool type --delay 10 "\"$tmp/in/a.txt\" \"$tmp/in/b.txt\" \"$tmp/in/c.txt\" \"$tmp/in/d.txt\""
xdotool key Return
# The names are in the list once the dialog has gone and the window is active again.
wait_until 100 eval '! xdotool search --onlyvisible --name "^Open$" >/dev/null' || fail "the file dialog stays open"
wait_until 100 eval '[ "$(xdotool getactivewindow)" = "$window" ]' || fail "the main window is not active again"
# The output folder, then Convert.
click 365 661 3
xdotool key ctrl+a
xdotool type --delay 10 "$tmp/out"
click 868 863

# The run is under way once its first PDF is there.
wait_until 600 test -s "$tmp/out/a.pdf" || fail "the run made no PDF in the output folder"

# A second copy during the run ends at once with 0; the first runs on.
timeout 10 "$program_dir/foliant" >/dev/null 2>&1
second=$?
[ $second -eq 0 ] || fail "the second copy ended with $second"
kill -0 $foliant 2>/dev/null || fail "the first copy ended"

# Close the window: the question comes, and Yes (the focused button) ends the run.
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key alt+F4
wait_until 100 eval '[ "$(xdotool search --onlyvisible --name "^Foliant 3.0$" | wc -l)" -ge 2 ]' ||
    fail "no question on closing"
xdotool key Return
wait_until 300 eval '! kill -0 $foliant 2>/dev/null' || fail "the program did not end after Yes"
wait $foliant
rc=$?
[ $rc -eq 0 ] || fail "the program ended with $rc"
# The program waits for what it started before it ends: nothing may be left.
left=$(running WINWORD.EXE gs soffice.bin)
[ -z "$left" ] || fail "left running: $left"
made=$(ls "$tmp/out" | grep -c '\.pdf$')
[ "$made" -lt 4 ] || fail "the run went on to the end after Yes"
echo "1 passed, 0 failed (second copy ended with 0, program ended with 0, $made of 4 PDFs made, nothing left running)"
