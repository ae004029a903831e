#!/usr/bin/env bash
# Installs what is missing, builds zantro-cli and runs a demo design: the
# default 63-tap Hamming lowpass (fs 8000 Hz, corner 1000 Hz), then a
# 31-tap bandpass, printing its coefficients.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages
configure
cmake --build "$BUILD_DIR" -j2 --target zantro-cli

CLI="$BUILD_DIR/cli/zantro-cli"
echo "== zantro-cli --json (default lowpass; design summary)"
"$CLI" --json | grep -E '^  "(design_valid|fir_type|taps|gain|ir_peak|scale_text|magnitude_caption|design_seconds)"'
echo "== zantro-cli --type bandpass --taps 31 --f1 1000 --f2 2000 --window blackman"
"$CLI" --type bandpass --taps 31 --f1 1000 --f2 2000 --window blackman
