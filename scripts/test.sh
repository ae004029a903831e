#!/usr/bin/env bash
# Installs what is missing, builds everything with the tests and the Python
# module (GCC, warnings as errors, in the build directory run.sh uses) and
# runs every test, the module's with pytest; the desktop program's tests run
# on Qt's offscreen platform, so no display is needed. Then builds the Qt-free engine, zantro-cli, their tests and the
# fuzz targets once more with Clang and the address and undefined-behaviour
# sanitizers, and runs those tests, each fuzz target replaying its corpus.
# The scipy cross-checks run in the first build only: they compare numbers,
# which the sanitizers do not change, and they are a third of the second
# build's test time.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages "${RUN_PACKAGES[@]}" "${PYTHON_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
generate_locale

configure
cmake --build "$BUILD_DIR" -j2
(cd "$BUILD_DIR" && ctest --output-on-failure --no-tests=error -j2)

configure_sanitize
cmake --build "$SANITIZE_DIR" -j2
(cd "$SANITIZE_DIR" && ctest --output-on-failure --no-tests=error -j2 \
    -E '^(AnalysisCrossCheck|RemezCrossCheck|ToSpecCrossCheck)\.')
