#!/usr/bin/env bash
# Signs one Windows program in place with Authenticode; the release step calls it for the
# program (before the zip and the installer take it), for the uninstaller inside the installer and
# for the installer. Usage: sign-windows.sh ARCH ROLE FILE, ROLE being program, uninstaller,
# installer-program or installer.
#
# With QUARN_SIGN_PKCS12 (a PKCS#12 file holding the certificate and its key; its password in the
# file QUARN_SIGN_PASSWORD_FILE, and an RFC 3161 time-stamp server at QUARN_TIMESTAMP_URL, both
# optional) it signs with that key. Without a time-stamp server the signing time is
# SOURCE_DATE_EPOCH, so that one key gives the same bytes for the same program.
#
# With QUARN_SIGNATURES_FROM instead (a folder holding ARCH/ROLE/*.der, the signatures taken from a
# published release by verify-release.sh) it attaches the published signature whose digest is this
# file's, or the first one where none is: the result then differs from the published file.
set -euo pipefail
arch=$1 role=$2 file=$3
signed="$file.signed"
rm -f "$signed"
if [ -n "${QUARN_SIGNATURES_FROM:-}" ]; then
  candidates=("$QUARN_SIGNATURES_FROM/$arch/$role"/*.der)
  [ -e "${candidates[0]}" ] || { echo "sign-windows: no published signature for $arch $role" >&2; exit 1; }
  digests=""
  for signature in "${candidates[@]}"; do
    rm -f "$signed"
    osslsigncode attach-signature -sigin "$signature" -in "$file" -out "$signed" >/dev/null 2>&1 || true
    [ -s "$signed" ] || continue
    digests=$(osslsigncode verify -in "$signed" 2>/dev/null | grep -E '^(Current|Calculated) message digest' |
      awk '{print $NF}' | sort -u | wc -l) || true
    [ "$digests" = 1 ] && break
  done
  if [ "$digests" != 1 ]; then  # none fits: the first one, so that the comparison shows it
    rm -f "$signed"
    osslsigncode attach-signature -sigin "${candidates[0]}" -in "$file" -out "$signed" >/dev/null 2>&1 || true
  fi
  [ -s "$signed" ] || { echo "sign-windows: cannot attach a signature to $file" >&2; exit 1; }
else
  : "${QUARN_SIGN_PKCS12:?sign-windows: QUARN_SIGN_PKCS12 names no certificate}"
  options=(-pkcs12 "$QUARN_SIGN_PKCS12" -h sha256 -n "Quarn EV calculator")
  if [ -n "${QUARN_SIGN_PASSWORD_FILE:-}" ]; then options+=(-readpass "$QUARN_SIGN_PASSWORD_FILE"); fi
  if [ -n "${QUARN_TIMESTAMP_URL:-}" ]; then
    options+=(-ts "$QUARN_TIMESTAMP_URL")
  else
    options+=(-time "${SOURCE_DATE_EPOCH:?}")
  fi
  osslsigncode sign "${options[@]}" -in "$file" -out "$signed" >/dev/null ||
    { rm -f "$signed"; echo "sign-windows: could not sign $file" >&2; exit 1; }
fi
mv "$signed" "$file"
