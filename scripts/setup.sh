# Shared by run.sh, test.sh, fuzz.sh and package.sh (sourced): installs the
# Debian packages a command needs when one is missing, and configures the
# build directory the same way for all of them, so each reuses what another
# built.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${ZANTRO_BUILD_DIR:-$ROOT/build-ci}"
SANITIZE_DIR="$BUILD_DIR-clang-sanitize"

# Building and running the programs (run.sh).
RUN_PACKAGES=(
    build-essential
    cmake
    ccache
    libcli11-dev
    libfftw3-dev
    nlohmann-json3-dev
    libfplll-dev
    fonts-liberation
    qt6-base-dev
    qt6-charts-dev
    qt6-svg-dev
    libqt6opengl6-dev
)

# Building the Python module besides (test.sh, package.sh).
PYTHON_PACKAGES=(
    pybind11-dev
    python3-dev
    python3-numpy
)

# The tests besides (test.sh, fuzz.sh): the Python module's tests, the
# sanitizer build and the fuzz targets, the cross-checks, the printed
# reports, the exported HDL (simulated, synthesised and linted), the
# comma-decimal locale; and the benchmarks'
# library.
TEST_PACKAGES=(
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    python3-pytest
    python3-scipy
    clang
    libclang-rt-14-dev
    poppler-utils
    ghdl
    iverilog
    yosys
    verilator
    locales
)

# Building and checking the Debian package besides (package.sh).
PACKAGE_PACKAGES=(
    file
    lintian
    appstream
)

# Installs those of the named packages that are missing.
install_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# A comma-decimal locale for the test that proves number text ignores it.
generate_locale() {
    if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
        return 0
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    if grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen; then
        $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen > /dev/null
    fi
    $sudo locale-gen
}

# Debian's hardening flags (dpkg-buildflags, from the source tree, so that
# -ffile-prefix-map names it; without -g: the packaged programs are
# stripped). Sets HARDENING_CXXFLAGS and HARDENING_LDFLAGS.
hardening_flags() {
    local flag
    HARDENING_CXXFLAGS=()
    for flag in $(cd "$ROOT" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) \
        $(cd "$ROOT" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS); do
        [ "$flag" = -g ] || HARDENING_CXXFLAGS+=("$flag")
    done
    HARDENING_LDFLAGS="$(cd "$ROOT" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
}

# The one configuration of $BUILD_DIR: GCC with warnings as errors and
# Debian's hardening flags, position-independent code (the Python module
# links the engine's layers), the desktop program. The tests, the Python
# module and the benchmark programs (built so that they keep compiling, not
# run) are built from the first test.sh on (--without-tests leaves them out
# of a new build directory, so run.sh needs no test packages). run.sh, test.sh and
# package.sh build here with the same flags: the tests run the objects the
# package holds, each command reuses what another built, and through ccache
# another clone does too.
configure() {
    local tests=ON
    if [ "${1:-}" = --without-tests ]; then
        shift
        if ! grep -qs '^ZANTRO_BUILD_TESTS:BOOL=ON' "$BUILD_DIR/CMakeCache.txt"; then
            tests=OFF
        fi
    fi
    hardening_flags
    cmake -S "$ROOT" -B "$BUILD_DIR" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
        -DCMAKE_CXX_FLAGS="${HARDENING_CXXFLAGS[*]}" \
        -DCMAKE_EXE_LINKER_FLAGS="$HARDENING_LDFLAGS" \
        -DCMAKE_MODULE_LINKER_FLAGS="$HARDENING_LDFLAGS" \
        -DZANTRO_BUILD_GUI=ON \
        -DZANTRO_BUILD_TESTS="$tests" \
        -DZANTRO_BUILD_PYTHON="$tests" \
        -DZANTRO_BUILD_BENCH="$tests" \
        -DZANTRO_BUILD_FUZZ=OFF \
        -DZANTRO_WARNINGS_AS_ERRORS=ON \
        "$@"
}

# The Clang build of the Qt-free engine, zantro-cli and their tests with
# the address and undefined-behaviour sanitizers, and the fuzz targets.
# Without precompiled headers: CMake hands Clang the header's absolute path
# in -Xclang arguments, which ccache cannot make relative, so no test object
# of another clone would be served from the cache.
configure_sanitize() {
    cmake -S "$ROOT" -B "$SANITIZE_DIR" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON \
        -DZANTRO_SANITIZE=ON \
        -DZANTRO_BUILD_GUI=OFF \
        -DZANTRO_BUILD_TESTS=ON \
        -DZANTRO_BUILD_BENCH=OFF \
        -DZANTRO_BUILD_FUZZ=ON \
        "$@"
}
