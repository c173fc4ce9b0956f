#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zelka's main job on the bundled example.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
zelka_install_packages "${ZELKA_PACKAGES[@]}"
zelka_build
"$ZELKA_BUILD/bin/zelka" --version
