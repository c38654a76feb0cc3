#!/usr/bin/env bash
# How the 32-bit Windows tests will run, for each answer of the machine's probes: natively where
# 32-bit code executes, whatever the kernel; emulated where it does not and the kernel (6.7 or
# later) and a user namespace allow; otherwise one line saying what is missing, and exit 1.
set -euo pipefail
route="$(dirname "$0")/../scripts/i686-route.sh"
failed=0
# probe, kernel, user namespace: expected answer
while read -r probe kernel userns want; do
  got=$(QUARN_32BIT_PROBE=$probe QUARN_KERNEL_RELEASE=$kernel QUARN_USERNS_PROBE=$userns \
    QUARN_I686_ROUTE='' "$route") || got="skip: $got"
  case "$want:$got" in
    native:native | emulated:emulated) ;;
    skip-kernel:skip:*"older than 6.7"*) ;;
    skip-userns:skip:*"user namespace"*) ;;
    *) echo "FAIL: probe $probe, kernel $kernel, namespace $userns: '$got', want $want"; failed=1 ;;
  esac
  [ "$(wc -l <<<"$got")" = 1 ] || { echo "FAIL: more than one line: $got"; failed=1; }
done <<'TABLE'
true 6.1.0-13-amd64 true native
true 5.10.0 false native
false 6.7.0 true emulated
false 6.18.44-fc true emulated
false 7.0 true emulated
false 6.6.30-amd64 true skip-kernel
false 5.19.0 true skip-kernel
false 6.8.0 false skip-userns
TABLE
[ "$failed" = 0 ] && echo "1 passed, 0 failed"
exit "$failed"
