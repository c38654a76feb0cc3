#!/usr/bin/env bash
# Where no window can be opened the program says what is missing in one line and exits with 1:
# no abort, no core, whatever display environment it finds.
# Usage: no_display.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
program=$(emulated "$1/bin/quarn-ev")
passed=0

check() {  # description, the words the line must hold, then the environment to run in
  local what=$1 want=$2 code=0
  shift 2
  env "$@" "$program" >"$work/out" 2>"$work/err" </dev/null || code=$?
  [ "$code" = 1 ] || fail "$what: exit code $code, want 1; stderr: $(cat "$work/err")"
  [ "$(wc -l <"$work/err")" = 1 ] || fail "$what: stderr is not one line: $(cat "$work/err")"
  grep -q 'graphical session' "$work/err" && grep -qF "$want" "$work/err" ||
    fail "$what: the line does not say '$want': $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "$what: printed on stdout: $(cat "$work/out")"
  passed=$((passed + 1))
}
no_x="xcb: could not connect to an X display (DISPLAY is not set)"
no_wayland="wayland: could not connect to a Wayland display"
check "DISPLAY unset" "$no_x; $no_wayland" -u DISPLAY
check "DISPLAY empty" "$no_x" DISPLAY=
check "no server at the display" "could not connect to display :4711" DISPLAY=:4711
check "X11 platform asked for" "$no_x" -u DISPLAY QT_QPA_PLATFORM=xcb
check "X11 platform in upper case" "$no_x" -u DISPLAY QT_QPA_PLATFORM=XCB
check "Wayland socket named, no DISPLAY" "$no_wayland" -u DISPLAY WAYLAND_DISPLAY=wayland-0
check "no Wayland runtime directory" "$no_wayland" -u DISPLAY -u XDG_RUNTIME_DIR \
  WAYLAND_DISPLAY=wayland-0
check "Wayland asked for, no compositor" "$no_wayland" -u DISPLAY QT_QPA_PLATFORM=wayland
check "Wayland then X11, neither there" "$no_wayland; $no_x" -u DISPLAY "QT_QPA_PLATFORM=wayland;xcb"
check "platform plugin not installed" "nosuch: no such platform plugin is installed" \
  QT_QPA_PLATFORM=nosuch
echo "$passed passed, 0 failed"
