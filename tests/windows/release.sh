#!/usr/bin/env bash
# The Windows release as a user meets it: the portable zip holds the program, its licence and
# README; the installer installs silently for the user, with a Start-menu entry and an entry in
# the installed programs; the installed program computes; the uninstaller removes every trace.
# Usage: release.sh BUILD_DIR WINE
source "$(dirname "$0")/../e2e/lib.sh"
build=$1
launcher=$2
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
command -v makensis >/dev/null || fail "makensis is not installed (Debian package nsis)"
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
zip=$(ls "$work"/pkg/quarn-ev-*-windows-*.zip)
[ "$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')" = "LICENSE README.md quarn-ev.exe " ] ||
  fail "the zip holds: $(cmake -E tar tf "$zip" | tr '\n' ' ')"
installer=$(ls "$work"/pkg/quarn-ev-*-setup.exe)

start_x
"$launcher" wineboot --init >/dev/null 2>&1 || true
wineserver=$(command -v wineserver || ls /usr/lib/wine/wineserver* | head -n1)
"$launcher" "$installer" /S || fail "the silent install failed"
"$wineserver" -w
users=("$WINEPREFIX"/drive_c/users/*)
home=""
for user in "${users[@]}"; do [ -d "$user/AppData" ] && home=$user; done
[ -n "$home" ] || fail "no user profile in the Wine prefix"
dir="$home/AppData/Local/Programs/Quarn EV calculator"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quarn EV calculator.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\quarn-ev'
for file in quarn-ev.exe LICENSE.txt README.txt uninstall.exe; do
  [ -f "$dir/$file" ] || fail "not installed: $dir/$file"
done
[ -f "$shortcut" ] || fail "no Start-menu entry"
"$launcher" reg query "$key" /v DisplayName 2>/dev/null | grep -q 'Quarn EV calculator' ||
  fail "no uninstall entry in the registry"

program="$dir/quarn-ev.exe"
expected_geometry="[1-9],[1-4][0-9] 375x342"  # the frame at 0,0
calculate_with

"$launcher" "$dir/uninstall.exe" /S || fail "the silent uninstall failed"
"$wineserver" -w
[ ! -e "$dir" ] || fail "left behind: $(ls -A "$dir")"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left"
if "$launcher" reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry is left"; fi
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w
echo "1 passed, 0 failed"
