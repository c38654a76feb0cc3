#!/usr/bin/env bash
# Without a display the program says so in one line and exits with 1: no abort, no core.
# Usage: no_display.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
program="$1/bin/quarn-ev"

check() {  # description, then the environment to run in
  local what=$1 code=0
  shift
  env "$@" "$program" >"$work/out" 2>"$work/err" </dev/null || code=$?
  [ "$code" = 1 ] || fail "$what: exit code $code, want 1; stderr: $(cat "$work/err")"
  [ "$(wc -l <"$work/err")" = 1 ] || fail "$what: stderr is not one line: $(cat "$work/err")"
  grep -q 'display' "$work/err" && grep -q 'graphical session' "$work/err" ||
    fail "$what: unclear message: $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "$what: printed on stdout: $(cat "$work/out")"
}
check "DISPLAY unset" -u DISPLAY
check "DISPLAY empty" DISPLAY=
check "no server at the display" DISPLAY=:4711
check "X11 platform asked for" -u DISPLAY QT_QPA_PLATFORM=xcb
echo "4 passed, 0 failed"
