#!/usr/bin/env bash
# On a headless Wayland compositor: the program's window appears on the Wayland platform,
# computes the worked example and the program exits with 0 once it closes. Where both a Wayland
# compositor and an X server are there and no platform is asked for, the program takes X11.
# Exits with 77 (skipped) only where weston cannot start.
# Usage: wayland.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
build=$1

# Starts weston with no screen and no GPU; weston 10 names its backends by file, later ones by name.
start_weston() {
  local backend
  for backend in headless headless-backend.so; do
    weston --backend="$backend" --socket=quarn-test --idle-time=0 --no-config \
      >"$work/weston.log" 2>&1 &
    weston_pid=$!
    for _ in $(seq 100); do
      [ -S "$XDG_RUNTIME_DIR/quarn-test" ] && return 0
      kill -0 "$weston_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  done
  return 1
}
weston_pid=""
trap 'kill "$weston_pid" 2>/dev/null || true; cleanup' EXIT
if ! command -v weston >/dev/null || ! start_weston; then
  echo "SKIPPED: weston cannot start here: $(tail -n1 "$work/weston.log" 2>/dev/null)"
  exit 77
fi

# A headless weston has no seat, and the toolkit's Wayland text input dereferences the missing
# input device on a click into a field: the compose input method keeps it out of the way.
# In the sanitizer build, the toolkit's EGL buffer integration would load Mesa's driver and
# unload it before the leak check, leaving a buffer of Mesa's that the checker can no longer
# attribute to its library; the window is drawn in shared memory either way.
if [ "${QUARN_SANITIZED:-0}" = 1 ]; then export QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=none; fi
code=0
WAYLAND_DISPLAY=quarn-test QT_QPA_PLATFORM=wayland QT_IM_MODULE=compose timeout 60 "$(emulated "$build/bin/wayland_driver")" \
  >"$work/out" 2>"$work/err" || code=$?
[ "$code" = 0 ] || fail "exit code $code; stdout: $(cat "$work/out"); stderr: $(cat "$work/err")"
want=$'platform wayland\nCall EV 5.74468085106383\nFold EV -8.08510638297872'
[ "$(cat "$work/out")" = "$want" ] || fail "on Wayland the program printed: $(cat "$work/out")"

# Both there: the window lands on the X server, where it can take its place at 0,0.
start_x
install_build "$build"
WAYLAND_DISPLAY=quarn-test calculate_with
echo "2 passed, 0 failed"
