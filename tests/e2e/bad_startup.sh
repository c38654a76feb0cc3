#!/usr/bin/env bash
# Hostile start-up conditions: the program still computes with '.' as decimal separator.
# Usage: bad_startup.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
start_x
install_build "$1"
calculate_with HOME=/proc/no-such-home                 # no writable home, even for root
run_dir=/proc calculate_with PWD=/proc                 # read-only working directory
calculate_with LANG=xx_YY.UTF-8 LC_ALL=xx_YY.UTF-8      # a locale that does not exist
calculate_with LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8      # a comma-decimal locale
echo "4 passed, 0 failed"
