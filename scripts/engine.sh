#!/usr/bin/env bash
# Runs a command with one Firebird engine's embedded client library:
#   scripts/engine.sh VERSION COMMAND [ARGS...]
# VERSION 3 runs the command as it is, with Debian's Firebird 3 (libfbclient.so.2 from the
# system). VERSION 4 or 5 puts that engine's runtime from build/engines (scripts/engines.sh
# brings it there) first in the library path, so every program linked against
# libfbclient.so.2 (vorkat-cli, isql-fb, gbak) loads it, and local database files are opened
# by its embedded engine, which creates them with its own on-disk structure (ODS 13.0 for 4,
# 13.1 for 5).
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $(basename "$0") 3|4|5 COMMAND [ARGS...]" >&2
  exit 2
fi
major=$1
shift
case "$major" in
  3)
    exec "$@"
    ;;
  4|5)
    engines="${VORKAT_ENGINES:-$(cd "$(dirname "$0")/.." && pwd)/build/engines}"
    root="$engines/fb$major/firebird/embedded/runtime"
    if [ ! -f "$root/libfbclient.so.2" ] || [ ! -f "$root/plugins/libEngine13.so" ]; then
      echo "$(basename "$0"): no Firebird $major engine in $engines/fb$major: run scripts/engines.sh" >&2
      exit 2
    fi
    # The runtime root holds firebird.conf, firebird.msg, plugins/, intl/ and tzdata/.
    export FIREBIRD="$root"
    export LD_LIBRARY_PATH="$root${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    # Lock and shared memory files of this engine alone: the engines' layouts differ, and
    # Firebird 3's default folder belongs to its server's user.
    export FIREBIRD_LOCK="$engines/fb$major/lock"
    exec "$@"
    ;;
  *)
    echo "$(basename "$0"): VERSION is 3, 4 or 5, not $major" >&2
    exit 2
    ;;
esac
