#!/usr/bin/env bash
# scripts/fbserver.sh start DIR | stop DIR: a Firebird SuperServer of its own for tests and the
# bench, run as the firebird user on a free port of 127.0.0.1. start prints the port and keeps
# it in DIR/port, the server's process id in DIR/pid and its output in DIR/firebird.log; stop
# ends that server and waits until it is gone.
#
# A SuperServer opens its security database exclusively, so a second server on the shared one
# (an installed service, another test run) refuses every login. This server gets a copy of its
# own, and a root folder DIR/root whose firebird.conf names that copy, the port and the
# loopback address; everything else links to the installed files.
set -euo pipefail

binary=/usr/sbin/firebird
installed=/usr/lib/x86_64-linux-gnu/firebird/3.0
security=/var/lib/firebird/3.0/system/security3.fdb
die() { echo "fbserver: $*" >&2; exit 2; }
[ $# -eq 2 ] && { [ "$1" = start ] || [ "$1" = stop ]; } || die "usage: fbserver.sh start|stop DIR"
dir=$2

# A pid that still names our server: not reused by another program, not a zombie.
alive() {
  [ "$(cat "/proc/$1/comm" 2>/dev/null)" = firebird ] &&
    [ "$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)" != Z ]
}
# Any process that has not ended: just after the start it is still setpriv, before its exec.
running() { [ -d "/proc/$1" ] && [ "$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)" != Z ]; }
accepts() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

stop() {
  [ -f "$dir/pid" ] || return 0
  local pid
  pid=$(cat "$dir/pid")
  if alive "$pid"; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do alive "$pid" || break; sleep 0.1; done
    if alive "$pid"; then
      kill -KILL "$pid" 2>/dev/null || true
      for _ in $(seq 50); do alive "$pid" || break; sleep 0.1; done
    fi
  fi
  alive "$pid" && die "server $pid does not stop"
  rm -f "$dir/pid" "$dir/port"
}

if [ "$1" = stop ]; then
  stop
  exit 0
fi

[ "$(id -u)" -eq 0 ] || die "must run as root, to start the server as the firebird user"
id firebird > /dev/null 2>&1 || die "there is no user firebird (install firebird3.0-server)"
[ -x "$binary" ] || die "$binary is missing (install firebird3.0-server)"
[ -f "$installed/firebird.msg" ] || die "$installed is missing (install firebird3.0-server-core)"
[ -r "$security" ] || die "$security is missing (install firebird3.0-server)"
command -v setpriv > /dev/null || die "setpriv is missing (install util-linux)"
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
[ -f "$dir/pid" ] && alive "$(cat "$dir/pid")" && die "a server from $dir runs already (pid $(cat "$dir/pid"))"

# The server reaches its security database in DIR.
chmod a+x "$dir"
setpriv --reuid firebird --regid firebird --init-groups test -x "$dir" || die "the firebird user cannot enter $dir (a folder above it is closed)"

rm -rf "$dir/root"
mkdir "$dir/root"
for item in UDF firebird.msg intl lib plugins plugins.conf fbtrace.conf; do
  ln -s "$installed/$item" "$dir/root/$item"
done
cp "$security" "$dir/security3.fdb"
chown firebird:firebird "$dir/security3.fdb"
echo "security.db = $dir/security3.fdb" > "$dir/root/databases.conf"

# A port nobody listens on; another process may still take it first, so a server that dies
# at once is tried again on another.
for _ in 1 2 3 4 5; do
  port=$(( 20000 + RANDOM % 40000 ))
  accepts "$port" && continue
  # The installed settings without the three that are ours.
  { grep -Ev '^[[:space:]]*(SecurityDatabase|RemoteServicePort|RemoteBindAddress)[[:space:]]*=' "$installed/firebird.conf"
    printf '\nSecurityDatabase = %s\nRemoteServicePort = %s\nRemoteBindAddress = 127.0.0.1\n' \
      "$dir/security3.fdb" "$port"
  } > "$dir/root/firebird.conf"
  # From /, as the firebird user may not enter the caller's folder.
  ( cd / && export FIREBIRD="$dir/root" &&
      exec setpriv --reuid firebird --regid firebird --init-groups "$binary" < /dev/null > "$dir/firebird.log" 2>&1 ) &
  pid=$!
  echo "$pid" > "$dir/pid"
  for _ in $(seq 150); do
    if accepts "$port"; then
      echo "$port" > "$dir/port"
      echo "$port"
      exit 0
    fi
    running "$pid" || break
    sleep 0.1
  done
  if running "$pid"; then
    stop
    die "the server did not accept connections on port $port within 15 s"
  fi
  rm -f "$dir/pid"
done
die "the server did not start: $(tail -3 "$dir/firebird.log" 2>/dev/null | tr '\n' ' ')"
