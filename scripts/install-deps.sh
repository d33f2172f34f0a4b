#!/usr/bin/env bash
# Installs everything a fresh Debian machine needs to build, test and run Selvanto Upgrade.
# Idempotent: when every package is there it installs nothing and prints nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  googletest libgtest-dev libgmock-dev
  xvfb xauth
)
# The password-checking test runs against a real server on loopback.
if [ "${WITH_SERVER:-1}" = 1 ]; then packages+=(firebird3.0-server); fi
if [ "${WITH_FUZZ:-0}" = 1 ]; then packages+=(clang libclang-rt-dev); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
# The server package must not start a service of its own inside a container; the test script starts it.
if [ ! -e /usr/sbin/policy-rc.d ] && [[ " ${missing[*]} " == *" firebird3.0-server "* ]]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee /usr/sbin/policy-rc.d >/dev/null
  $SUDO chmod +x /usr/sbin/policy-rc.d
  trap '$SUDO rm -f /usr/sbin/policy-rc.d' EXIT
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
