#!/usr/bin/env bash
# A signed release passes the README's check, and fails it once a file, or a
# file and its sum, changed after signing. A throwaway key in a keyring of its
# own. Usage: test_signature.sh SIGN_RELEASE_SCRIPT
set -euo pipefail
sign=$1
work=$(mktemp -d)
export GNUPGHOME=$work/gnupg
trap 'gpgconf --kill gpg-agent 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$GNUPGHOME"
gpg --batch --quiet --passphrase '' --quick-gen-key 'Tarvik test <test@example.org>' ed25519 sign never
dist=$work/dist
mkdir "$dist"
echo program >"$dist/tarvik.zip"
echo package >"$dist/tarvik.deb"
sums() { (cd "$dist" && sha256sum tarvik.zip tarvik.deb >SHA256SUMS); }
sums
fail() { echo "test_signature: $*" >&2; exit 1; }
"$sign" "$dist" test@example.org >"$work/log" 2>&1 || { cat "$work/log"; fail "signing failed"; }

checks() { (cd "$dist" && gpg --verify SHA256SUMS.asc SHA256SUMS && sha256sum -c SHA256SUMS) >/dev/null 2>&1; }
checks || fail "the release as signed does not pass its check"
echo tampered >>"$dist/tarvik.deb"
! checks || fail "a file changed after signing passes the check"
sums
! checks || fail "a file changed after signing, and its sum with it, passes the check"
echo "test_signature: a signed release checks, and a file changed after signing fails it"
