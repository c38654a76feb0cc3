#!/usr/bin/env bash
# The window follows the desktop's colours while it runs, as a user switching themes sees it.
# Under a private X server and session bus with a stand-in settings portal, on a KDE desktop:
# started in a light colour scheme, the window shows the pure red hint; switched to a dark one
# by the desktop's signal, it must look exactly like a window started dark, with a readable red
# hint; where the desktop then asks for higher contrast, the hint takes the captions' colour.
# Pictures go to BUILD_DIR/artifacts. Usage: theme.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
install_build "$1"
start_x
check() { /usr/bin/python3 "$(dirname "$0")/theme_check.py" "$@"; }
artifacts="$1/artifacts"
mkdir -p "$artifacts"
light_face=252,252,252 dark_face=49,54,59  # the schemes' button face: the form's background

# Starts the program ($@: its environment) and sets w to its window.
start() {
  env "$@" "$program" &
  app_pid=$!
  w=$(find_window) || fail "no window titled 'Quarn EV calculator'"
  sleep 0.5
}
stop() {
  close_and_wait "$w"
  [ "$exit_code" = 0 ] || fail "exit code $exit_code after closing the window"
}
shot() { xwd -id "$w" -silent >"$work/$1.xwd"; }
# Waits until the window looks as theme_check.py's BACKGROUND $1 and HINT $2 say, then lets the
# repaint finish, and keeps the picture as $3.
await_look() {
  for _ in $(seq 100); do
    shot "$3"
    check "$work/$3.xwd" "$1" "$2" >/dev/null 2>&1 && { sleep 0.5; shot "$3"; return 0; }
    sleep 0.1
  done
  check "$work/$3.xwd" "$1" "$2"
}

start_portal org.freedesktop.appearance contrast 0
kde=(XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5)
kde_colour_scheme light
start "${kde[@]}"
shot light
check "$work/light.xwd" "$light_face" red "$artifacts/linux-light.png"
kde_colour_scheme dark
portal_set org.kde.kdeglobals.General ColorScheme string:BreezeDark
await_look "$dark_face" any switched
stop

start "${kde[@]}"
shot dark
check "$work/dark.xwd" "$dark_face" readable "$artifacts/linux-dark.png"
cmp "$work/switched.xwd" "$work/dark.xwd" || fail "switched live, unlike a window started dark"
portal_set org.freedesktop.appearance contrast uint32:1
await_look "$dark_face" caption contrast
stop
echo "3 passed, 0 failed"
