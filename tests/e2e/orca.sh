#!/usr/bin/env bash
# The program with the real screen reader, Orca, as a blind user meets it: Orca starts first with
# its own session bus, accessibility bus and home; speech goes through speech-dispatcher into a
# null sound device. The worked example is typed with the keyboard and the button pressed with
# Space; Orca's debug log must show it spoke every field's name, the hint, "read only" for the
# results, and both results after the Space. Skips (77) only where Orca cannot start.
# Usage: orca.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
command -v orca >/dev/null || { echo "SKIPPED: orca is not installed"; exit 77; }
start_x
install_build "$1"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
# Speech on, into nowhere: a speech server without a sound device would block Orca, and Orca
# presents announcements only while speech is enabled.
echo 'pcm.!default { type null }' >"$HOME/.asoundrc"
sed -e 's/^#* *AudioOutputMethod .*/AudioOutputMethod "alsa"/' /etc/speech-dispatcher/speechd.conf \
  >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
grep -q '^AudioOutputMethod "alsa"' "$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" ||
  echo 'AudioOutputMethod "alsa"' >>"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
log="$work/orca.log"
export QUARN_PROGRAM="$program" QUARN_ORCA_LOG="$log"
code=0
dbus-run-session -- bash "$(dirname "$0")/orca_session.sh" || code=$?
mkdir -p "$1/artifacts"
cp "$log" "$1/artifacts/orca-debug.log" 2>/dev/null || true  # kept for reading
[ "$code" = 0 ] || cp "$log" "$1/artifacts/orca-debug-failed-$(date +%s).log" 2>/dev/null || true
exit "$code"
