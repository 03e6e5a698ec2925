#!/usr/bin/env bash
# Signs a release made in DIST: SHA256SUMS.asc, a detached OpenPGP signature
# of its SHA256SUMS, made by gpg with KEY (a key id, fingerprint or address of
# a secret key in the keyring), then checked as a downloader checks it.
#   tools/sign-release.sh DIST KEY
set -euo pipefail
dist=$1 key=$2
"$(dirname "$0")/install-deps.sh" gpg gpg-agent
cd "$dist"
gpg --yes --local-user "$key" --armor --detach-sign --output SHA256SUMS.asc SHA256SUMS
gpg --verify SHA256SUMS.asc SHA256SUMS
