#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
zelka_install_packages "${ZELKA_PACKAGES[@]}"
zelka_build
cd "$ZELKA_BUILD"
ctest --output-on-failure -j "$(nproc)" --timeout 600
