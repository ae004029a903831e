#!/usr/bin/env bash
# Installs what is missing, builds everything with the tests and runs every
# test; the desktop program's tests run on Qt's offscreen platform, so no
# display is needed.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages
configure
cmake --build "$BUILD_DIR" -j2
cd "$BUILD_DIR"
ctest --output-on-failure -j2
