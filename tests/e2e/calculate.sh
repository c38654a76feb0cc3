#!/usr/bin/env bash
# Starts the installed program under Xvfb and uses the whole window from outside, as a person
# would.
# Usage: calculate.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/driver.sh"
start_x
install_build "$1"

check_window() {  # the task bar finds the desktop file through the window class
  xprop -id "$1" WM_CLASS | grep -q '"quarn-ev"' || fail "WM_CLASS: $(xprop -id "$1" WM_CLASS)"
  drive_window "$1"
}
calculate_with
[ -z "$(ls -A "$XDG_CONFIG_HOME" 2>/dev/null)" ] || fail "wrote settings: $(ls -RA "$XDG_CONFIG_HOME")"
echo "1 passed, 0 failed"
