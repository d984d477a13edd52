#!/usr/bin/env bash
# Two real copies of orv on an X server of their own (Xvfb): the second is refused with
# its warning while the first runs, however long the first has run, the first is left
# alone, and once the first has been killed with SIGKILL a new copy starts.
#   single_instance_test.sh path/to/orv
set -euo pipefail
# Japanese window titles, tags and file names: xdotool's patterns and lame's tag texts
# follow the locale, which a bare machine leaves at plain C.
export LC_ALL=C.UTF-8
orv=$1
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A runtime folder of its own, so a copy the user runs does not count.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")

# window PID TITLE: the id of PID's window called TITLE, waiting up to 20 s for it.
window() { timeout 20 xdotool search --sync --all --pid "$1" --name "^$2\$" | head -1; }
alive() { kill -0 "$1" 2>/dev/null; }

"$orv" 2>"$work/first.err" &
first=$!
pids+=("$first")
[[ -n $(window "$first" "Sonalith AlbumVersion") ]] || fail "the first copy shows no window"

# An hour old: far past the age at which Qt takes a lock for one left behind by a crash.
# While its holder runs, it still holds.
[[ -f $XDG_RUNTIME_DIR/orv.lock ]] || fail "the first copy took no lock"
touch -d '1 hour ago' "$XDG_RUNTIME_DIR/orv.lock"

"$orv" 2>"$work/second.err" &
second=$!
pids+=("$second")
box=$(window "$second" "二重起動禁止") || true
[[ -n $box ]] || fail "the second copy shows no warning"
[[ -z $(xdotool search --all --pid "$second" --name "Sonalith" || true) ]] ||
  fail "the second copy created the main window"
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 100); do alive "$second" || break; sleep 0.1; done
alive "$second" && fail "the second copy did not end after OK"
wait "$second" || fail "the second copy ended with $?"
alive "$first" || fail "the first copy did not survive the second"

kill -9 "$first"
wait "$first" 2>/dev/null || true
"$orv" 2>"$work/third.err" &
third=$!
pids+=("$third")
[[ -n $(window "$third" "Sonalith AlbumVersion") ]] || fail "no new copy after the first was killed"
[[ -z $(xdotool search --all --pid "$third" --name "二重起動禁止" || true) ]] ||
  fail "the new copy was refused"
echo "PASS"
