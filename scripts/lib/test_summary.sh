# The closing count of scripts/test over its CTest runs.  CTest's own closing
# line counts a skipped test as passed; this one counts each test once, as
# passed, failed or skipped, and a configuration that cannot run here counts
# every test of it as skipped, named with why.

passed=0
failed=0
skipped=0
skipped_configurations=""

# Runs COMMAND, a CTest run writing the JUnit file FILE, and adds its counts;
# a run that fails where no test failed (a sanitizer report, CTest itself)
# counts as one failure.  Usage: run_counted FILE COMMAND [ARG...]
run_counted() {
  results=$1
  shift
  failed_before=$failed
  rm -f "$results"
  run_status=0
  "$@" || run_status=$?
  [ -f "$results" ] && count_results "$results"
  if [ "$run_status" != 0 ] && [ "$failed" = "$failed_before" ]; then
    failed=$((failed + 1))
  fi
}

# Adds the counts of a CTest run's JUnit file.  Usage: count_results FILE
count_results() {
  # shellcheck disable=SC2046
  set -- $(python3 -c 'import sys, xml.etree.ElementTree as tree
suite = tree.parse(sys.argv[1]).getroot()
count = lambda name: int(suite.get(name, "0"))
not_run = count("skipped") + count("disabled")
print(count("tests") - count("failures") - not_run, count("failures"), not_run)' "$1")
  passed=$((passed + $1))
  failed=$((failed + $2))
  skipped=$((skipped + $3))
}

# Counts the tests of BUILD labelled LABEL as skipped and says so, now and in
# the summary.  Usage: skip_tests_labelled BUILD LABEL WHAT WHY
skip_tests_labelled() {
  tests=$(ctest --test-dir "$1" -N -L "^$2\$" | sed -n 's/^Total Tests: //p')
  line="skipped: ${tests:-0} tests labelled $2 ($3): $4"
  echo "$line"
  skipped=$((skipped + ${tests:-0}))
  skipped_configurations="$skipped_configurations$line
"
}

# The skipped configurations and the closing line; fails when a test failed.
print_summary() {
  printf '%s' "$skipped_configurations"
  echo "tests: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" = 0 ]
}
