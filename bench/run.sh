#!/usr/bin/env bash
# bench/run.sh [options]: builds a large Old/New pair with isql-fb, then times vorkat-cli in
# script mode on it against one plain read of the same system tables through the client
# library, and prints both times, their ratio and the peak memory (RSS) of both; the same for
# vorkat-cli --complete, with its number of catalog queries.
#   --tables N       tables (2000)            --columns N     columns in all (40000)
#   --procedures N   procedures (500)         --triggers N    triggers (1000)
#   --domains N      domains (40)             --generators N  generators (100)
#   --exceptions N   exceptions (50)          --diff P        per cent of each kind that differs (5)
#   --runs N         timed runs of each, the best counts (3, or 1 with --latency)
#   --build DIR      the build folder holding vorkat-cli and bench/vorkat-bench (build)
#   --latency MS     reads the pair from a Firebird server on loopback (scripts/fbserver.sh)
#                    through vorkat-proxy, which adds MS to every round trip, and prints each
#                    measurement's round trips as well (needs root and firebird3.0-server)
# The pair is kept in DIR/bench and made again only when the parameters change.
set -euo pipefail
cd "$(dirname "$0")/.."

tables=2000 columns=40000 procedures=500 triggers=1000 domains=40 generators=100 exceptions=50
diff=5 runs="" build=build latency=""
while [ $# -gt 0 ]; do
  case $1 in
    --tables|--columns|--procedures|--triggers|--domains|--generators|--exceptions|--diff|--runs|--build|--latency)
      [ $# -ge 2 ] || { echo "bench: $1 needs a value" >&2; exit 2; }
      declare "${1#--}=$2"; shift 2 ;;
    *) echo "bench: unknown option $1" >&2; exit 2 ;;
  esac
done

# One run is enough over a slow line: the round trips, not the processor, set the time.
[ -n "$runs" ] || { [ -n "$latency" ] && runs=1 || runs=3; }

cli="$build/vorkat-cli"
helper="$build/bench/vorkat-bench"
for program in "$cli" "$helper"; do
  [ -x "$program" ] || { echo "bench: $program is missing; run scripts/build.sh first" >&2; exit 2; }
done
work="$(cd "$build" && pwd)/bench/pair"
mkdir -p "$work"
old="$work/old.fdb" new="$work/new.fdb"

params="$tables $columns $procedures $triggers $domains $generators $exceptions $diff"
if [ ! -f "$old" ] || [ ! -f "$new" ] || [ "$(cat "$work/params" 2>/dev/null)" != "$params" ]; then
  echo "Making the pair: $tables tables, $columns columns, $procedures procedures, $triggers triggers, $diff % different"
  rm -f "$old" "$new" "$work/params"
  for side in new old; do
    start=$(date +%s)
    awk -v side="$side" -v path="$work/$side.fdb" -v tables="$tables" -v columns="$columns" \
        -v procedures="$procedures" -v triggers="$triggers" -v domains="$domains" \
        -v generators="$generators" -v exceptions="$exceptions" -v diff="$diff" \
        -f bench/make-pair.awk > "$work/$side.sql"
    isql-fb -q -b -i "$work/$side.sql" > "$work/$side.log" 2>&1 ||
      { echo "bench: isql-fb failed on $side.sql:" >&2; tail -20 "$work/$side.log" >&2; exit 2; }
    echo "  $side.fdb built in $(( $(date +%s) - start )) s"
  done
  echo "$params" > "$work/params"
fi

# Runs "time" over a command: prints "seconds rss-KiB status" of the best of the runs
# (least time; the largest peak memory of all runs).
measure() {
  local result="$work/measure" best="" rss=0 status=0
  for _ in $(seq "$runs"); do
    "$helper" time "$result" "$@" > "$work/last.out" 2> "$work/last.err"
    read -r seconds kib code < "$result"
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$seconds; fi
    [ "$kib" -gt "$rss" ] && rss=$kib
    status=$code
  done
  echo "$best $rss $status"
}

mib() { awk -v k="$1" 'BEGIN { print k / 1024 }'; }

if [ -n "$latency" ]; then
  proxy="$build/bench/vorkat-proxy"
  [ -x "$proxy" ] || { echo "bench: $proxy is missing; run scripts/build.sh first" >&2; exit 2; }
  passwordFile=/etc/firebird/3.0/SYSDBA.password
  password=$(sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$passwordFile" 2>/dev/null) || true
  [ -n "$password" ] || { echo "bench: cannot read the SYSDBA password from $passwordFile" >&2; exit 2; }
  # The server runs as the firebird user on copies it owns; fresh ones each time, as a run may
  # leave the pair changed and the originals belong to root.
  served="$work/served" proxyPid=""
  cleanup() {
    if [ -n "$proxyPid" ]; then kill -CONT "$proxyPid" 2>/dev/null; kill -TERM "$proxyPid" 2>/dev/null; wait "$proxyPid" 2>/dev/null; fi
    scripts/fbserver.sh stop "$served" || true
    rm -rf "$served"
  }
  trap cleanup EXIT
  trap 'exit 2' INT TERM
  scripts/fbserver.sh stop "$served" 2> /dev/null || true
  rm -rf "$served"
  mkdir -p "$served"
  chmod 0777 "$served"
  serverPort=$(scripts/fbserver.sh start "$served")
  cp "$old" "$new" "$served/"
  chown firebird:firebird "$served/old.fdb" "$served/new.fdb"
  half=$(awk -v ms="$latency" 'BEGIN { print ms / 2 }')

  # A proxy of its own for each measurement, so each counts only its own round trips; it
  # sets oldName and newName to the pair behind it.
  startProxy() {
    rm -f "$served/count" "$served/proxy.out"
    "$proxy" --listen 0 --target "127.0.0.1:$serverPort" --delay "$half" --count "$served/count" \
      > "$served/proxy.out" 2> "$served/proxy.err" &
    proxyPid=$!
    for _ in $(seq 100); do [ -s "$served/proxy.out" ] && break; sleep 0.05; done
    local port
    port=$(head -1 "$served/proxy.out")
    [ -n "$port" ] || { echo "bench: vorkat-proxy did not start:" >&2; cat "$served/proxy.err" >&2; exit 2; }
    oldName="localhost/$port:$served/old.fdb" newName="localhost/$port:$served/new.fdb"
  }
  # Sets trips to the round trips of one run; the proxy writes its count file as it ends.
  stopProxy() {
    kill -TERM "$proxyPid"
    wait "$proxyPid" || true
    proxyPid=""
    trips=$(awk -v runs="$runs" '$1 == "round_trips" { printf "%d\n", $2 / runs }' "$served/count")
  }
  failed() { [ "$1" -le "$2" ] || { echo "  $3 failed:" >&2; tail -5 "$work/last.err" >&2; }; }

  login=(--user SYSDBA --password "$password")
  startProxy
  read -r cliTime cliRss cliStatus < <(measure "$cli" "${login[@]}" --script "$work/vorkat.sql" "$oldName" "$newName")
  stopProxy
  cliTrips=$trips
  failed "$cliStatus" 1 vorkat-cli
  findings=$(wc -l < "$work/last.out")
  startProxy
  read -r fullTime fullRss fullStatus < <(measure "$cli" "${login[@]}" --complete --verbose --script "$work/complete.sql" "$oldName" "$newName")
  stopProxy
  fullTrips=$trips
  failed "$fullStatus" 1 "vorkat-cli --complete"
  fullFindings=$(wc -l < "$work/last.out")
  fullQueries=$(sed -n 's/^vorkat-cli: \([0-9]*\) catalog queries.*/\1/p' "$work/last.err")
  startProxy
  read -r readTime readRss readStatus < <(measure env ISC_USER=SYSDBA ISC_PASSWORD="$password" "$helper" read "$oldName" "$newName")
  stopProxy
  readTrips=$trips
  failed "$readStatus" 0 "the plain read"
  readWhat=$(cat "$work/last.out")

  printf 'Pair: %s tables, %s columns, %s procedures, %s triggers; %s %% of each kind different\n' \
    "$tables" "$columns" "$procedures" "$triggers" "$diff"
  printf 'Server on 127.0.0.1:%s behind vorkat-proxy: %s ms each way, %s ms a round trip\n' "$serverPort" "$half" "$latency"
  printf 'vorkat-cli, script mode: %8.2f s  peak RSS %7.1f MiB  %7s round trips  (%s findings, exit %s)\n' \
    "$cliTime" "$(mib "$cliRss")" "$cliTrips" "$findings" "$cliStatus"
  printf 'vorkat-cli --complete:   %8.2f s  peak RSS %7.1f MiB  %7s round trips  (%s rows, %s catalog queries, exit %s)\n' \
    "$fullTime" "$(mib "$fullRss")" "$fullTrips" "$fullFindings" "${fullQueries:-?}" "$fullStatus"
  printf 'plain read:              %8.2f s  peak RSS %7.1f MiB  %7s round trips  (%s, exit %s)\n' \
    "$readTime" "$(mib "$readRss")" "$readTrips" "$readWhat" "$readStatus"
  printf '(best of %s runs each; round trips per run)\n' "$runs"
  [ "$cliStatus" -le 1 ] && [ "$fullStatus" -le 1 ] && [ "$readStatus" -eq 0 ] || exit 2
  exit 0
fi

read -r cliTime cliRss cliStatus < <(measure "$cli" --script "$work/vorkat.sql" "$old" "$new")
[ "$cliStatus" -le 1 ] || { echo "bench: vorkat-cli failed:" >&2; cat "$work/last.err" >&2; exit 2; }
findings=$(wc -l < "$work/last.out")
scriptLines=$(wc -l < "$work/vorkat.sql")
read -r fullTime fullRss fullStatus < <(measure "$cli" --complete --verbose --script "$work/complete.sql" "$old" "$new")
[ "$fullStatus" -le 1 ] || { echo "bench: vorkat-cli --complete failed:" >&2; cat "$work/last.err" >&2; exit 2; }
fullFindings=$(wc -l < "$work/last.out")
fullQueries=$(sed -n 's/^vorkat-cli: \([0-9]*\) catalog queries.*/\1/p' "$work/last.err")
read -r readTime readRss readStatus < <(measure "$helper" read "$old" "$new")
[ "$readStatus" -eq 0 ] || { echo "bench: the plain read failed:" >&2; cat "$work/last.err" >&2; exit 2; }
readWhat=$(cat "$work/last.out")
read -r allTime allRss _ < <(measure "$helper" read "$old" "$new" --all-blobs)

printf 'Pair: %s tables, %s columns, %s procedures, %s triggers; %s %% of each kind different\n' \
  "$tables" "$columns" "$procedures" "$triggers" "$diff"
printf 'vorkat-cli, script mode: %8.2f s  peak RSS %7.1f MiB  (%s findings, %s script lines, exit %s)\n' \
  "$cliTime" "$(awk -v k="$cliRss" 'BEGIN { print k / 1024 }')" "$findings" "$scriptLines" "$cliStatus"
printf 'vorkat-cli --complete:   %8.2f s  peak RSS %7.1f MiB  (%s rows, %s catalog queries, exit %s)\n' \
  "$fullTime" "$(awk -v k="$fullRss" 'BEGIN { print k / 1024 }')" "$fullFindings" "$fullQueries" "$fullStatus"
printf 'plain read:              %8.2f s  peak RSS %7.1f MiB  (%s)\n' \
  "$readTime" "$(awk -v k="$readRss" 'BEGIN { print k / 1024 }')" "$readWhat"
printf 'plain read, every blob:  %8.2f s  peak RSS %7.1f MiB\n' \
  "$allTime" "$(awk -v k="$allRss" 'BEGIN { print k / 1024 }')"
printf 'ratio vorkat-cli / plain read: %.1f (best of %s runs each)\n' \
  "$(awk -v a="$cliTime" -v b="$readTime" 'BEGIN { print a / b }')" "$runs"
printf 'ratio --complete / plain read: %.2f; peak RSS --complete / checks: %.2f\n' \
  "$(awk -v a="$fullTime" -v b="$readTime" 'BEGIN { print a / b }')" \
  "$(awk -v a="$fullRss" -v b="$cliRss" 'BEGIN { print a / b }')"
