# The stage bookkeeping of scripts/test.sh: headers, outcomes, and the counts of the ctest and
# fuzz runs for the summary at the end.

stage_lines=()
tests_passed=0
tests_failed=0
any_failed=0

# run_stage NAME TITLE FUNCTION: runs the function under a header and records its outcome.
run_stage() {
  local name=$1 title=$2 function=$3 start status
  echo
  echo "================ $title"
  start=$SECONDS
  stage_result=""
  "$function"
  status=$?
  if [ "$status" -ne 0 ]; then
    any_failed=1
    # A stage that failed before it counted anything (a build that broke) is one failure.
    if [ -z "$stage_result" ]; then
      tests_failed=$((tests_failed + 1))
      stage_result="failed before its tests ran"
    fi
  fi
  stage_lines+=("$(printf '%-5s %-4s %4d s  %s' "$name" "$([ "$status" -eq 0 ] && echo ok || echo FAIL)" \
    $((SECONDS - start)) "$stage_result")")
}

# run_ctest FOLDER NAME ARGS...: ctest in the folder; its summary line is kept for the end.
run_ctest() {
  local folder=$1 log status summary passed failed total
  shift 2
  log=$(mktemp)
  (cd "$folder" && ctest "$@") 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  rm -f "$log"
  if [ -n "$summary" ]; then
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
    passed=$((total - failed))
    tests_passed=$((tests_passed + passed))
    tests_failed=$((tests_failed + failed))
    stage_result=$summary
  elif [ "$status" -eq 0 ]; then
    # ctest found nothing to run: a filter that matches no test is a fault of this script.
    status=1
  fi
  return "$status"
}

# suppressions TOOL: the option naming the committed suppression file of the tool, if any.
suppressions() {
  local file="$root/scripts/sanitizer/$1.supp"
  [ -f "$file" ] && echo "suppressions=$file"
}

# count_fuzz_targets LOG: every target of the fuzz run counts as a passed or a failed test.
count_fuzz_targets() {
  local targets crashed
  targets=$(grep -c '^== ' "$1")
  crashed=$(grep '^Crashed: ' "$1" | sed -E 's/^Crashed: ([^(]*)\(.*/\1/' | wc -w)
  [ "$targets" -gt 0 ] || return 0
  tests_passed=$((tests_passed + targets - crashed))
  tests_failed=$((tests_failed + crashed))
  stage_result="$((targets - crashed)) of $targets fuzz targets ran without a crash"
}

print_summary() {
  echo
  echo "================ Summary"
  local line
  for line in "${stage_lines[@]}"; do echo "$line"; done
  echo "$tests_passed passed, $tests_failed failed"
  exit "$any_failed"
}
