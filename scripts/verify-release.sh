#!/usr/bin/env bash
# Shows that a published release is what its source builds. Checks SHA256SUMS against the files
# and, where the release is signed, SHA256SUMS.asc and the apt repository against the key the user
# holds (--key: a public key file, or its fingerprint), or else only against the key the release
# ships (apt/quarn-ev.asc), and says so; then rebuilds the commit named in COMMIT with the release
# step and compares every file SHA256SUMS lists with the rebuild, byte for byte.
# The Windows files of a signed release carry Authenticode signatures that only the publisher can
# make. The rebuild takes each published signature (the zip's program, the installer's, and those
# of the program and uninstaller packed in the installer) and attaches it to the file it built in
# that place: where the published file is the source's, the result is that file byte for byte;
# where its code differs, the signature does not fit and the file differs.
# Usage: scripts/verify-release.sh [--key FILE|FINGERPRINT] [--work DIR] RELEASE_DIR
#   (--work: see release.sh; this repository must hold the release's commit)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work_option=() key=""
while [ $# -gt 1 ]; do
  case $1 in
    --work) work_option=(--work "$2") ;;
    --key) key=$2 ;;
    *) break ;;
  esac
  shift 2
done
[ $# = 1 ] || { echo "usage: verify-release.sh [--key FILE|FINGERPRINT] [--work DIR] RELEASE_DIR" >&2; exit 2; }
[ -z "$key" ] || [ ! -f "$key" ] || key=$(realpath "$key")
release=$(cd "$1" && pwd)
scratch=$(mktemp -d)
export GNUPGHOME="$scratch/gnupg"
mkdir -m 700 "$GNUPGHOME"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "verify-release: FAIL: $*" >&2; exit 1; }
cd "$release"

(sha256sum --quiet --strict -c SHA256SUMS) || fail "files do not match SHA256SUMS"
fingerprint() { gpg --batch --quiet --with-colons --show-keys "$1" 2>/dev/null | awk -F: '/^fpr/ {print $10; exit}'; }
if [ -e SHA256SUMS.asc ]; then
  signer=$(gpg --batch --list-packets SHA256SUMS.asc 2>/dev/null |
    sed -n 's/.*issuer fpr v[0-9] \([0-9A-Fa-f]*\).*/\1/p' | head -n 1)
  if [ -z "$key" ]; then
    trusted=apt/quarn-ev.asc
    echo "note: the signatures were checked only against the key shipped in the release (apt/quarn-ev.asc); pass --key with the key you hold"
  elif [ -f "$key" ]; then
    trusted=$key
  else  # a fingerprint: the shipped key must be that one
    want=$(tr -d ' ' <<<"$key" | tr a-f A-F)
    [[ $want =~ ^[0-9A-F]{40}$ ]] || fail "--key $key is neither a file nor a fingerprint"
    [ "$(fingerprint apt/quarn-ev.asc)" = "$want" ] ||
      fail "SHA256SUMS.asc is signed by ${signer:-an unknown key}, not by the key you hold, $want"
    trusted=apt/quarn-ev.asc
  fi
  gpg --batch --quiet --import "$trusted" 2>/dev/null || fail "$trusted holds no OpenPGP key"
  gpg --batch --export >"$scratch/key.gpg"
  gpgv --keyring "$scratch/key.gpg" SHA256SUMS.asc SHA256SUMS 2>"$scratch/gpgv.log" ||
    fail "SHA256SUMS.asc is signed by ${signer:-an unknown key}, not by the key you hold, $(fingerprint "$trusted")"
  echo "SHA256SUMS: signed by $(fingerprint "$trusted")"
  for inrelease in apt/dists/*/InRelease; do
    gpgv --keyring "$scratch/key.gpg" "$inrelease" 2>/dev/null || fail "$inrelease: bad signature"
  done
  for deb in ./*.deb; do  # the pool also keeps the earlier releases' packages
    cmp -s "$deb" "apt/pool/main/q/quarn-ev/$deb" || fail "the apt repository lacks the release's $deb"
  done
fi

commit=$(cat COMMIT)
git -C "$repo" cat-file -e "$commit^{commit}" 2>/dev/null ||
  fail "this repository lacks the release's commit $commit; fetch it first"

# The published signatures, where there are any, by the place they sit in.
signatures="$scratch/signatures"
signed=""
for zip in quarn-ev-*-windows-*.zip; do
  [ -e "$zip" ] || continue
  arch=${zip%.zip}
  arch=${arch##*-}
  mkdir -p "$signatures/$arch/program" "$signatures/$arch/installer"
  unzip -q -o "$zip" quarn-ev.exe -d "$scratch/$arch"
  if osslsigncode extract-signature -in "$scratch/$arch/quarn-ev.exe" \
    -out "$signatures/$arch/program/1.der" >/dev/null 2>&1; then
    signed=yes
  fi
  installer=${zip%.zip}-setup.exe
  [ -e "$installer" ] || continue
  if osslsigncode extract-signature -in "$installer" -out "$signatures/$arch/installer/1.der" \
    >/dev/null 2>&1; then
    signed=yes
  fi
  # In the form this osslsigncode writes and reads: raw (2.9) or in its PE header (2.5).
  form=()
  [ "$(head -c 1 "$signatures/$arch/program/1.der" 2>/dev/null | od -An -tx1)" = " 30" ] ||
    form=(--win-certificate)
  python3 "$repo/scripts/installer_signatures.py" "${form[@]}" "$installer" \
    "$signatures/$arch/uninstaller" >/dev/null
  cp -r "$signatures/$arch/uninstaller" "$signatures/$arch/installer-program"
done
skip=()
ls ./*_arm64.deb >/dev/null 2>&1 || skip+=(QUARN_SKIP_ARM64=1)
ls ./*-windows-*.zip >/dev/null 2>&1 || skip+=(QUARN_SKIP_WINDOWS=1)
[ -z "$signed" ] || skip+=(QUARN_SIGNATURES_FROM="$signatures")
echo "rebuilding $commit$([ -n "$signed" ] && echo ', with the published Authenticode signatures')"
env -u QUARN_GPG_KEY -u QUARN_SIGN_PKCS12 -u QUARN_SIGNATURES_FROM -u QUARN_PACKAGE_VERSION \
  "${skip[@]}" "$repo/scripts/release.sh" --revision "$commit" "${work_option[@]}" \
  "$scratch/rebuilt" >/dev/null

differ=0
while read -r _ name; do
  rebuilt="$scratch/rebuilt/$name"
  if cmp -s "$name" "$rebuilt"; then
    echo "same: $name"
    continue
  fi
  differ=1
  if [[ $name == *.zip ]] && [ -e "$rebuilt" ]; then
    for entry in $(unzip -Z1 "$name"); do
      cmp -s <(unzip -p "$name" "$entry") <(unzip -p "$rebuilt" "$entry") ||
        echo "DIFFERS: $name: $entry is not what the source builds"
    done
  fi
  echo "DIFFERS: $name is not what the source builds"
done <SHA256SUMS
[ "$differ" = 0 ] || fail "the release is not what commit $commit builds"
echo "verify-release: every file is what commit $commit builds"
