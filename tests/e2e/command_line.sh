#!/usr/bin/env bash
# The command line has no effect, the toolkit's own options included.
# Usage: command_line.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
start_x
install_build "$1"

"$program" -style windows -platform offscreen --help >"$work/out" 2>&1 &
app_pid=$!
w=$(find_window) || fail "with arguments, no window on the display"
[ "$(geometry "$w")" = "0,0 375x342" ] || fail "window $(geometry "$w") with arguments"
close_and_wait "$w"
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
grep -qi 'usage' "$work/out" && fail "printed help: $(cat "$work/out")"
echo "1 passed, 0 failed"
