#!/bin/sh
# Builds the DXF reader fuzz target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, straight from the host sources (no CMake).
# Usage: fuzz/build.sh [output]   (default: build-fuzz/dxf_reader_fuzz)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-fuzz/dxf_reader_fuzz}
mkdir -p "$(dirname "$out")"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" -I"$root/host" \
    "$root/fuzz/dxf_reader_fuzz.cpp" \
    $(find "$root/host/db" "$root/host/dxf" "$root/host/ge" -name '*.cpp') \
    -o "$out"
echo "$out"
