#!/usr/bin/env bash
# Installs what building and running needs when it is missing, builds the
# desktop program and zantro-cli, and starts the desktop program (arguments
# are passed on: a ".fir" file opens it). Without a display it says so and
# runs a demo design with zantro-cli instead: the default 63-tap Hamming
# lowpass (fs 8000 Hz, corner 1000 Hz), then a 31-tap bandpass, printing its
# coefficients.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages "${RUN_PACKAGES[@]}"
configure --without-tests
cmake --build "$BUILD_DIR" -j2 --target zantro zantro-cli

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$BUILD_DIR/app/zantro" "$@"
fi

CLI="$BUILD_DIR/cli/zantro-cli"
echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the desktop program"
echo "$BUILD_DIR/app/zantro cannot start. zantro-cli drives the same engine without one:"
echo "== zantro-cli --json (default lowpass; design summary)"
"$CLI" --json | grep -E '^  "(design_valid|fir_type|taps|gain|ir_peak|scale_text|magnitude_caption|design_seconds)"'
echo "== zantro-cli --type bandpass --taps 31 --f1 1000 --f2 2000 --window blackman"
"$CLI" --type bandpass --taps 31 --f1 1000 --f2 2000 --window blackman
