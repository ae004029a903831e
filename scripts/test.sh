#!/usr/bin/env bash
# Installs what is missing, builds everything with the tests and runs every
# test; the desktop program's tests run on Qt's offscreen platform, so no
# display is needed. Then builds the Qt-free engine, zantro-cli and their
# tests once more with Clang and the address and undefined-behaviour
# sanitizers, and runs them. The GCC build treats warnings as errors.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages
generate_locale
configure -DZANTRO_WARNINGS_AS_ERRORS=ON
cmake --build "$BUILD_DIR" -j2
(cd "$BUILD_DIR" && ctest --output-on-failure -j2)

# The second build: no desktop program, no benchmarks, no fuzz targets (the
# first build ran them).
engine_build() {
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DZANTRO_BUILD_GUI=OFF \
        -DZANTRO_BUILD_TESTS=ON -DZANTRO_BUILD_BENCH=OFF -DZANTRO_BUILD_FUZZ=OFF "$@"
    cmake --build "$dir" -j2
    (cd "$dir" && ctest --output-on-failure -j2)
}
engine_build "$BUILD_DIR-clang-sanitize" -DCMAKE_CXX_COMPILER=clang++ -DZANTRO_SANITIZE=ON
