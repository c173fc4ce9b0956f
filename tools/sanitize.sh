#!/usr/bin/env bash
# Builds Zelka with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (or $ZELKA_SANITIZE_BUILD) and runs the whole test suite in it.
# Exits non-zero when a test fails or when any process of the run - a test
# program, or a zelka or zelka-batch it started - wrote a sanitizer report,
# even one whose exit status the test expected anyway.
#
#   tools/sanitize.sh [extra cmake arguments]
#
# JOBS sets the parallel build and test jobs (default: the number of cores).
# The reports land in build-asan/sanitizer-reports/ (one file per process).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZELKA_SANITIZE_BUILD:-$root/build-asan}"
jobs="${JOBS:-$(nproc)}"

# -O1 with line tables only: about half the compile time of -O2 -g, and the
# reports still name the file and line of every frame.
flags="-O1 -g1 -DNDEBUG"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELKA_SANITIZE=ON \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" "$@"
cmake --build "$build" -j "$jobs"

reports="$build/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"

# Leaks are checked at every exit; the only suppressions are the process-long
# caches of third-party libraries (tools/lsan.supp). Undefined behaviour
# stops the process (the build does not recover from it). Every report also
# goes to a file of its own, so a report from a child process cannot pass
# unseen.
export CI=true
export ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
# Entities are freed one close after their last close instead of thousands
# later, so that code using an object after closing it reads freed memory
# in the suite's small drawings too, where AddressSanitizer sees it.
export ZELKA_CLOSED_OBJECTS_BUILT=1

status=0
(cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 1800) || status=$?

found=$(find "$reports" -type f | sort)
if [ -n "$found" ]; then
  echo "Sanitizer reports:" >&2
  for f in $found; do
    echo "==== $f" >&2
    cat "$f" >&2
  done
  status=1
fi
if [ "$status" -eq 0 ]; then
  echo "Sanitizer run clean: every test passed and no process wrote a report."
fi
exit "$status"
