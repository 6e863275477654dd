#!/usr/bin/env bash
# Installs what Vorkat needs to build, run and test on Debian 12. Running it again does no harm.
set -euo pipefail
packages=(build-essential cmake g++ qt6-base-dev libgtest-dev googletest
          firebird3.0-server-core firebird3.0-server firebird3.0-utils firebird-dev firebird3.0-examples
          xvfb xauth
          nlohmann-json3-dev libdtl-dev libcli11-dev libxml2-utils
          curl ca-certificates unzip libtommath1 libicu72)
missing=()
for p in "${packages[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)"
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  # The server package starts its service after installing. Without systemd (a container)
  # that runs the init script, which may fail and fail the install; the tests start a server
  # of their own (scripts/fbserver.sh), so a policy that forbids starting services is put in
  # place for the install, unless the machine has one already.
  policy=/usr/sbin/policy-rc.d
  if [ ! -d /run/systemd/system ] && [ ! -e "$policy" ]; then
    trap '$sudo rm -f "$policy"' EXIT
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" > /dev/null
    $sudo chmod 755 "$policy"
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The Firebird 4 and 5 embedded engines beside Debian's Firebird 3 (build/engines).
"$(dirname "$0")/engines.sh"
