#!/usr/bin/env bash
# Starts the installed program under Xvfb and uses it from outside, as a person would.
# Usage: calculate.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
start_x
install_build "$1"

"$program" &
app_pid=$!
w=$(find_window) || fail "no window titled 'Quarn EV calculator'"
[ "$(geometry "$w")" = "0,0 375x342" ] || fail "window at/size $(geometry "$w"), want 0,0 375x342"
xprop -id "$w" WM_CLASS | grep -q '"quarn-ev"' || fail "WM_CLASS: $(xprop -id "$w" WM_CLASS)"

xdotool windowfocus --sync "$w"
sleep 0.3
# Focus starts on the button: Tab into each field and type.
for value in 10 30 5 9; do
  xdotool key --window "$w" Tab
  xdotool type --window "$w" --delay 20 "$value"
done
xdotool mousemove --window "$w" 232 308 click 1  # the "Calculated" button
sleep 0.3

read_field() {  # Tabs from the button to the field, selects all and copies it
  for _ in $(seq "$1"); do xdotool key --window "$w" Tab; done
  xdotool key --window "$w" ctrl+a ctrl+c
  sleep 0.2
  xclip -o -selection clipboard
}
call=$(read_field 5)
fold=$(read_field 1)
[ "$call" = "5.74468085106383" ] || fail "Call EV read back as '$call'"
[ "$fold" = "-8.08510638297872" ] || fail "Fold EV read back as '$fold'"

close_and_wait "$w"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing the window"
echo "1 passed, 0 failed"
