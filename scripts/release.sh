#!/usr/bin/env bash
# The release step: builds every platform's packages from a clean clone of one commit (HEAD by
# default) and writes them to RELEASE_DIR with COMMIT (the commit built) and SHA256SUMS: the amd64
# and arm64 Debian packages with their -dbgsym .ddebs, both Windows zips and installers. It signs
# where it is given keys:
#   QUARN_GPG_KEY            an OpenPGP key (fingerprint or user ID) in GNUPGHOME; its passphrase,
#                            if any, in the file QUARN_GPG_PASSPHRASE_FILE. Signs SHA256SUMS
#                            (SHA256SUMS.asc) and the apt repository apt/, made only then, with the
#                            public key as apt/quarn-ev.asc. Its one suite, "stable", serves every
#                            Debian release the packages install on.
#   QUARN_SIGN_PKCS12        a code-signing certificate with its key; its password in the file
#                            QUARN_SIGN_PASSWORD_FILE, a time-stamp server at QUARN_TIMESTAMP_URL
#                            (both optional). Signs the Windows programs, uninstallers, installers.
# Without keys the artifacts are the unsigned ones, the same bytes on every build. The keys are
# checked before anything is built, and RELEASE_DIR is written whole or not at all.
# Usage: scripts/release.sh [--revision REV] [--work DIR | --from-builds TREE] [--previous APT_DIR]
#                           RELEASE_DIR
#   --previous APT_DIR  the published apt repository: the new one holds its packages too. It must
#                       be signed by QUARN_GPG_KEY and lack this version; it is only read.
#   --work DIR          keeps the clone and the builds in DIR and builds there again incrementally.
#   --from-builds TREE  packs the builds test.sh made in the work tree TREE (build/, build-arm64/,
#                       build-win-*/) instead of building; TREE's files must be the commit's.
#   QUARN_SKIP_ARM64=1, QUARN_SKIP_WINDOWS=1 leave platforms out; QUARN_PACKAGE_VERSION gives the
#   packages another version (for tests).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
die() { echo "release: $*" >&2; exit 1; }
revision=HEAD work="" tree="" previous=""
while [ $# -gt 1 ]; do
  case $1 in
    --revision) revision=$2 ;;
    --work) work=$2 ;;
    --from-builds) tree=$(cd "$2" && pwd) ;;
    --previous) previous=$(realpath -m "$2") ;;
    *) die "unknown option $1" ;;
  esac
  shift 2
done
[ $# = 1 ] || die "usage: release.sh [--revision REV] [--work DIR | --from-builds TREE] [--previous APT_DIR] RELEASE_DIR"
out=$(realpath -m "$1")
[ ! -e "$out" ] || die "$out exists; name a new folder"
commit=$(git -C "$repo" rev-parse --verify "$revision^{commit}") || die "no commit $revision"
[ -z "$tree" ] || git -C "$tree" diff --quiet "$commit" -- || die "$tree's files are not those of $commit"
mkdir -p "$(dirname "$out")"
partial=$(mktemp -d "$(dirname "$out")/.$(basename "$out").partial.XXXXXX")
secrets=$(mktemp -d)
ref=refs/release/$$
cleanup() {
  rm -rf "$partial" "$secrets"
  git -C "$repo" update-ref -d "$ref" 2>/dev/null || true
}
trap cleanup EXIT

needs() { command -v "$1" >/dev/null || die "$1 is not installed (Debian package $2)"; }
# OpenPGP: the key is there, can sign (an unexpired signing key or subkey), and the passphrase
# given opens it.
gpg_sign=()
if [ -n "${QUARN_GPG_KEY:-}" ]; then
  needs gpg gpg
  needs apt-ftparchive apt-utils
  gpg_sign=(gpg --batch --no-tty --yes --pinentry-mode loopback --local-user "$QUARN_GPG_KEY")
  if [ -n "${QUARN_GPG_PASSPHRASE_FILE:-}" ]; then
    [ -r "$QUARN_GPG_PASSPHRASE_FILE" ] || die "cannot read the passphrase file $QUARN_GPG_PASSPHRASE_FILE"
    gpg_sign+=(--passphrase-file "$QUARN_GPG_PASSPHRASE_FILE")
  fi
  keys=$(gpg --batch --with-colons --list-secret-keys "$QUARN_GPG_KEY" 2>/dev/null) ||
    die "no secret OpenPGP key $QUARN_GPG_KEY in ${GNUPGHOME:-~/.gnupg}"
  [ "$(grep -c '^sec:' <<<"$keys")" = 1 ] || die "QUARN_GPG_KEY=$QUARN_GPG_KEY names more than one key"
  awk -F: '$1 == "sec" {print $12}' <<<"$keys" | grep -q S ||
    die "the OpenPGP key $QUARN_GPG_KEY has no usable signing key or subkey (expired, revoked or certify-only)"
  echo probe >"$secrets/probe"
  "${gpg_sign[@]}" --detach-sign "$secrets/probe" 2>"$secrets/gpg.log" ||
    die "cannot sign with the OpenPGP key $QUARN_GPG_KEY (wrong or missing passphrase?): $(grep -v '^gpg: using' "$secrets/gpg.log" | head -n 3)"
fi

# The published repository: signed by this key, and without this version.
version_number=${QUARN_PACKAGE_VERSION:-$(git -C "$repo" show "$commit:CMakeLists.txt" |
  sed -n 's/^project(quarn-ev VERSION \([^ ]*\) .*/\1/p')}
if [ -n "$previous" ]; then
  [ "${#gpg_sign[@]}" -gt 0 ] || die "--previous needs QUARN_GPG_KEY, which signs the repository"
  [ -f "$previous/dists/stable/InRelease" ] || die "$previous holds no apt repository (dists/stable/InRelease)"
  gpg --batch --export "$QUARN_GPG_KEY" >"$secrets/key.gpg"
  if ! status=$(gpgv --status-fd 1 --keyring "$secrets/key.gpg" "$previous/dists/stable/InRelease" 2>/dev/null); then
    die "$previous is signed by another key ($(awk '$2 == "ERRSIG" {print $NF; exit}' <<<"$status")), not by $QUARN_GPG_KEY"
  fi
  ls "$previous/pool/main/q/quarn-ev/quarn-ev_${version_number}_"*.deb >/dev/null 2>&1 &&
    die "version $version_number is already published in $previous"
fi

# Authenticode: the PKCS#12 file opens with the password given and holds a key and a certificate
# that is valid now.
if [ -n "${QUARN_SIGN_PKCS12:-}" ]; then
  needs osslsigncode osslsigncode
  [ -r "$QUARN_SIGN_PKCS12" ] || die "cannot read the code-signing certificate $QUARN_SIGN_PKCS12"
  passin=(-passin pass:)
  if [ -n "${QUARN_SIGN_PASSWORD_FILE:-}" ]; then
    [ -r "$QUARN_SIGN_PASSWORD_FILE" ] || die "cannot read the password file $QUARN_SIGN_PASSWORD_FILE"
    passin=(-passin "file:$QUARN_SIGN_PASSWORD_FILE")
  fi
  pkcs12() { openssl pkcs12 -in "$QUARN_SIGN_PKCS12" "${passin[@]}" "$@" 2>/dev/null ||
    openssl pkcs12 -legacy -in "$QUARN_SIGN_PKCS12" "${passin[@]}" "$@" 2>/dev/null; }
  pkcs12 -nokeys -clcerts -out "$secrets/certificate.pem" ||
    die "cannot open $QUARN_SIGN_PKCS12 (wrong or missing password?)"
  pkcs12 -nocerts -nodes | grep -q 'PRIVATE KEY' || die "$QUARN_SIGN_PKCS12 holds no private key"
  openssl x509 -in "$secrets/certificate.pem" -noout -checkend 0 >/dev/null ||
    die "the code-signing certificate expired: $(openssl x509 -in "$secrets/certificate.pem" -noout -enddate)"
  starts=$(openssl x509 -in "$secrets/certificate.pem" -noout -startdate | cut -d= -f2)
  [ "$(date -d "$starts" +%s)" -le "$(date +%s)" ] || die "the code-signing certificate is valid only from $starts"
  export QUARN_SIGN_PKCS12 QUARN_SIGN_PASSWORD_FILE QUARN_TIMESTAMP_URL
fi

# The commit, cloned and built for every platform, or the builds of it already made.
if [ -z "$tree" ]; then
  [ -n "$work" ] || work="$secrets/work"
  mkdir -p "$work"
  work=$(cd "$work" && pwd)
  [ -d "$work/src/.git" ] || git init -q "$work/src"
  git -C "$repo" update-ref "$ref" "$commit"
  git -C "$work/src" fetch -q "$repo" "$ref"
  git -C "$work/src" checkout -q --force FETCH_HEAD
fi
platforms=(linux)
[ -n "${QUARN_SKIP_ARM64:-}" ] || platforms+=(arm64)
[ -n "${QUARN_SKIP_WINDOWS:-}" ] || platforms+=(i686 x86_64)
version=()
[ -z "${QUARN_PACKAGE_VERSION:-}" ] || version=(-D "CPACK_PACKAGE_VERSION=$QUARN_PACKAGE_VERSION")
for platform in "${platforms[@]}"; do
  b="$work/build-$platform" toolchain=() target=(--target quarn-ev docs) generators=(-G DEB)
  if [ "$platform" = arm64 ]; then
    toolchain=(-DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/toolchains/aarch64-linux-gnu.cmake")
  elif [ "$platform" != linux ]; then
    toolchain=(-DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/toolchains/mingw-w64-$platform.cmake")
    target=(--target quarn-ev)
    generators=()
  fi
  if [ -n "$tree" ]; then
    b="$tree/$(case $platform in linux) echo build ;; arm64) echo build-arm64 ;;
      *) echo "build-win-$platform" ;; esac)"
    [ -f "$b/CPackConfig.cmake" ] || die "no build for $platform in $b"
  else
    cmake -S "$work/src" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE="$(case $platform in linux | arm64)
      echo RelWithDebInfo ;; *) echo Release ;; esac)" "${toolchain[@]}" >/dev/null
    cmake --build "$b" -j "$(nproc)" "${target[@]}" >/dev/null
  fi
  rm -rf "$b/pkg"
  (cd "$b" && cpack "${generators[@]}" "${version[@]}" --config CPackConfig.cmake -B "$b/pkg" >"$b/cpack.log" 2>&1) ||
    die "packing for $platform failed: $(grep -i -e error -e sign "$b/cpack.log" | head -n 5)"
  find "$b/pkg" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.ddeb' -o -name '*.zip' \
    -o -name '*-setup.exe' \) -exec cp {} "$partial/" \;
done

cd "$partial"
echo "$commit" >COMMIT
sha256sum -- * | LC_ALL=C sort -k2 >"$secrets/sums"
mv "$secrets/sums" SHA256SUMS
if [ "${#gpg_sign[@]}" -gt 0 ]; then
  "${gpg_sign[@]}" --armor --detach-sign --output SHA256SUMS.asc SHA256SUMS
  # A static apt repository: the packages of this release and of the published ones under pool/,
  # indexes under dists/stable, the Release file signed in place (InRelease) and beside it
  # (Release.gpg). One suite for every Debian release: the packages, built on the oldest release
  # served, install on the newer ones too.
  dist=apt/dists/stable
  mkdir -p apt/pool/main/q/quarn-ev
  [ -z "$previous" ] || cp "$previous"/pool/main/q/quarn-ev/*.deb apt/pool/main/q/quarn-ev/
  cp ./*.deb apt/pool/main/q/quarn-ev/
  architectures=$(for deb in apt/pool/main/q/quarn-ev/*.deb; do dpkg-deb -f "$deb" Architecture; done |
    sort -u | tr '\n' ' ')
  for arch in $architectures; do
    mkdir -p "$dist/main/binary-$arch"
    (cd apt && apt-ftparchive --arch "$arch" packages pool) >"$dist/main/binary-$arch/Packages"
    gzip -9nk "$dist/main/binary-$arch/Packages"
  done
  release=(-o APT::FTPArchive::Release::Origin=Quarn -o APT::FTPArchive::Release::Label=Quarn
    -o APT::FTPArchive::Release::Suite=stable -o APT::FTPArchive::Release::Codename=stable
    -o "APT::FTPArchive::Release::Architectures=${architectures% }"
    -o APT::FTPArchive::Release::Components=main
    -o "APT::FTPArchive::Release::Description=Quarn EV calculator")
  apt-ftparchive "${release[@]}" release "$dist" >"$secrets/Release"
  mv "$secrets/Release" "$dist/Release"
  "${gpg_sign[@]}" --clearsign --output "$dist/InRelease" "$dist/Release"
  "${gpg_sign[@]}" --armor --detach-sign --output "$dist/Release.gpg" "$dist/Release"
  gpg --batch --armor --export "$QUARN_GPG_KEY" >apt/quarn-ev.asc
fi
cd /
mv "$partial" "$out"
echo "release: $out ($commit)$([ "${#gpg_sign[@]}" -gt 0 ] && echo ", OpenPGP-signed")$(
  [ -n "${QUARN_SIGN_PKCS12:-}" ] && echo ", Windows files signed")"
ls -1 "$out"
