#!/usr/bin/env bash
# The Windows release as a user meets it, signed with a throwaway code-signing certificate: the
# program in the zip, the installer and the uninstaller it installs pass osslsigncode's check
# against the test CA; the portable zip holds the program, its licence and README; the installer's welcome page is kept as a picture at 96 and 144 DPI; the installer
# installs silently for the user, with a Start-menu entry and a complete entry in "Apps &
# features"; the installed program computes; while it runs, installer and uninstaller refuse and
# change nothing; installing again, and a build with the next version, replaces the install; the
# uninstaller removes every trace. Exit codes are checked throughout.
# With a fourth argument, the x86_64 build whose package must replace this (i686) one.
# Usage: release.sh BUILD_DIR WINE ARTIFACTS_DIR [X86_64_BUILD_DIR]
source "$(dirname "$0")/../e2e/lib.sh"
build=$1
launcher=$2
artifacts=$3
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
command -v makensis >/dev/null || fail "makensis is not installed (Debian package nsis)"
code_signing_certificate "$work" publisher 30
export QUARN_SIGN_PKCS12="$work/publisher.p12" QUARN_SIGN_PASSWORD_FILE="$work/p12-password"
signed() {  # FILE...: each carries a valid signature from the test CA
  local file
  for file in "$@"; do
    osslsigncode verify -CAfile "$work/ca.crt" -in "$file" >"$work/verify.log" 2>&1 ||
      fail "$file: $(tail -n 5 "$work/verify.log")"
  done
}
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
zip=$(ls "$work"/pkg/quarn-ev-*-windows-*.zip)
[ "$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')" = "LICENSE README.md quarn-ev.exe " ] ||
  fail "the zip holds: $(cmake -E tar tf "$zip" | tr '\n' ' ')"
installer=$(ls "$work"/pkg/quarn-ev-*-setup.exe)
(cd "$work/pkg" && cmake -E tar xf "$zip" quarn-ev.exe)
package_program="$work/pkg/quarn-ev.exe"  # what an install must put in place
signed "$installer" "$package_program"
arch=${zip%.zip}
arch=${arch##*-windows-}
version=$(basename "$zip" | cut -d- -f3)
next_version="${version%.*}.$((${version##*.} + 1))"
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/next" \
  -D CPACK_PACKAGE_VERSION="$next_version" >/dev/null)
next_installer=$(ls "$work"/next/quarn-ev-*-setup.exe)
signed "$next_installer"

start_x
wine_prefix "$launcher"
wineserver=$(command -v wineserver || ls /usr/lib/wine/wineserver* | head -n1)
# Runs the installer or uninstaller $1 with the rest as arguments; sets code to its exit code.
# Unless the program runs, waits for every process it started (an uninstaller's copy of itself).
run() {
  code=0
  "$launcher" "$@" || code=$?
  [ -n "$app_pid" ] || "$wineserver" -w
}
# Runs the installed uninstaller in place, as package managers do to learn its exit code: the
# folder after _?= is taken unquoted to the end of the command line, as a batch file passes it.
uninstall_in_place() {
  printf '@"%s\\uninstall.exe" /S _?=%s\r\n@exit /b %%errorlevel%%\r\n' "$windows_dir" \
    "$windows_dir" >"$WINEPREFIX/drive_c/uninstall-in-place.bat"
  run cmd /c 'C:\uninstall-in-place.bat'
}

for dpi in 144 96; do  # ends at 96 DPI, where the program's window is checked
  wine_set_dpi "$launcher" "$dpi"
  "$launcher" "$installer" &
  app_pid=$!
  w=$(find_window "Quarn EV calculator Setup") || fail "no installer window at $dpi DPI"
  sleep 2  # its pages are drawn from its message loop
  read -r origin size <<<"$(geometry "$w")"
  xwd -root -silent -out "$work/screen.xwd"
  mkdir -p "$artifacts"
  /usr/bin/python3 - "$(dirname "$0")" "$work/screen.xwd" "${origin%,*}" "${origin#*,}" \
    "${size%x*}" "${size#*x}" "$artifacts/installer-$arch-$dpi-dpi.png" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
from screen_colours import read_xwd, write_png
_, _, pixel = read_xwd(sys.argv[2])
x, y, w, h = map(int, sys.argv[3:7])
write_png(sys.argv[7], w, h, lambda px, py: pixel(x + px, y + py))
PY
  "$wineserver" -k 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  "$wineserver" -w
done

run "$installer" /S
[ "$code" = 0 ] || fail "the silent install ended with $code"
# Where the install lands in the prefix's user profile.
locate_install() {
  local user home=""
  for user in "$WINEPREFIX"/drive_c/users/*; do [ -d "$user/AppData" ] && home=$user; done
  [ -n "$home" ] || fail "no user profile in the Wine prefix"
  dir="$home/AppData/Local/Programs/Quarn EV calculator"
  windows_dir="C:\\users\\$(basename "$home")\\AppData\\Local\\Programs\\Quarn EV calculator"
  menu="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
}
locate_install
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\quarn-ev'
files="LICENSE.txt README.txt quarn-ev.exe uninstall.exe "
# The install as the user sees it: its files, Start-menu entries and "Apps & features" entries.
state() {
  ls -l --time-style=+%s "$dir" 2>/dev/null | sha256sum
  ls "$menu" | grep -i quarn || true
  "$launcher" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | grep -i -e quarn -e EstimatedSize || true
}
check_installed() {  # $1: the version
  [ "$(ls "$dir" | tr '\n' ' ')" = "$files" ] || fail "installed: $(ls "$dir" | tr '\n' ' ')"
  cmp -s "$dir/quarn-ev.exe" "$package_program" || fail "not the package's signed program"
  signed "$dir/uninstall.exe"
  [ "$(ls "$menu" | grep -ic quarn)" = 1 ] || fail "Start-menu entries: $(ls "$menu")"
  local entry
  entry=$("$launcher" reg query "$key" 2>/dev/null | tr -d '\r')
  for value in "DisplayName.*Quarn EV calculator" "DisplayVersion.*$1\$" "Publisher.*Quarn" \
    "InstallLocation" "UninstallString" "QuietUninstallString.*/S" "DisplayIcon"; do
    grep -q "$value" <<<"$entry" || fail "no $value in the entry: $entry"
  done
  [ "$(state | grep -c 'DisplayName')" = 1 ] || fail "more than one entry: $(state)"
  local kib=$((16#$(grep EstimatedSize <<<"$entry" | grep -o '0x[0-9a-f]*' | cut -c3-)))
  local bytes
  bytes=$(cat "$dir"/* | wc -c)
  [ $((bytes / 1024)) = "$kib" ] || fail "EstimatedSize $kib KiB, installed $bytes bytes"
  /usr/bin/python3 "$(dirname "$0")/installer_pe.py" "$dir/uninstall.exe" "$arch" \
    "$(dirname "$0")/../../app/quarn-ev.ico" || fail "the uninstaller"
}
check_installed "$version"

program="$dir/quarn-ev.exe"
expected_geometry="[1-9],[1-4][0-9] 375x342"  # the frame at 0,0
calculate_with

# While the program runs, neither the installer nor the uninstaller changes anything.
"$launcher" "$program" &
app_pid=$!
w=$(find_window) || fail "the installed program shows no window"
before=$(state)
run "$installer" /S
[ "$code" = 2 ] || fail "the silent install ended with $code while the program ran"
uninstall_in_place
[ "$code" = 2 ] || fail "the silent uninstall ended with $code while the program ran"
[ "$(state)" = "$before" ] || fail "changed while the program ran: $(state)"
close_and_wait "$w"

# Installing again, then the next version, over it: one install, the newer one.
run "$installer" /S
[ "$code" = 0 ] || fail "installing again ended with $code"
check_installed "$version"
printf 'an older program' >"$dir/quarn-ev.exe"
run "$next_installer" /S
[ "$code" = 0 ] || fail "the upgrade to $next_version ended with $code"
check_installed "$next_version"

# The uninstaller as package managers run it, waiting for its exit code; then as users do.
uninstall_in_place
[ "$code" = 0 ] || fail "the silent uninstall ended with $code"
[ "$(ls "$dir" | tr '\n' ' ')" = "uninstall.exe " ] || fail "left behind: $(ls -A "$dir")"
run "$next_installer" /S
run "$dir/uninstall.exe" /S
[ "$code" = 0 ] || fail "the silent uninstall ended with $code"
for _ in $(seq 50); do [ -e "$dir" ] || break; sleep 0.2; done
[ ! -e "$dir" ] || fail "left behind: $(ls -A "$dir")"
[ -z "$(ls "$menu" | grep -i quarn)" ] || fail "the Start-menu entry is left"
if "$launcher" reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry is left"; fi
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w

# The 64-bit build's package over this one, under 64-bit Wine, which runs both: the later install
# replaces the earlier, in the same folder and entry.
if [ -n "${4:-}" ]; then
  export WINEPREFIX="$work/wine64"
  launcher=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64 build=$4 arch=x86_64
  (cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/pkg64" >/dev/null)
  (cd "$work/pkg64" && cmake -E tar xf quarn-ev-*-windows-x86_64.zip quarn-ev.exe)
  package_program="$work/pkg64/quarn-ev.exe"
  wine_prefix "$launcher"  # the 32-bit build's prefix, made where 32-bit code runs
  run "$installer" /S
  [ "$code" = 0 ] || fail "the 32-bit install under 64-bit Wine ended with $code"
  run "$work"/pkg64/quarn-ev-*-setup.exe /S
  [ "$code" = 0 ] || fail "the 64-bit install over the 32-bit one ended with $code"
  locate_install
  check_installed "$version"
  "$wineserver" -k 2>/dev/null || true
fi
echo "1 passed, 0 failed"
