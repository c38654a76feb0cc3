#!/usr/bin/env bash
# The installed program as a screen reader sees it, at scale factors 1 and 2: each run has its
# own D-Bus session bus, and with it its own accessibility bus and registry.
# Usage: accessibility.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
start_x
install_build "$1"
code=0
for scale in 1 2; do
  echo "== scale factor $scale"
  dbus-run-session -- env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 \
    /usr/bin/python3 "$(dirname "$0")/accessibility.py" "$program" "$scale" \
    2> >(grep -v "fd limit" >&2) || code=1
done
exit "$code"
