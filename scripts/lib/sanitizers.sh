# The sanitizer build, shared by scripts/test and scripts/fuzz: clang with
# AddressSanitizer and UndefinedBehaviorSanitizer on every target (the
# stand-in RFC library and rfcsim too) and the libFuzzer targets of tests/fuzz.

sanitize_dir=build-sanitize

# Configures and builds the sanitizer build: build_sanitized JOBS [TARGET]
build_sanitized() {
  CC=clang CXX=clang++ cmake -S . -B "$sanitize_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENMAREL_FUZZ=ON -DQUENMAREL_WARNINGS_AS_ERRORS=ON
  if [ $# -gt 1 ]; then
    cmake --build "$sanitize_dir" -j "$1" --target "$2"
  else
    cmake --build "$sanitize_dir" -j "$1"
  fi
}

# Exports the options under which a report ends the process with exit code 86,
# which none of our programs uses; with a directory, each report is written
# there as well, so that a report in a process whose exit nobody checks (rfcsim
# stopped by a test) is still found.  Usage: export_sanitizer_options [DIR]
export_sanitizer_options() {
  common="halt_on_error=1:exitcode=86${1:+:log_path=$1/report}"
  export ASAN_OPTIONS="$common:detect_leaks=1:abort_on_error=0"
  export UBSAN_OPTIONS="$common:print_stacktrace=1"
}

# Runs every test of the sanitizer build, with any further CTest arguments;
# fails when a test fails or any process left a report.
# Usage: test_sanitized JOBS [CTEST_ARGUMENT...]
test_sanitized() {
  reports=$PWD/$sanitize_dir/sanitizer-reports
  rm -rf "$reports"
  mkdir -p "$reports"
  sanitize_jobs=$1
  shift
  status=0
  (export_sanitizer_options "$reports" && ctest --test-dir "$sanitize_dir" --output-on-failure -j "$sanitize_jobs" "$@") || status=$?
  for report in "$reports"/*; do
    [ -e "$report" ] || continue
    echo "=== sanitizer report $report" >&2
    cat "$report" >&2
    status=1
  done
  return "$status"
}
