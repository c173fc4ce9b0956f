#!/usr/bin/env bash
# Installs the Debian packages Zelka needs to build and test, when missing,
# then configures and builds into build/. Sourced by example.sh and test.sh.
set -euo pipefail

ZELKA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZELKA_BUILD="${ZELKA_BUILD:-$ZELKA_ROOT/build}"

# Build tools and libraries. python3-ezdxf is the independent DXF reader the
# tests check against; xsltproc applies the log stylesheets in their tests;
# locales lets a test prove number conversions ignore the process locale;
# postgresql is the throwaway server of the database tests and the main job,
# reached through the ODBC driver manager (unixodbc, unixodbc-dev) and the
# PostgreSQL ODBC driver (odbc-postgresql).
# The plot engine draws with cairo (libcairo2-dev) and writes JPEG with
# libjpeg (libjpeg-dev); texts plot with the DejaVu and Liberation fonts
# (fonts-dejavu-core, fonts-liberation2). Its tests read PDFs with
# poppler-utils and compare with ezdxf's drawing add-on on matplotlib
# (python3-matplotlib). The tests read the oracles' JSON with nlohmann-json3-dev.
ZELKA_PACKAGES=(
  g++ cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev nlohmann-json3-dev
  libpugixml-dev
  python3 python3-ezdxf
  xsltproc locales
  postgresql unixodbc unixodbc-dev odbc-postgresql
  libcairo2-dev libjpeg-dev fonts-dejavu-core fonts-liberation2
  poppler-utils python3-matplotlib
)

zelka_install_packages() {
  local missing=()
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

zelka_build() {
  cmake -S "$ZELKA_ROOT" -B "$ZELKA_BUILD" -G Ninja -DCMAKE_BUILD_TYPE="${ZELKA_BUILD_TYPE:-RelWithDebInfo}" "$@"
  cmake --build "$ZELKA_BUILD" -j "$(nproc)"
}
