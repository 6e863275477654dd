#!/usr/bin/env bash
# Brings the Firebird 4 and 5 embedded engines into build/engines/fb4 and build/engines/fb5, from
# the pinned firebird-embedded wheels on PyPI (each wheel is a zip holding a runtime folder:
# client library, engine plugin, messages, character sets and time zone data, and no tools).
# An engine already unpacked from the pinned wheel is left as it is, so running it again does
# no harm. scripts/engine.sh runs a command with one of them.
set -euo pipefail
cd "$(dirname "$0")/.."
engines="${VORKAT_ENGINES:-$PWD/build/engines}"

# version, sha256 and place on the package host of each wheel (Linux x86-64).
host=https://files.pythonhosted.org/packages
declare -A version sha256 place
version[4]=4.0.7.4
sha256[4]=84f9102547e9a605ba15dfe3b5d2b7fed9edc8042ebddb68b8624a2cce0ef8a0
place[4]=3c/19/e5063aa0b5eeda16308345f0f8da5dfb395e0408ccf4d609e6c54f1e4a4e
version[5]=5.0.4.4
sha256[5]=4112cf5c25cea05d39d4f51c8ac54e0341d341b2099e8b2592a65e80a00463e4
place[5]=95/12/eb462c566fb89ffc57eecfa5455ca538f4e6d278915773473eec6bd7163b
platform=manylinux_2_17_x86_64

if [ "$(uname -m)" != x86_64 ]; then
  echo "engines.sh: the pinned wheels are for x86-64 Linux, not $(uname -m)" >&2
  exit 1
fi

# Fetches the wheel of major into the folder cache: straight from the package host with curl,
# else through pip (installed from Debian first when missing).
fetch() {
  local major=$1 cache=$2
  local wheel="firebird_embedded-${version[$major]}-py3-none-$platform.whl"
  if curl -sSfL --retry 3 -m 600 -o "$cache/$wheel" "$host/${place[$major]}/$wheel"; then
    return 0
  fi
  echo "engines.sh: the download of $wheel failed; trying pip" >&2
  rm -f "$cache/$wheel"
  if ! python3 -m pip --version > /dev/null 2>&1; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends python3-pip
  fi
  python3 -m pip download -q --no-deps --only-binary=:all: --platform "$platform" --python-version 3.11 \
    --implementation py --abi none -d "$cache" "firebird-embedded==${version[$major]}"
}

for major in 4 5; do
  target="$engines/fb$major"
  stamp="firebird-embedded ${version[$major]} ${sha256[$major]}"
  if [ -f "$target/wheel" ] && [ "$(cat "$target/wheel")" = "$stamp" ] &&
     [ -f "$target/firebird/embedded/runtime/libfbclient.so.2" ]; then
    continue
  fi
  echo "engines.sh: Firebird ${version[$major]%.*} embedded into $target"
  mkdir -p "$engines"
  work="$(mktemp -d "$engines/.fb$major.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  fetch "$major" "$work"
  wheel="$work/firebird_embedded-${version[$major]}-py3-none-$platform.whl"
  if [ "$(sha256sum "$wheel" | cut -d' ' -f1)" != "${sha256[$major]}" ]; then
    echo "engines.sh: $(basename "$wheel") does not have the pinned sha256 ${sha256[$major]}" >&2
    exit 1
  fi
  unzip -q "$wheel" -d "$work/tree"
  runtime="$work/tree/firebird/embedded/runtime"
  # Firebird 4's client asks for libtommath.so.0; Debian 12 has the same functions as
  # libtommath.so.1 (libtommath1), which Firebird 5 asks for.
  if [ "$major" = 4 ]; then
    # awk reads the whole list: leaving at the first match would break ldconfig's pipe on a
    # machine with many libraries, and pipefail would end the script with status 141.
    tommath="$(/sbin/ldconfig -p | awk '$1 == "libtommath.so.1" && /x86-64/ && !found { print $NF; found = 1 }')"
    if [ -z "$tommath" ]; then
      echo "engines.sh: libtommath.so.1 is missing (Debian's libtommath1)" >&2
      exit 1
    fi
    ln -s "$tommath" "$runtime/libtommath.so.0"
  fi
  # The engine's lock and shared memory files, apart from every other Firebird's.
  mkdir -p "$work/tree/lock"
  echo "$stamp" > "$work/tree/wheel"
  rm -rf "$target"
  mv "$work/tree" "$target"
  rm -rf "$work"
  trap - EXIT
done
