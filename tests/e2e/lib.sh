# Shared steps of the end-to-end tests: a private X server, the installed program, its window.
set -euo pipefail

work=$(mktemp -d)
app_pid=""
xvfb_pid=""
helper_pids=()  # other processes a test started, ended with it
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  for pid in "${helper_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" 2>/dev/null || { sleep 1; rm -rf "$work"; }
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_SCALE_FACTOR

# The helper that closes a window as a window manager does; the Windows builds have none of their
# own, so it is built here for them.
if [ -z "${X11_CLOSE:-}" ]; then
  X11_CLOSE="$work/x11_close"
  g++ -O1 "$(dirname "${BASH_SOURCE[0]}")/x11_close.cpp" -lX11 -o "$X11_CLOSE"
fi

# Starts Xvfb on a free display number and exports DISPLAY.
start_x() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
}

# Prints how to start the program $1: itself, or where it was built for another processor
# ($QUARN_EMULATOR names the emulator, say "qemu-aarch64 -L /"), a launcher that starts it there.
emulated() {
  [ -n "${QUARN_EMULATOR:-}" ] || { echo "$1"; return; }
  local wrapper
  wrapper="$work/emulated/$(basename "$1")"
  mkdir -p "$work/emulated"
  printf '#!/bin/sh\nexec %s "%s" "$@"\n' "$QUARN_EMULATOR" "$1" >"$wrapper"
  chmod +x "$wrapper"
  echo "$wrapper"
}

# Installs the build into a scratch prefix, as `cmake --install` lays it out.
install_build() {
  cmake --install "$1" --prefix "$work/root" >/dev/null
  [ -x "$work/root/bin/quarn-ev" ] || fail "no program at $work/root/bin/quarn-ev"
  program=$(emulated "$work/root/bin/quarn-ev")
}

# Prints the id of the visible window with the calculator's title, waiting up to 60 s.
# A window that goes while xdotool looks at it ends the search with an X error: search again.
find_window() {
  local w
  for _ in 1 2 3; do
    w=$(timeout 60 xdotool search --sync --onlyvisible --name "^${1:-Quarn EV calculator}\$" \
      2>/dev/null | head -n1) && [ -n "$w" ] && echo "$w" && return 0
  done
  return 1
}

# Gives the test its Wine prefix, WINEPREFIX: a copy of the build's ready-made one
# (QUARN_WINE_TEMPLATE, made by tests/windows/wine_prefix.sh), else one that launcher $1 makes now.
wine_prefix() {
  if [ -d "${QUARN_WINE_TEMPLATE:-}" ]; then
    source "$(dirname "${BASH_SOURCE[0]}")/../windows/wine_prefix.sh"
    copy_wine_prefix "$QUARN_WINE_TEMPLATE" "$WINEPREFIX"
  else
    "$1" wineboot --init >/dev/null 2>&1 || true
  fi
}

# Ends the Wine session of launcher $1 and waits for it: the next one reads the prefix's settings
# (colours, and in newer Wine the DPI) afresh.
wine_new_session() {
  "$1" wineboot --shutdown >/dev/null 2>&1 || true
  local server
  for server in wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver; do
    if command -v "$server" >/dev/null; then "$server" -w 2>/dev/null || true; return 0; fi
  done
}

# Gives the Wine prefix the DPI $2 (launcher $1), from the next session, which it starts.
wine_set_dpi() {
  "$1" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
  wine_new_session "$1"
}

# Asks the window to close and sets exit_code to the program's exit code.
close_and_wait() {
  "$X11_CLOSE" "$1"
  timeout 20 tail --pid="$app_pid" -f /dev/null || fail "the program did not end after close"
  exit_code=0
  wait "$app_pid" || exit_code=$?
  app_pid=""
}

geometry() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
  /Width:/{w=$NF} /Height:/{h=$NF} END{print x "," y " " w "x" h}'; }

program_args=()  # arguments to start the program with; it must ignore them

# Starts the program with the given environment assignments (and working directory $run_dir, if
# set), types the worked example from the keyboard, clicks "Calculated", reads both results back
# through the clipboard, closes the window and checks the exit code.
# $launcher may name a program to start it with; $expected_geometry is a pattern of the client
# area's "x,y WxH".
calculate_with() {
  (cd "${run_dir:-.}" && exec env "$@" ${launcher:-} "$program" "${program_args[@]}") &
  app_pid=$!
  local w call fold want=${expected_geometry:-"0,0 375x342"}
  w=$(find_window) || fail "$*: no window titled 'Quarn EV calculator'"
  # shellcheck disable=SC2053  # $want is a pattern
  [[ "$(geometry "$w")" == $want ]] || fail "$*: client area $(geometry "$w"), want $want"
  if declare -F check_window >/dev/null; then check_window "$w"; fi
  xdotool windowfocus --sync "$w"
  sleep 0.3
  for value in 10 30 5 9; do  # focus starts on the button: Tab into each field and type
    xdotool key --window "$w" Tab
    xdotool type --window "$w" --delay 20 "$value"
  done
  xdotool mousemove --window "$w" 232 308 click 1  # the "Calculated" button
  sleep 0.3
  last_read=""
  call=$(read_field "$w" 5)
  last_read=$call
  fold=$(read_field "$w" 1)
  [ "$call" = "5.74468085106383" ] || fail "$*: Call EV read back as '$call'"
  [ "$fold" = "-8.08510638297872" ] || fail "$*: Fold EV read back as '$fold'"
  close_and_wait "$w"
  [ "$exit_code" = 0 ] || fail "$*: exit code $exit_code after closing the window"
}

# Tabs $2 times from the focused control, selects all, copies, and prints the clipboard once it
# holds something other than $last_read (the program may still be busy).
read_field() {
  for _ in $(seq "$2"); do xdotool key --window "$1" Tab; done
  xdotool key --window "$1" ctrl+a ctrl+c
  local text=""
  for _ in $(seq 100); do
    text=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ -n "$text" ] && [ "$text" != "${last_read:-}" ] && break
    sleep 0.1
  done
  echo "$text"
}

# Starts a private D-Bus session bus and, on it, a stand-in for the desktop's settings portal
# with the settings given ("GROUP KEY UINT" ...); exports DBUS_SESSION_BUS_ADDRESS.
start_portal() {
  dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >/dev/null 2>&1 &
  helper_pids+=($!)
  for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.1; done
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
  export DBUS_SESSION_BUS_ADDRESS
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/settings_portal.py" "$@" >"$work/portal" &
  helper_pids+=($!)
  for _ in $(seq 100); do grep -q ready "$work/portal" 2>/dev/null && break; sleep 0.1; done
  grep -q ready "$work/portal" || fail "the stand-in settings portal did not start"
}

# Changes a setting through the stand-in portal, which tells the program: GROUP KEY TYPE:VALUE,
# the value as dbus-send writes it (uint32:1, string:BreezeDark).
portal_set() {
  dbus-send --session --type=method_call --print-reply --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.quarn.TestPortal.Set "string:$1" "string:$2" \
    "variant:$3" >/dev/null
}

# Writes a KDE colour scheme, light or dark, to $XDG_CONFIG_HOME/kdeglobals, where the toolkit
# reads it on a KDE desktop (XDG_CURRENT_DESKTOP=KDE, KDE_SESSION_VERSION=5).
kde_colour_scheme() {
  local name window button view text window_text
  if [ "$1" = dark ]; then
    name=BreezeDark window=32,35,38 button=49,54,59 view=35,38,41 text=252,252,252
    window_text=239,240,241
  else
    name=BreezeLight window=239,240,241 button=252,252,252 view=255,255,255 text=35,38,41
    window_text=35,38,41
  fi
  mkdir -p "$XDG_CONFIG_HOME"
  printf '%s\n' "[General]" "ColorScheme=$name" "[Colors:Window]" "BackgroundNormal=$window" \
    "ForegroundNormal=$window_text" "[Colors:Button]" "BackgroundNormal=$button" \
    "ForegroundNormal=$text" "[Colors:View]" "BackgroundNormal=$view" "ForegroundNormal=$text" \
    "[Colors:Selection]" "BackgroundNormal=61,174,233" "ForegroundNormal=255,255,255" \
    >"$XDG_CONFIG_HOME/kdeglobals"
}

# Authenticode keys for tests: a CA (made once in DIR), and a code-signing certificate NAME from
# it, valid for DAYS days (negative: expired), in DIR/NAME.p12 with the password in
# DIR/p12-password.
code_signing_certificate() {  # DIR NAME DAYS
  local dir=$1
  [ -s "$dir/p12-password" ] || echo 'p12 password' >"$dir/p12-password"
  [ -e "$dir/ca.crt" ] || openssl req -x509 -newkey rsa:3072 -nodes -keyout "$dir/ca.key" \
    -out "$dir/ca.crt" -days 30 -subj '/CN=Quarn test CA' 2>/dev/null
  printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$dir/ext"
  local validity=(-days "$3")
  if [ "$3" -lt 0 ]; then  # OpenSSL 3.4 and later refuse negative days, 3.0 has no -not_after
    validity=(-not_before 20240101000000Z -not_after 20250101000000Z)
    openssl x509 -help 2>&1 | grep -q not_after || validity=(-days -1)
  fi
  openssl req -newkey rsa:3072 -nodes -keyout "$dir/$2.key" -subj '/CN=Quarn test publisher' \
    2>/dev/null | openssl x509 -req -CA "$dir/ca.crt" -CAkey "$dir/ca.key" -CAcreateserial \
    "${validity[@]}" -extfile "$dir/ext" -out "$dir/$2.crt" 2>"$dir/openssl.log" ||
    fail "the test certificate $2: $(cat "$dir/openssl.log")"
  openssl pkcs12 -export -inkey "$dir/$2.key" -in "$dir/$2.crt" -certfile "$dir/ca.crt" \
    -passout "file:$dir/p12-password" -out "$dir/$2.p12"
}
