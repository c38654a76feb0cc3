# The whole window as a person uses it, from outside: keyboard, mouse and clipboard. Sourced after
# lib.sh by the end-to-end test of each build (Linux, and the Windows programs under Wine).
# drive_window WINDOW expects the focus on the button of a fresh window and leaves it there.

# Reads the focused field through the clipboard, emptied first, so equal readings do not wait.
copy_focused() {
  xclip -selection clipboard -i /dev/null
  xdotool key --window "$1" ctrl+a ctrl+c
  local text=""
  for _ in $(seq 100); do
    text=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ -n "$text" ] && break
    sleep 0.1
  done
  echo "$text"
}

# From the button: types the four inputs (money to call, to win, known cards, outs) over what the
# fields hold; the focus ends in the outs field.
fill_fields() {
  local w=$1
  shift
  for value in "$@"; do
    xdotool key --window "$w" Tab ctrl+a BackSpace
    xdotool type --window "$w" --delay 15 "$value"
  done
}

# From the outs field back to the button, past both results.
outs_to_button() { xdotool key --window "$1" Tab Tab Tab; }

# From the button: checks both results and comes back to the button.
expect_results() {
  local w=$1 call fold
  xdotool key --window "$w" Tab Tab Tab Tab Tab
  call=$(copy_focused "$w")
  xdotool key --window "$w" Tab
  fold=$(copy_focused "$w")
  xdotool key --window "$w" Tab
  [ "$call/$fold" = "$2/$3" ] || fail "$4: results '$call' and '$fold', want '$2' and '$3'"
}

drive_window() {
  local w=$1
  xdotool windowfocus --sync "$w"
  sleep 0.3
  # Focus starts on the button, and Enter presses it.
  xdotool key --window "$w" Return
  expect_results "$w" 0 0 "Enter on the focused button at start"

  # The first worked example, typed from the keyboard; Enter in a field calculates nothing.
  fill_fields "$w" 10 30 5 9
  xdotool key --window "$w" Return KP_Enter
  xdotool key --window "$w" Tab
  [ "$(copy_focused "$w")" = 0 ] || fail "Enter in a field calculated"
  xdotool key --window "$w" Tab Tab
  xdotool mousemove --window "$w" 232 308 click 1  # the "Calculated" button
  sleep 0.3
  expect_results "$w" 5.74468085106383 -8.08510638297872 "first worked example, clicked"

  # Shift+Tab walks back: the button, Fold EV, Call EV, the outs field.
  xdotool key --window "$w" shift+Tab
  [ "$(copy_focused "$w")" = -8.08510638297872 ] || fail "Shift+Tab from the button: not Fold EV"
  xdotool key --window "$w" shift+Tab
  [ "$(copy_focused "$w")" = 5.74468085106383 ] || fail "Shift+Tab: not Call EV"
  # A result is read-only but copies.
  xdotool type --window "$w" --delay 15 "12"
  [ "$(copy_focused "$w")" = 5.74468085106383 ] || fail "typing changed a result"
  xdotool key --window "$w" shift+Tab
  [ "$(copy_focused "$w")" = 9 ] || fail "Shift+Tab: not the outs field"
  xdotool key --window "$w" Tab Tab Tab

  # The second worked example, pressed with Space.
  fill_fields "$w" 20 100 6 9
  outs_to_button "$w"
  xdotool key --window "$w" space
  expect_results "$w" 19.5652173913043 -16.0869565217391 "second worked example, Space"

  # A comma stops the number; 52 known cards give non-finite results; nothing ends the program.
  fill_fields "$w" 124,56 0 0 0
  outs_to_button "$w"
  xdotool key --window "$w" space
  expect_results "$w" 0 -124 "a comma"
  fill_fields "$w" 10 30 52 9
  outs_to_button "$w"
  xdotool key --window "$w" space
  expect_results "$w" INF INF "52 known cards, 9 outs"
  fill_fields "$w" 10 30 52 0
  outs_to_button "$w"
  xdotool key --window "$w" space
  expect_results "$w" NAN NAN "52 known cards, no outs"

  # 40,000 blanks and a 7, pasted: no length limit.
  printf '%40000s7' '' | xclip -selection clipboard -i
  xdotool key --window "$w" Tab ctrl+a ctrl+v
  fill_fields "$w" 0 0 0
  outs_to_button "$w"
  xdotool key --window "$w" space
  expect_results "$w" 0 -7 "40,000 blanks then 7"

  # Empty fields again, the focus on the button, for whatever follows.
  for _ in 1 2 3 4; do xdotool key --window "$w" Tab ctrl+a BackSpace; done
  outs_to_button "$w"
}
