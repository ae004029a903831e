# Shared by run.sh and test.sh (sourced): installs the Debian packages the
# build needs when one is missing, then configures the build directory.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${ZANTRO_BUILD_DIR:-$ROOT/build-ci}"

PACKAGES=(
    build-essential
    cmake
    ccache
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    libcli11-dev
    nlohmann-json3-dev
    fonts-liberation
    qt6-base-dev
    qt6-charts-dev
    qt6-svg-dev
    libqt6opengl6-dev
    python3-scipy
    pybind11-dev
    python3-dev
    python3-numpy
    python3-pytest
    clang
    libclang-rt-14-dev
    poppler-utils
    file
    lintian
    appstream
    ghdl
    iverilog
    yosys
    locales
)

install_packages() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}"; do
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

configure() {
    cmake -S "$ROOT" -B "$BUILD_DIR" \
        -DCMAKE_BUILD_TYPE=Release \
        -DZANTRO_BUILD_GUI=ON \
        -DZANTRO_BUILD_TESTS=ON \
        -DZANTRO_BUILD_BENCH=ON \
        "$@"
}
