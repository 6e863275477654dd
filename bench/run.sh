#!/usr/bin/env bash
# bench/run.sh [options]: builds a large Old/New pair with isql-fb, then times vorkat-cli in
# script mode on it against one plain read of the same system tables through the client
# library, and prints both times, their ratio and the peak memory (RSS) of both; the same for
# vorkat-cli --complete, with its number of catalog queries.
#   --tables N       tables (2000)            --columns N     columns in all (40000)
#   --procedures N   procedures (500)         --triggers N    triggers (1000)
#   --domains N      domains (40)             --generators N  generators (100)
#   --exceptions N   exceptions (50)          --diff P        per cent of each kind that differs (5)
#   --runs N         timed runs of each, the best counts (3)
#   --build DIR      the build folder holding vorkat-cli and bench/vorkat-bench (build)
# The pair is kept in DIR/bench and made again only when the parameters change.
set -euo pipefail
cd "$(dirname "$0")/.."

tables=2000 columns=40000 procedures=500 triggers=1000 domains=40 generators=100 exceptions=50
diff=5 runs=3 build=build
while [ $# -gt 0 ]; do
  case $1 in
    --tables|--columns|--procedures|--triggers|--domains|--generators|--exceptions|--diff|--runs|--build)
      [ $# -ge 2 ] || { echo "bench: $1 needs a value" >&2; exit 2; }
      declare "${1#--}=$2"; shift 2 ;;
    *) echo "bench: unknown option $1" >&2; exit 2 ;;
  esac
done

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
