#!/bin/bash
# The window as a person uses it, on a real (virtual) X display with a real
# clipboard: add a day with a double-click, undo it, redo it, save; copy the
# graph and the days; paste days from a spreadsheet's text. Everything lives
# in a scratch folder (home, settings, state, the diary); the display is a
# private Xvfb without TCP. Exits 77 (skipped) when Xvfb cannot start.
#   desktop_session_test.sh TARELOG TARELOG_CLI [SCREENSHOT.png]
set -u
gui="$1"
cli="$2"
screenshot="${3:-}"
for tool in Xvfb xdotool xclip; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
        exit 77
    fi
done

scratch="$(mktemp -d)"
xvfb_pid=""
gui_pid=""
cleanup() {
    [ -n "$gui_pid" ] && kill "$gui_pid" 2>/dev/null && wait "$gui_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state"
export XDG_DATA_HOME="$scratch/data" XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb

# Xvfb picks a free display and writes its number once it is ready.
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 50); do
    display="$(cat "$scratch/display" 2>/dev/null)"
    [ -n "$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.2
done
if [ -z "$display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "SKIP: Xvfb could not start: $(tail -n 3 "$scratch/xvfb.log")"
    exit 77
fi
export DISPLAY=":$display"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

diary="$scratch/diary.tlg"
"$cli" add "$diary" 2024-01-01 70 >/dev/null || exit 1
"$cli" add "$diary" 2024-01-02 69 >/dev/null || exit 1
today="$(date +%Y-%m-%d)"

# The days of the diary on disk, "date=weight" separated by blanks.
days() {
    "$cli" export-csv "$diary" | tail -n +2 | tr ',\n' '= ' | sed 's/ $//'
}
expect_days() {
    local got
    got="$(days)"
    [ "$got" = "$1" ] || fail "$2: the diary holds '$got', not '$1'"
}
key() {
    xdotool key --clearmodifiers "$@"
    sleep 0.5
}
# Waits for a window whose title is $1 and gives it the focus.
focus() {
    local id
    id="$(xdotool search --sync --limit 1 --name "$1" 2>/dev/null | head -n 1)"
    [ -n "$id" ] || return 1
    xdotool windowfocus --sync "$id" 2>/dev/null
    echo "$id"
}

"$gui" "$diary" >"$scratch/gui.log" 2>&1 &
gui_pid=$!
window="$(timeout 20 bash -c "$(declare -f focus); focus 'diary.tlg'")"
[ -n "$window" ] || { fail "no window appeared: $(cat "$scratch/gui.log")"; exit 1; }
sleep 1

# A double-click opens the entry dialog on today with the latest weight; OK.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT / 2)) click --repeat 2 --delay 80 1
timeout 10 bash -c "$(declare -f focus); focus '体重入力'" >/dev/null || fail "the entry dialog did not open"
key Return
xdotool windowfocus --sync "$window"
key ctrl+s
expect_days "2024-01-01=70 2024-01-02=69 $today=69" "the day added by the double-click"
key ctrl+z
key ctrl+s
expect_days "2024-01-01=70 2024-01-02=69" "after Ctrl+Z"
key ctrl+y
key ctrl+s
expect_days "2024-01-01=70 2024-01-02=69 $today=69" "after Ctrl+Y"

# Copy: the graph as PNG and SVG, the days as text.
key ctrl+c
targets="$(xclip -selection clipboard -o -t TARGETS 2>/dev/null)"
for type in image/png image/svg+xml; do
    grep -qx "$type" <<<"$targets" || fail "the clipboard offers no $type: $targets"
done
[ "$(xclip -selection clipboard -o -t image/png 2>/dev/null | head -c 4 | tail -c 3)" = "PNG" ] \
    || fail "the clipboard's image/png is no PNG"
copied="$(xclip -selection clipboard -o 2>/dev/null)"
[ "$copied" = "$(printf '2024-01-01\t70\n2024-01-02\t69\n%s\t69' "$today")" ] || fail "the copied text is '$copied'"

# Paste a spreadsheet's column: the summary asks, Enter says yes.
printf '2024-01-03\t68.5\n2024-01-02\t69.5\n' | xclip -selection clipboard -i
sleep 0.5
key ctrl+v
timeout 10 bash -c "$(declare -f focus); focus '^Tarelog$'" >/dev/null || fail "the paste's summary did not appear"
# The screen as it stands, for a person to look at: the first Python that
# has Pillow (a version manager's python3 may come before Debian's).
if [ -n "$screenshot" ]; then
    for python in python3 /usr/bin/python3; do
        "$python" - "$screenshot" 2>/dev/null <<'PY' && break
import os, sys
from PIL import ImageGrab
ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).save(sys.argv[1])
PY
    done
    [ -f "$screenshot" ] || echo "note: no screenshot (python3-pil is missing)"
fi
key Return
xdotool windowfocus --sync "$window"
key ctrl+s
expect_days "2024-01-01=70 2024-01-02=69.5 2024-01-03=68.5 $today=69" "after the paste"
# And the paste is one step.
key ctrl+z
key ctrl+s
expect_days "2024-01-01=70 2024-01-02=69 $today=69" "after undoing the paste"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s); the window said: $(cat "$scratch/gui.log")"
    exit 1
fi
echo "the window's undo, redo, copy and paste work on a desktop"
