# Runs the stages of a long command, several at once, each with its own log; sourced by test.sh.
# A stage is a command run as `stage NAME COMMAND...`: its output goes to $logs/NAME.log, its
# result and time to $logs/NAME.result; `stage` itself always returns 0 (call it in no `if` or
# `||`: the command would run without `set -e`), and `passed NAME` tells the result. Inside it, `skip REASON` ends it as skipped and `await
# NAME...` waits for other stages, skipping this one unless they passed. `summary` prints the
# table, the tails of failed stages' logs and the closing count, and fails if any stage failed.

logs=${QUARN_LOGS:-$PWD/test-logs}
rm -rf "$logs"
mkdir -p "$logs"
stages_start=$SECONDS

clock() { printf '%02d:%02d' $(((SECONDS - stages_start) / 60)) $(((SECONDS - stages_start) % 60)); }

stage() {
  local name=$1 start=$SECONDS rc=0 result cpu
  shift
  echo "$(clock) $name: started"
  # Run in the background and waited for, so that `set -e` holds inside the command; `times`
  # then gives the processor time of all it waited for.
  (
    set +e
    (STAGE=$name && set -e && "$@")
    code=$?
    times >"$logs/$name.times"
    exit "$code"
  ) >"$logs/$name.log" 2>&1 </dev/null &
  wait $! || rc=$?
  if [ -e "$logs/$name.skip" ]; then
    result="skipped: $(cat "$logs/$name.skip")"
  elif [ "$rc" = 0 ]; then
    result=passed
  else
    result="FAILED (exit $rc)"
    {
      echo "$(clock) $name: FAILED; the end of $logs/$name.log:"
      tail -n 40 "$logs/$name.log" | sed 's/^/    /'
    } >"$logs/$name.tail"
    cat "$logs/$name.tail"
  fi
  # The second line of `times`, "1m2.5s 0m3.0s": the user and system time of the children.
  cpu=$(sed -n 2p "$logs/$name.times" | tr 'ms' '  ' | awk '{printf "%.0f", $1 * 60 + $2 + $3 * 60 + $4}')
  printf '%s\t%s\t%s\t%s\n' "$name" $((SECONDS - start)) "$cpu" "$result" >"$logs/$name.result"
  echo "$(clock) $name: $result ($((SECONDS - start)) s)"
}

passed() { [ "$(cut -f4 "$logs/$1.result")" = passed ]; }

skip() {
  echo "$*" >"$logs/$STAGE.skip"
  echo "SKIPPED: $*"
  exit 0
}

await() {
  local name
  for name in "$@"; do
    after "$name"
    passed "$name" || skip "$name $(cut -f4 "$logs/$name.result" | sed 's/^skipped:/was skipped:/')"
  done
}

# after NAME...: waits until those stages have ended, whatever their result.
after() {
  local name
  for name in "$@"; do
    while [ ! -e "$logs/$name.result" ]; do sleep 1; done
  done
}

# The closing count adds up what each stage's runner counted: CTest's "N tests failed out of M",
# and the plain "N passed, N failed" of the scenario scripts.
summary() {
  local order=("$@") name passed=0 failed=0 failures=0 line cpu result
  echo
  printf '%-18s %8s %8s  %s\n' stage seconds 'cpu s' result
  for name in "${order[@]}"; do
    if [ -e "$logs/$name.result" ]; then
      IFS=$'\t' read -r _ line cpu result <"$logs/$name.result"
      printf '%-18s %8s %8s  %s\n' "$name" "$line" "$cpu" "$result"
      [[ $result != FAILED* ]] || failures=$((failures + 1))
    else
      printf '%-18s %8s %8s  %s\n' "$name" - - "FAILED (did not finish)"
      failures=$((failures + 1))
    fi
    [ -e "$logs/$name.log" ] || continue
    while read -r line; do
      if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[1]))
        passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
      elif [[ $line =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
        passed=$((passed + BASH_REMATCH[1]))
        failed=$((failed + BASH_REMATCH[2]))
      fi
    done < <(grep -a -E 'tests failed out of|^[0-9]+ passed, [0-9]+ failed$' "$logs/$name.log")
  done
  printf '%-18s %8s\n' total $((SECONDS - stages_start))
  echo "logs: $logs"
  [ "$failures" = 0 ] || failed=$((failed > failures ? failed : failures))
  echo
  cat "$logs"/*.tail 2>/dev/null || true
  echo "test.sh: $passed passed, $failed failed"
  [ "$failures" = 0 ]
}
