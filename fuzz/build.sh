#!/bin/sh
# Builds the DXF reader fuzz target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, straight from the host sources (no CMake).
# The sources are copied first, so editing them during the build cannot mix
# two versions in one binary.
# Usage: fuzz/build.sh [output]   (default: build-fuzz/dxf_reader_fuzz)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-fuzz/dxf_reader_fuzz}
mkdir -p "$(dirname "$out")"
snap=$(mktemp -d)
trap 'rm -rf "$snap"' EXIT
mkdir -p "$snap/host" "$snap/fuzz"
cp -r "$root/host/db" "$root/host/dxf" "$root/host/ge" "$snap/host/"
cp "$root/fuzz/dxf_reader_fuzz.cpp" "$snap/fuzz/"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$snap" -I"$snap/host" \
    "$snap/fuzz/dxf_reader_fuzz.cpp" \
    $(find "$snap/host" -name '*.cpp') \
    -o "$out"
echo "$out"
