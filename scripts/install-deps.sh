#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when some are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libsqlite3-dev libpugixml-dev mdbtools-dev
    locales  # the German locale that the Access reader is tested under is built from it
    qt6-base-dev
    fonts-liberation2  # Liberation Sans: the Qt windows' dialog font, with Arial's metrics
    libgtest-dev
    libxml2-utils
    clang-format  # the formatting check of scripts/test.sh
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
