#!/usr/bin/env bash
# Says how this machine can run the 32-bit Windows tests' 32-bit code: "native" where the kernel
# executes it; "emulated" where it does not, but qemu-user can inside a private user namespace,
# whose own binfmt_misc hands it every 32-bit program (Linux 6.7 and later). Otherwise prints why
# neither works, in one line, and exits 1. QUARN_I686_ROUTE forces an answer; the probes can be
# replaced for tests: QUARN_32BIT_PROBE, QUARN_USERNS_PROBE, QUARN_KERNEL_RELEASE.
set -euo pipefail
here=$(dirname "$0")
if [ -n "${QUARN_I686_ROUTE:-}" ]; then echo "$QUARN_I686_ROUTE"; exit 0; fi
if ${QUARN_32BIT_PROBE:-"$here/can-run-32bit.sh"} >/dev/null 2>&1; then echo native; exit 0; fi
kernel=${QUARN_KERNEL_RELEASE:-$(uname -r)}
IFS=.- read -r major minor _ <<<"$kernel"
if [ "$major" -lt 6 ] || { [ "$major" -eq 6 ] && [ "$minor" -lt 7 ]; }; then
  echo "this machine cannot execute 32-bit x86 code, and its kernel ($kernel) is older than 6.7," \
    "which emulating it in a private user namespace needs"
  exit 1
fi
if ! ${QUARN_USERNS_PROBE:-unshare --map-root-user --mount true} >/dev/null 2>&1; then
  echo "this machine cannot execute 32-bit x86 code, and cannot make a private user namespace" \
    "to emulate it in"
  exit 1
fi
echo emulated
