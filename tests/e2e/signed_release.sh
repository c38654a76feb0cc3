#!/usr/bin/env bash
# A signed release as its publisher and its users meet it, with throwaway keys made here. Bad keys
# are refused before anything is built, and nothing is written. The release step signs SHA256SUMS,
# the apt repository and the Windows files; verify-release.sh finds the release to be its commit's
# and names the zip whose program had one byte of code changed and was signed again. In a clean
# Debian root of this machine's release, the repository served on 127.0.0.1 is added with the
# README's lines, the package installed and its program run; a newer version comes with
# `apt upgrade`; apt refuses the repository when InRelease is changed or signed by another key.
# Usage: signed_release.sh   (QUARN_SKIP_ARM64, QUARN_SKIP_WINDOWS as for release.sh;
# QUARN_RELEASE_WORK: the release step's work folder of an unsigned release of this commit, whose
# builds the signed one then packs and signs again instead of building anew)
source "$(dirname "$0")/lib.sh"
repo=$(cd "$(dirname "$0")/../.." && pwd)
keys="$work/keys"
release_work=${QUARN_RELEASE_WORK:-$work/build}
mkdir -m 700 "$keys"
export GNUPGHOME="$keys/gnupg"
mkdir -m 700 "$GNUPGHOME"
printf 'default-cache-ttl 0\nmax-cache-ttl 0\n' >"$GNUPGHOME/gpg-agent.conf"  # asks every time
trap 'gpgconf --kill gpg-agent 2>/dev/null; cleanup' EXIT

# OpenPGP: ed25519, which apt's gpgv (Debian 12) and sqv (Debian 13) both accept.
echo 'the right passphrase' >"$keys/passphrase"
echo 'a wrong one' >"$keys/wrong"
new_key() {  # $1: user ID, $2: usage; prints the fingerprint
  gpg --batch --pinentry-mode loopback --passphrase-file "$keys/passphrase" \
    --quick-gen-key "$1" ed25519 "$2" 1y 2>/dev/null
  gpg --batch --with-colons --list-keys "$1" 2>/dev/null | awk -F: '/^fpr/ {print $10; exit}'
}
key=$(new_key 'Quarn releases <releases@quarn.invalid>' sign)
other=$(new_key 'Someone else <other@quarn.invalid>' sign)
certify_only=$(new_key 'Certify only <certify@quarn.invalid>' cert)
code_signing_certificate "$keys" publisher 30
code_signing_certificate "$keys" expired -1

# Each bad key is refused with a clear message before anything is built; nothing is written.
refused() {  # $1: the message expected, then VAR=VALUE settings
  local want=$1 message
  shift
  if message=$(env "$@" "$repo/scripts/release.sh" "$work/bad" 2>&1); then fail "released with $*"; fi
  grep -q "$want" <<<"$message" || fail "with $*: $message"
  [ -z "$(ls -A "$work" | grep bad)" ] || fail "with $*, left: $(ls -A "$work")"
  echo "refused: $message"
}
refused "wrong or missing passphrase" QUARN_GPG_KEY="$key" QUARN_GPG_PASSPHRASE_FILE="$keys/wrong"
refused "wrong or missing passphrase" QUARN_GPG_KEY="$key"
refused "no usable signing key" QUARN_GPG_KEY="$certify_only" QUARN_GPG_PASSPHRASE_FILE="$keys/passphrase"
refused "expired" QUARN_SIGN_PKCS12="$keys/expired.p12" QUARN_SIGN_PASSWORD_FILE="$keys/p12-password"
refused "wrong or missing password" QUARN_SIGN_PKCS12="$keys/publisher.p12" QUARN_SIGN_PASSWORD_FILE="$keys/wrong"

# The release, signed; then checked as a user would.
signing=(QUARN_GPG_KEY="$key" QUARN_GPG_PASSPHRASE_FILE="$keys/passphrase"
  QUARN_SIGN_PKCS12="$keys/publisher.p12" QUARN_SIGN_PASSWORD_FILE="$keys/p12-password")
env "${signing[@]}" "$repo/scripts/release.sh" --work "$release_work" "$work/release"
release="$work/release"
# verify-release.sh checks SHA256SUMS.asc and InRelease against apt/quarn-ev.asc; the Windows
# scenario (tests/windows/release.sh) checks each Authenticode signature.
[ -s "$release/SHA256SUMS.asc" ] && [ -s "$release/apt/quarn-ev.asc" ] || fail "not OpenPGP-signed"
"$repo/scripts/verify-release.sh" --work "$release_work" "$release" || fail "verify-release refused the release"

# One byte of the x86_64 program's code changed, signed again with the publisher's valid key.
if [ -z "${QUARN_SKIP_WINDOWS:-}" ]; then
  cp -r "$release" "$work/tampered"
  zip=$(basename "$release"/*-windows-x86_64.zip)
  mkdir -p "$work/program"
  (cd "$work/program" && cmake -E tar xf "$release/$zip" &&
    osslsigncode remove-signature -in quarn-ev.exe -out unsigned.exe >/dev/null &&
    byte=$(od -An -tu1 -j 8192 -N 1 unsigned.exe) &&  # in .text, which starts at 4 KiB
    printf "\\$(printf %o $((byte ^ 1)))" | dd of=unsigned.exe bs=1 seek=8192 conv=notrunc status=none &&
    osslsigncode sign -pkcs12 "$keys/publisher.p12" -readpass "$keys/p12-password" -h sha256 \
      -in unsigned.exe -out quarn-ev.exe.new >/dev/null && mv quarn-ev.exe.new quarn-ev.exe &&
    cmake -E tar cf "$work/tampered/$zip" --format=zip quarn-ev.exe LICENSE README.md)
  (cd "$work/tampered" && files=$(cut -d' ' -f3 SHA256SUMS) && sha256sum $files >SHA256SUMS &&
    gpg --batch --yes --pinentry-mode loopback --passphrase-file "$keys/passphrase" -u "$key" \
      --armor --detach-sign -o SHA256SUMS.asc SHA256SUMS)
  if "$repo/scripts/verify-release.sh" --work "$release_work" "$work/tampered" >"$work/tampered.log" 2>&1; then
    fail "verify-release accepted a changed program: $(cat "$work/tampered.log")"
  fi
  grep -q "DIFFERS: $zip: quarn-ev.exe" "$work/tampered.log" || fail "$(cat "$work/tampered.log")"
  grep DIFFERS "$work/tampered.log"
fi

# A clean Debian root of this machine's release, and the repository served on 127.0.0.1.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(apt-get indextargets --format '$(REPO_URI)' "Codename: $codename" 2>/dev/null | head -n 1)
root="$work/root"
debootstrap --variant=minbase "$codename" "$root" "${mirror:-http://deb.debian.org/debian/}" \
  >"$work/debootstrap.log" 2>&1 || fail "debootstrap: $(tail -n 5 "$work/debootstrap.log")"
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo 'APT::Get::Assume-Yes "true";' >"$root/etc/apt/apt.conf.d/90yes"  # answers apt's question
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive bash -c "$1"; }
in_root 'apt-get update -qq && apt-get install -qq curl' >"$work/curl.log" 2>&1 ||
  fail "installing curl in the root: $(tail -n 5 "$work/curl.log")"
mkdir -p "$work/site"
cp -r "$release/apt" "$work/site/apt"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >"$work/http.log" 2>&1 &
helper_pids=($!)
for _ in $(seq 50); do  # until the server answers (curl is the root's: this machine may lack it)
  in_root "curl -fso /dev/null http://127.0.0.1:$port/apt/quarn-ev.asc" && break
  sleep 0.2
done

# The README's three lines, as a user runs them (as root, so without sudo).
lines=$(grep -E '^    (sudo curl|printf .Types|sudo apt update)' "$repo/README.md" | sed 's/^    //; s/sudo //g')
[ "$(wc -l <<<"$lines")" = 3 ] || fail "the README's repository lines: $lines"
in_root "base=http://127.0.0.1:$port; $lines" >"$work/install.log" 2>&1 ||
  fail "installing from the repository: $(tail -n 20 "$work/install.log")"
start_x
mkdir -p -m 700 "$root$XDG_RUNTIME_DIR"
launcher="chroot $root" program=/usr/bin/quarn-ev calculate_with

# A newer version, published in place of the first: apt upgrade brings it.
env "${signing[@]}" QUARN_SKIP_WINDOWS=1 QUARN_PACKAGE_VERSION=1.0.1 \
  "$repo/scripts/release.sh" --work "$release_work" "$work/release-1.0.1" >/dev/null
rm -rf "$work/site/apt"
cp -r "$work/release-1.0.1/apt" "$work/site/apt"
in_root 'apt update -qq && apt upgrade -qq' >"$work/upgrade.log" 2>&1 ||
  fail "apt upgrade: $(tail -n 5 "$work/upgrade.log")"
installed=$(in_root "dpkg-query -W -f '\${Version}' quarn-ev")
[ "$installed" = 1.0.1 ] || fail "after apt upgrade: quarn-ev $installed, want 1.0.1"

# apt refuses the repository when InRelease is changed, or signed by a key it was not given.
inrelease="$work/site/apt/dists/$codename/InRelease"
cp "$inrelease" "$work/InRelease.good"
refuses() {  # $1: what was done to InRelease; apt keeps the old index and says why
  if in_root 'apt-get update --error-on=any' >"$work/update.log" 2>&1; then
    fail "apt-get update took a repository whose InRelease was $1: $(cat "$work/update.log")"
  fi
  local why=(-i -e BADSIG -e NO_PUBKEY -e 'not signed' -e 'Missing key' -e signature)
  grep -q "${why[@]}" "$work/update.log" ||
    fail "apt-get update with InRelease $1: $(cat "$work/update.log")"
  echo "apt refused InRelease $1: $(grep -m 1 "${why[@]}" "$work/update.log")"
  cp "$work/InRelease.good" "$inrelease"
}
sed -i 's/^Label: Quarn$/Label: Quarm/' "$inrelease"
refuses "changed"
gpg --batch --yes --pinentry-mode loopback --passphrase-file "$keys/passphrase" -u "$other" \
  --clearsign -o "$inrelease" "$work/site/apt/dists/$codename/Release"
refuses "signed by another key"
echo "1 passed, 0 failed"
