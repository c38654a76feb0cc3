#!/usr/bin/env bash
# The Windows program's window as it appears on the screen, under Wine and Xvfb: with the
# system's window-text and button-face colours set to unusual values, a screenshot shows the
# background in the button-face colour, the hint line's text in pure red and a caption's text in
# the window-text colour. The picture is kept as ARTIFACT.png.
# Usage: look.sh PROGRAM.exe WINE ARTIFACT.png
source "$(dirname "$0")/../e2e/lib.sh"
program=$1
launcher=$2
artifact=$3
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
window_text="16 32 128"
button_face="200 180 150"
start_x
wine_prefix "$launcher"
"$launcher" reg add 'HKCU\Control Panel\Colors' /v WindowText /d "$window_text" /f >/dev/null 2>&1
"$launcher" reg add 'HKCU\Control Panel\Colors' /v ButtonFace /d "$button_face" /f >/dev/null 2>&1
wine_new_session "$launcher"  # the colours are read when a session starts

"$launcher" "$program" &
app_pid=$!
w=$(find_window) || fail "no window titled 'Quarn EV calculator'"
sleep 1  # the first paint comes from the message loop
read -r origin size <<<"$(geometry "$w")"
[ "$size" = 375x342 ] || fail "client area $size, want 375x342"
xwd -root -silent -out "$work/screen.xwd"
mkdir -p "$(dirname "$artifact")"
/usr/bin/python3 "$(dirname "$0")/screen_colours.py" "$work/screen.xwd" "${origin%,*}" \
  "${origin#*,}" "$window_text" "$button_face" "$artifact" || fail "see above; picture: $artifact"
close_and_wait "$w"
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "1 passed, 0 failed"
