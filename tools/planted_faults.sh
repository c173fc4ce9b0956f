#!/bin/bash
# Plants each fault of tools/planted-faults/ in turn, builds, runs the test
# suite and takes the fault out again, then says which tests caught it. A
# fault no test catches is a gap in the suite. Not run by the suite itself.
#
#   tools/planted_faults.sh [BUILD_DIR] [PATCH...]
#
# BUILD_DIR defaults to build (configured already, see README). With
# LIBS_ONLY=1 only the libraries and the program are rebuilt (every planted
# fault lies in library code, and the test programs load the libraries at run
# time), which is much quicker. Results go to BUILD_DIR/planted-faults/.
# With BINARIES="test_host test_spaces ..." those test programs are run
# directly (quicker than ctest, which starts one process per test) instead
# of the whole suite. CTEST_ARGS is passed to ctest (e.g. "-E ^Plan\\." to leave slow suites out).
# Tests that already fail without a fault (BUILD_DIR/planted-faults/baseline,
# written by a run with BASELINE=1) are not counted as catching one.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
shift || true
case $build in /*) ;; *) build=$root/$build ;; esac
patches=("$@")
[ ${#patches[@]} -eq 0 ] && patches=("$root"/tools/planted-faults/*.patch)
out=$build/planted-faults
mkdir -p "$out"
cd "$root"

targets=()
[ "${LIBS_ONLY:-0}" = 1 ] && targets=(--target zelkahost zelka_module zelka)

# Runs the suite (or the programs named in BINARIES) into the log $1.
runSuite() {
    if [ -n "${BINARIES:-}" ]; then
        for program in $BINARIES; do
            "$build/bin/$program" --gtest_brief=1 2>&1 | sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_]*\.[A-Za-z0-9_]*\).*/  0 - \1 (Failed)/p'
        done | sort -u > "$1"
    else
        (cd "$build" && ctest -j2 --timeout 600 ${CTEST_ARGS:-} > "$1" 2>&1)
    fi
}

failures() {
    grep -E '^[[:space:]]*[0-9]+ - .*\((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)' "$1" |
        sed -E 's/^[[:space:]]*[0-9]+ - //; s/ \(.*//' | sort
}

if [ "${BASELINE:-0}" = 1 ]; then
    cmake --build "$build" -j2 "${targets[@]}" > "$out/baseline.build.log" 2>&1 || exit 1
    runSuite "$out/baseline.ctest.log"
    failures "$out/baseline.ctest.log" > "$out/baseline"
    echo "baseline: $(wc -l < "$out/baseline") tests fail without a fault"
fi
touch "$out/baseline"

status=0
for patch in "${patches[@]}"; do
    name=$(basename "$patch" .patch)
    if ! git apply --check "$patch" 2>/dev/null; then
        echo "$name: does not apply to this tree (the code it changes has moved); update the patch"
        status=1
        continue
    fi
    git apply "$patch"
    # Whatever happens next, the fault is taken out again.
    trap 'git apply -R "$patch"; exit 130' INT TERM
    if cmake --build "$build" -j2 "${targets[@]}" > "$out/$name.build.log" 2>&1; then
        runSuite "$out/$name.ctest.log"
        failures "$out/$name.ctest.log" | comm -23 - "$out/baseline" > "$out/$name.caught"
        count=$(wc -l < "$out/$name.caught")
        if [ "$count" -gt 0 ]; then
            echo "$name: caught by $count tests: $(tr '\n' ' ' < "$out/$name.caught")"
        else
            echo "$name: NOT CAUGHT"
            status=1
        fi
    else
        echo "$name: the build failed with the fault planted (see $out/$name.build.log)"
        status=1
    fi
    git apply -R "$patch"
    trap - INT TERM
done
# Leave the build matching the tree again.
cmake --build "$build" -j2 "${targets[@]}" > "$out/rebuild.log" 2>&1
exit $status
