#!/usr/bin/env bash
# A signed release as its publisher and its users meet it, with throwaway keys made here. Bad keys
# are refused before anything is built, and nothing is written. The release step signs SHA256SUMS,
# the apt repository and the Windows files; verify-release.sh, given the key a user holds, finds
# the release to be its commit's, names the zip whose program had one byte of code changed and was
# signed again, and refuses a release signed whole by another key. The repository is served at
# one address on 127.0.0.1: in clean Debian roots of this machine's release and, made on Debian
# 12, of Debian 13, it is added with the README's lines, the package installed and its program
# run; the next release, added to the published repository, comes with `apt upgrade`, and the
# earlier version can be installed again. Adding a version already published, or to a repository
# signed by another key, is refused and changes nothing; apt refuses the repository when InRelease
# is changed or signed by another key.
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
root_pids=()  # debootstrap, which must end before the folder goes: it mounts into its root
trap 'gpgconf --kill gpg-agent 2>/dev/null; wait "${root_pids[@]}" 2>/dev/null; cleanup' EXIT

# OpenPGP: ed25519, which apt's gpgv (Debian 12) and sqv (Debian 13) both accept.
echo 'the right passphrase' >"$keys/passphrase"
echo 'a wrong one' >"$keys/wrong"
new_key() {  # $1: user ID, $2: usage; prints the fingerprint
  gpg --batch --pinentry-mode loopback --passphrase-file "$keys/passphrase" \
    --quick-gen-key "$1" ed25519 "$2" 1y 2>/dev/null
  gpg --batch --with-colons --list-keys "$1" 2>/dev/null | awk -F: '/^fpr/ {print $10; exit}'
}
key=$(new_key 'Quarn releases <releases@quarn.invalid>' sign)
gpg --batch --armor --export "$key" >"$keys/held.asc"  # the key users hold
other=$(new_key 'Someone else <other@quarn.invalid>' sign)
certify_only=$(new_key 'Certify only <certify@quarn.invalid>' cert)
code_signing_certificate "$keys" publisher 30
code_signing_certificate "$keys" expired -1

# Clean Debian roots, made in the background while the release is made and checked: this
# machine's release and, where that is Debian 12, Debian 13, where its packages must install too.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
suites=("$codename")
[ "$codename" != bookworm ] || suites+=(trixie)
mirror=$(apt-get indextargets --format '$(REPO_URI)' "Codename: $codename" 2>/dev/null | head -n 1)
for suite in "${suites[@]}"; do
  debootstrap --variant=minbase "$suite" "$work/root-$suite" "${mirror:-http://deb.debian.org/debian/}" \
    >"$work/debootstrap-$suite.log" 2>&1 &
  root_pids+=($!)
done

# Each bad key is refused with a clear message before anything is built; nothing is written.
refused() {  # $1: the message expected, then VAR=VALUE settings, then the release step's options
  local want=$1 message
  shift
  if message=$(env "$@" "$work/bad" 2>&1); then fail "released with $*"; fi
  grep -q "$want" <<<"$message" || fail "with $*: $message"
  [ -z "$(ls -A "$work" | grep bad)" ] || fail "with $*, left: $(ls -A "$work")"
  echo "refused: $message"
}
refused "wrong or missing passphrase" QUARN_GPG_KEY="$key" QUARN_GPG_PASSPHRASE_FILE="$keys/wrong" "$repo/scripts/release.sh"
refused "wrong or missing passphrase" QUARN_GPG_KEY="$key" "$repo/scripts/release.sh"
refused "no usable signing key" QUARN_GPG_KEY="$certify_only" QUARN_GPG_PASSPHRASE_FILE="$keys/passphrase" "$repo/scripts/release.sh"
refused "expired" QUARN_SIGN_PKCS12="$keys/expired.p12" QUARN_SIGN_PASSWORD_FILE="$keys/p12-password" "$repo/scripts/release.sh"
refused "wrong or missing password" QUARN_SIGN_PKCS12="$keys/publisher.p12" QUARN_SIGN_PASSWORD_FILE="$keys/wrong" "$repo/scripts/release.sh"

# The release, signed; then checked as a user would.
signing=(QUARN_GPG_KEY="$key" QUARN_GPG_PASSPHRASE_FILE="$keys/passphrase"
  QUARN_SIGN_PKCS12="$keys/publisher.p12" QUARN_SIGN_PASSWORD_FILE="$keys/p12-password")
env "${signing[@]}" "$repo/scripts/release.sh" --work "$release_work" "$work/release"
release="$work/release"
# verify-release.sh checks SHA256SUMS.asc and InRelease against apt/quarn-ev.asc; the Windows
# scenario (tests/windows/release.sh) checks each Authenticode signature.
[ -s "$release/SHA256SUMS.asc" ] && [ -s "$release/apt/quarn-ev.asc" ] || fail "not OpenPGP-signed"
"$repo/scripts/verify-release.sh" --key "$key" --work "$release_work" "$release" ||
  fail "verify-release refused the release"

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
  grep -q "checked only against the key shipped" "$work/tampered.log" || fail "no word on the key"
fi

# The release signed whole by another key: its files, SHA256SUMS.asc and the key in the folder.
cp -r "$release" "$work/resigned"
gpg --batch --armor --export "$other" >"$work/resigned/apt/quarn-ev.asc"
gpg --batch --yes --pinentry-mode loopback --passphrase-file "$keys/passphrase" -u "$other" \
  --armor --detach-sign -o "$work/resigned/SHA256SUMS.asc" "$work/resigned/SHA256SUMS"
if message=$("$repo/scripts/verify-release.sh" --key "$keys/held.asc" "$work/resigned" 2>&1); then
  fail "verify-release took a release signed by another key: $message"
fi
grep "$other" <<<"$message" | grep -q "$key" || fail "not both fingerprints named: $message"
echo "refused: $message"

for i in "${!suites[@]}"; do
  wait "${root_pids[$i]}" ||
    fail "debootstrap ${suites[$i]}: $(tail -n 5 "$work/debootstrap-${suites[$i]}.log")"
done
in_root() {  # SUITE COMMAND
  chroot "$work/root-$1" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive bash -c "$2"
}
for suite in "${suites[@]}"; do
  cp /etc/resolv.conf "$work/root-$suite/etc/resolv.conf"
  echo 'APT::Get::Assume-Yes "true";' >"$work/root-$suite/etc/apt/apt.conf.d/90yes"  # answers apt
done

# The repository at its one address, served on 127.0.0.1.
site="$work/site/quarn-ev"
mkdir -p "$site"
cp -r "$release/apt" "$site/apt"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/site" "$port" >"$work/http.log" 2>&1 &
helper_pids+=($!)
base=http://127.0.0.1:$port/quarn-ev
for _ in $(seq 50); do  # until the server answers
  python3 -c "import urllib.request; urllib.request.urlopen('$base/apt/quarn-ev.asc')" 2>/dev/null && break
  sleep 0.2
done

# The README's three lines, as a user runs them (as root, so without sudo), in each root; then the
# program, used.
lines=$(grep -E '^    (sudo /usr/lib/apt/apt-helper|printf .Types|sudo apt update)' "$repo/README.md" |
  sed 's/^    //; s/sudo //g')
[ "$(wc -l <<<"$lines")" = 3 ] || fail "the README's repository lines: $lines"
start_x
for suite in "${suites[@]}"; do
  in_root "$suite" "base=$base; $lines" >"$work/install-$suite.log" 2>&1 ||
    fail "installing from the repository on $suite: $(tail -n 20 "$work/install-$suite.log")"
  mkdir -p -m 700 "$work/root-$suite$XDG_RUNTIME_DIR"
  launcher="chroot $work/root-$suite" program=/usr/bin/quarn-ev calculate_with
  echo "installed and used on $suite"
done

# The next version, added to the published repository: apt upgrade brings it, and the first can
# still be installed.
env "${signing[@]}" QUARN_SKIP_WINDOWS=1 QUARN_PACKAGE_VERSION=1.0.1 "$repo/scripts/release.sh" \
  --work "$release_work" --previous "$site/apt" "$work/release-1.0.1" >/dev/null
rm -rf "$site/apt"
cp -r "$work/release-1.0.1/apt" "$site/apt"
for suite in "${suites[@]}"; do
  in_root "$suite" 'apt update -qq && apt upgrade -qq' >"$work/upgrade.log" 2>&1 ||
    fail "apt upgrade on $suite: $(tail -n 5 "$work/upgrade.log")"
  installed=$(in_root "$suite" "dpkg-query -W -f '\${Version}' quarn-ev")
  [ "$installed" = 1.0.1 ] || fail "after apt upgrade on $suite: quarn-ev $installed, want 1.0.1"
done
in_root "$codename" 'apt-get install -qq --allow-downgrades quarn-ev=1.0.0' >"$work/downgrade.log" 2>&1 ||
  fail "going back to 1.0.0: $(tail -n 5 "$work/downgrade.log")"
[ "$(in_root "$codename" "dpkg-query -W -f '\${Version}' quarn-ev")" = 1.0.0 ] || fail "not back at 1.0.0"

# A version already published, or a repository signed by another key, is refused before anything
# is built, and the published folder is left as it was.
published=$(cd "$work/site" && find . -type f -exec sha256sum {} + | sort)
refused "version 1.0.1 is already published" "${signing[@]}" QUARN_PACKAGE_VERSION=1.0.1 \
  "$repo/scripts/release.sh" --previous "$site/apt"
cp -r "$site/apt" "$work/foreign"
gpg --batch --yes --pinentry-mode loopback --passphrase-file "$keys/passphrase" -u "$other" \
  --clearsign -o "$work/foreign/dists/stable/InRelease" "$work/foreign/dists/stable/Release"
refused "signed by another key" "${signing[@]}" QUARN_PACKAGE_VERSION=1.0.2 \
  "$repo/scripts/release.sh" --previous "$work/foreign"
[ "$(cd "$work/site" && find . -type f -exec sha256sum {} + | sort)" = "$published" ] ||
  fail "the published folder changed"

# apt refuses the repository when InRelease is changed, or signed by a key it was not given.
inrelease="$site/apt/dists/stable/InRelease"
cp "$inrelease" "$work/InRelease.good"
refuses() {  # $1: what was done to InRelease; apt keeps the old index and says why
  if in_root "$codename" 'apt-get update --error-on=any' >"$work/update.log" 2>&1; then
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
cp "$work/foreign/dists/stable/InRelease" "$inrelease"
refuses "signed by another key"
echo "1 passed, 0 failed"
