#!/usr/bin/env bash
# Inside orca.sh's private session bus: starts Orca, then the program, and drives it.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
log=$QUARN_ORCA_LOG
/usr/bin/python3 "$(dirname "$0")/orca_line_buffered.py" --disable braille --disable braille-monitor --user-prefs "$HOME/orca" \
  --debug-file "$log" >"$log.out" 2>&1 &
orca_pid=$!
trap 'kill -KILL "$orca_pid" 2>/dev/null || true; [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true' EXIT
for _ in $(seq 150); do
  grep -q 'SPEECH OUTPUT' "$log" 2>/dev/null && break
  # Not replacing a running Orca (the user's screen reader): where one runs, this one ends.
  kill -0 "$orca_pid" 2>/dev/null || { echo "SKIPPED: Orca cannot start: $(tail -3 "$log.out")"; exit 77; }
  sleep 0.2
done
sleep 2
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$QUARN_PROGRAM" &
app_pid=$!
w=$(timeout 60 xdotool search --sync --onlyvisible --name '^Quarn EV calculator$' | head -n1)
[ -n "$w" ] || fail "no window"
sleep 1
xdotool windowfocus --sync "$w"
sleep 2
for value in 10 30 5 9; do
  xdotool key --window "$w" Tab
  sleep 0.6
  xdotool type --window "$w" --delay 100 "$value"
  sleep 0.5
done
xdotool key --window "$w" Tab; sleep 0.6
xdotool key --window "$w" Tab; sleep 0.6
xdotool key --window "$w" Tab; sleep 0.6
spoken() { grep 'SPEECH OUTPUT' "$log" | sed 's/^.*SPEECH OUTPUT: //'; }
xdotool key --window "$w" space
results='5\.74468085106383.*-8\.08510638297872'
for _ in $(seq 100); do  # up to 10 s for Orca to speak both results after the Space
  spoken | sed -n "/^'space/,\$p" | grep -q "$results" && break
  sleep 0.1
done
echo "--- what Orca spoke:"
spoken | tee "$log.speech"
for expected in "Money to call" "Money to win after your call" "Amount of known cards" \
  "Your outs" "Call EV: read only" "Fold EV: read only" \
  "Input a . instead of a comma example:  124.56"; do
  grep -qF "$expected" "$log.speech" || fail "Orca did not speak '$expected'"
done
sed -n "/^'space/,\$p" "$log.speech" | grep -q "$results" ||
  fail "Orca did not speak both results after the Space"
echo "1 passed, 0 failed"
