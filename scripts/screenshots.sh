#!/usr/bin/env bash
# Starts the desktop program on a virtual X display (Xvfb) and drives it from
# the keyboard as a user would, saving PNG screenshots of the main window
# after designs and of every dialog into a folder (default
# build-ci/screenshots, or the first argument), and of the analysis window
# after a Kaiser lowpass, with it held as the reference under a Hamming
# lowpass, and after a Remez band-pass, of File > Export...
# (cmsis-q15 and c-fixed) after the band-pass, of Extras > Design to
# Requirement with the form after it and a search cancelled in its progress
# dialog, of Extras > More Methods (a
# least-squares lowpass, a root-raised-cosine pulse) and of Extras > Rate
# Change with the analysis of its alias bands and its export as a CMSIS-DSP
# decimator, a half-band filter with its analysis, and a decimator designed
# to a requirement with its message and analysis; a refused Design over the previous plots, Edit > Undo, Copy
# Coefficients and the Edit menu (whole-screen shots, so the window's place
# on the screen shows). The virtual screen is ZANTRO_SCREENSHOT_SIZE
# (default 1400x1100, e.g. 1366x768 or 1920x1080); a PNG's name then ends in
# the size. Installs what is missing
# (the build's packages, then xvfb, xdotool, x11-apps and imagemagick) and
# builds the program first.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_packages "${RUN_PACKAGES[@]}" xvfb xdotool x11-apps imagemagick
# ZANTRO_SCREENSHOT_WM=openbox runs the program under that window manager,
# so the whole-screen shots show the title bars and frames.
[ -n "${ZANTRO_SCREENSHOT_WM:-}" ] && install_packages "$ZANTRO_SCREENSHOT_WM"
if [ ! -x "$BUILD_DIR/app/zantro" ]; then
    configure --without-tests
    cmake --build "$BUILD_DIR" -j2 --target zantro
fi

PROGRAM="$BUILD_DIR/app/zantro"
OUT="$(mkdir -p "${1:-$BUILD_DIR/screenshots}" && cd "${1:-$BUILD_DIR/screenshots}" && pwd)"
DISPLAY_NUMBER="${ZANTRO_SCREENSHOT_DISPLAY:-:93}"
SUFFIX=""
[ -n "${ZANTRO_SCREENSHOT_SIZE:-}" ] && SUFFIX="-$ZANTRO_SCREENSHOT_SIZE"

WORK="$(mktemp -d)"
XVFB_PID=""
APP_PID=""
WM_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

SCREEN_SIZE="${ZANTRO_SCREENSHOT_SIZE:-1400x1100}"
Xvfb "$DISPLAY_NUMBER" -screen 0 "${SCREEN_SIZE}x24" -dpi 96 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY="$DISPLAY_NUMBER"
sleep 1
if [ -n "${ZANTRO_SCREENSHOT_WM:-}" ]; then
    "$ZANTRO_SCREENSHOT_WM" >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    sleep 1
fi

# A private home, so the run neither reads nor changes the user's settings.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$WORK"
"$PROGRAM" >"$WORK/zantro.log" 2>&1 &
APP_PID=$!

# The window with this exact title, once it is mapped.
window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
settle() { sleep "${1:-0.6}"; }
shot() {  # title, file
    local id
    id="$(window "$1")"
    settle 0.4
    xwd -silent -id "$id" | convert xwd:- "$OUT/$2$SUFFIX.png"
    echo "saved $OUT/$2$SUFFIX.png ($1)"
}
screen_shot() {  # file: the whole screen, menus and every window on it
    settle 0.4
    xwd -silent -root | convert xwd:- "$OUT/$1$SUFFIX.png"
    echo "saved $OUT/$1$SUFFIX.png (screen)"
}
keys() { xdotool key --delay 40 "$@"; }
type_text() { xdotool type --delay 40 "$1"; }

MAIN="Untitled - Zantro"
main_id="$(window "$MAIN")"
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 1

# The form's tab order follows its template: 0 Filter Type, 1 taps, 2 Design
# Method, 3 Window Type, 4 scaling, 5 Sampling Rate, 6 First Corner, 7 Second
# Corner, 8 sin(x)/x, 9 scale, 10 Target Filter, 11 Design, 12 Read File,
# 13 Make File, 14 Close. The form starts with the focus on the first, and a
# closed dialog gives it back to the control that had it.
CONTROLS=15
CURRENT=0
focus_control() {  # tab position
    local tabs=$(( ($1 - CURRENT + CONTROLS) % CONTROLS )) i
    for ((i = 0; i < tabs; i++)); do keys Tab; done
    CURRENT=$1
}
choose() {  # tab position, entry index of a drop-down list
    focus_control "$1"
    keys Home
    local i
    for ((i = 0; i < $2; i++)); do keys Down; done
}
press() { focus_control "$1"; keys space; }
design() { press 11; }

shot "$MAIN" main-start

# The default 63-tap Hamming lowpass, by F5 from the first field.
keys F5
settle 1.5
shot "$MAIN" main-design-lowpass

# Kaiser window: its dialog on the next Design.
choose 3 5
design
shot "Kaiser window shape factor" dialog-132-kaiser
keys Return
settle 1

# Dolph-Chebyshev window.
choose 3 4
design
shot "Dolph-Chebyshev Window" dialog-131-dolph-chebyshev
keys Return
settle 1

# A differentiator with a Hamming window.
choose 3 2
choose 0 5
design
shot "Differentiator" dialog-133-differentiator
keys Return
settle 1
shot "$MAIN" main-design-differentiator

# A Gaussian edge, method "direct".
choose 0 6
choose 2 3
design
shot "Variance" dialog-135-variance
keys Return
settle 1

# Remez: the target filter "lowpass odd 63" loads its band table.
focus_control 10
keys alt+Down
settle 0.5
keys Down Down Down Return
settle 1
design
shot "Remez Exchange Parameters" dialog-140-remez
keys Return
# The design reports its pass count.
shot "Zantro" message-remez-passes
keys Return
settle 1
shot "$MAIN" main-design-remez

# Make File and Read File.
press 13
shot "Make File" dialog-136-make-file
keys Escape
settle 0.5
press 12
shot "Select a file" dialog-read-file
keys Escape
settle 0.5

# A refused entry: 2000 taps. The message moves the focus to the taps.
focus_control 1
keys ctrl+a
type_text 2000
design
shot "Zantro" message-taps-range
keys Return
settle 0.5
CURRENT=1
# The plots still show the Remez design: they and the status bar say so.
shot "$MAIN" main-refused-previous-design
keys ctrl+a
type_text 63

# Edit > Undo goes back to the design before the Remez one; Copy
# Coefficients (Ctrl+Shift+C) then puts its taps on the clipboard.
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
keys alt+e
settle 1.5
screen_shot screen-edit-menu
keys u
settle 1
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
keys ctrl+shift+c
settle 0.5
shot "$MAIN" main-undo-copy-coefficients
screen_shot screen-main

# The About box and the user guide.
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
keys alt+h
settle 0.5
keys a
shot "About Zantro" dialog-100-about
keys Return
settle 0.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
keys F1
shot "Zantro Help" help-guide
keys Escape
settle 0.5

# Extras > Analysis... after a 101-tap Kaiser (beta 10) lowpass at 48 kHz, corner 6 kHz; then
# the window follows a Remez band-pass, the target filter "bandpass even 50".
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
choose 0 0
choose 2 0
choose 3 5
for field in "1 101" "5 48000" "6 6000"; do
    set -- $field
    focus_control "$1"
    keys ctrl+a
    type_text "$2"
done
design
window "Kaiser window shape factor" >/dev/null
keys ctrl+a
type_text 10
keys Return
settle 1.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
keys alt+x
settle 0.5
keys a
settle 2
shot "Analysis" analysis-kaiser-lowpass
screen_shot screen-analysis
# Hold as Reference (Alt+R there), then a Hamming window over the same
# lowpass: drawn over the Kaiser design's curves, both in the table.
xdotool windowfocus --sync "$(window Analysis)" 2>/dev/null || true
keys alt+r
settle 1
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 0.5
choose 3 2
design
settle 2
shot "Analysis" analysis-reference-overlay
xdotool windowfocus --sync "$(window Analysis)" 2>/dev/null || true
keys alt+r
settle 1
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 0.5
focus_control 10
keys alt+Down
settle 0.5
keys Home Down Down Down Down Down Return
settle 1
# Its band table is for 8 kHz; the preset keeps the rate typed above.
focus_control 5
keys ctrl+a
type_text 8000
design
window "Remez Exchange Parameters" >/dev/null
keys Return
window "Zantro" >/dev/null
keys Return
settle 2
shot "Analysis" analysis-remez-bandpass
xdotool windowfocus --sync "$(window Analysis)" 2>/dev/null || true
keys Escape
settle 0.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true

# File > Export... for the Remez band-pass: the dialog opens on cmsis-q15 and
# previews the header's comment; then c-fixed, whose word length it takes.
keys alt+f
settle 0.5
keys e
shot "Export" dialog-export-cmsis-q15
keys Down Down
settle 1
shot "Export" dialog-export-c-fixed
keys Escape
settle 0.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
# Extras > Design to Requirement...: the 8 kHz lowpass 0-1000 Hz with
# 0.1 dB ripple and 60 dB from 1200 Hz by Remez exchange in Q15. The dialog
# opens on the first edge; the filter type is two fields back.
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
keys alt+x
settle 0.5
keys r
window "Design to Requirement" >/dev/null
settle 0.5
keys shift+Tab shift+Tab Home Tab Tab
for value in 1000 1200 - - 0.1 60; do
    [ "$value" != - ] && { keys ctrl+a; type_text "$value"; }
    keys Tab
done
keys Home Down Tab Home Down Down
shot "Design to Requirement" dialog-141-design-to-requirement
keys Return
# The ordinary Design follows: its band dialog holds the table found.
shot "Remez Exchange Parameters" dialog-140-requirement-bands
keys Return
window "Zantro" >/dev/null
keys Return
settle 1
shot "Zantro" message-requirement
keys Return
settle 1.5
shot "$MAIN" main-design-to-requirement
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 0.5
# Again, with a 50 Hz transition by the Kaiser window in Q7, which no length
# reaches: the search of seconds shows its progress; Escape cancels it and
# the dialog returns with what was typed.
keys alt+x
settle 0.5
keys r
window "Design to Requirement" >/dev/null
settle 0.5
keys Tab ctrl+a
type_text 1050
keys Tab Tab Tab Tab Tab Home Tab Home Down Return
settle 0.8
shot "Design to Requirement" dialog-requirement-progress
xdotool windowfocus --sync "$(window "Design to Requirement")" 2>/dev/null || true
keys Escape
window "Zantro" >/dev/null
shot "Zantro" message-requirement-cancelled
keys Return
settle 1
shot "Design to Requirement" dialog-141-after-cancel
keys Escape
settle 0.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 0.5

# Extras (opened with the mouse): the entry
# with this position, 1 Window .. 5 More Methods.
extras() {
    xdotool windowfocus --sync "$main_id" 2>/dev/null || true
    xdotool mousemove --window "$main_id" 128 8 click 1
    settle 0.5
    local i
    for ((i = 0; i < $1; i++)); do keys Down; done
    keys Return
}

# Extras > More Methods...: least squares on the band table the requirement
# left (the band dialog follows the method's), then a root-raised-cosine
# pulse, roll-off 0.35, 8 samples per symbol over 8 symbols.
extras 5
window "More Methods" >/dev/null
settle 0.5
shot "More Methods" dialog-143-more-methods
keys Return
shot "Remez Exchange Parameters" dialog-140-least-squares-bands
keys Return
settle 1.5
shot "$MAIN" main-design-least-squares
extras 5
window "More Methods" >/dev/null
settle 0.5
keys Home Down Down
shot "More Methods" dialog-143-more-methods-pulse
keys Return
settle 1.5
shot "$MAIN" main-design-pulse

# Extras > Rate Change...: a decimator by 4 at 48 kHz, pass band to 2 kHz,
# 41 taps on the alias bands; then Extras > Analysis... shades them and
# draws the folded response.
extras 4
window "Rate Change" >/dev/null
settle 0.5
keys Tab
for value in 4 48000 2000 41; do
    keys ctrl+a
    type_text "$value"
    keys Tab
done
keys space
shot "Rate Change" dialog-142-rate-change
keys Return
window "Remez Exchange Parameters" >/dev/null
keys Return
window "Zantro" >/dev/null
keys Return
settle 1.5
shot "$MAIN" main-design-rate-change
extras 2
settle 2
shot "Analysis" analysis-rate-change-alias-bands
xdotool windowfocus --sync "$(window Analysis)" 2>/dev/null || true
keys Escape
settle 0.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 0.5
# File > Export... of that decimator: cmsis-decimate-q15 previews its
# header (factor, rates, alias attenuation before and after quantisation).
keys alt+f
settle 0.5
keys e
window "Export" >/dev/null
settle 0.5
keys Home
for ((i = 0; i < 14; i++)); do keys Down; done
settle 1
shot "Export" dialog-export-cmsis-decimate-q15
keys Escape
settle 0.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 0.5

# Extras > Rate Change...: a half-band filter of 47 taps at 48 kHz, pass
# band to 10 kHz (the factor field is not used); the design reports its pass
# count; then the Analysis window with its alias band fs/2 - f1 .. fs/2.
extras 4
window "Rate Change" >/dev/null
settle 0.5
keys Home Down Down Tab Tab
for value in 48000 10000 47; do
    keys ctrl+a
    type_text "$value"
    keys Tab
done
shot "Rate Change" dialog-142-rate-change-halfband
keys Return
window "Zantro" >/dev/null
keys Return
settle 1.5
shot "$MAIN" main-design-halfband
extras 2
settle 2
shot "Analysis" analysis-halfband
xdotool windowfocus --sync "$(window Analysis)" 2>/dev/null || true
keys Escape
settle 0.5

# Extras > Rate Change... to a requirement: a decimator by 4 at 48 kHz, pass
# band to 1 kHz with 0.1 dB ripple, the alias bands 80 dB down in Q15 (the
# dialog reopens with "Alias bands only" still checked from above). The
# design's pass count, then the search's message; the form and the Analysis
# window (judging the bands asked for) after it.
extras 4
window "Rate Change" >/dev/null
settle 0.5
keys Home Tab
for value in 4 48000 1000; do
    keys ctrl+a
    type_text "$value"
    keys Tab
done
keys Tab Tab space Tab
for value in 0.1 80; do
    keys ctrl+a
    type_text "$value"
    keys Tab
done
keys Home Down Down
shot "Rate Change" dialog-142-rate-change-requirement
keys Return
window "Zantro" >/dev/null
keys Return
settle 1
shot "Zantro" message-rate-change-requirement
keys Return
settle 1.5
shot "$MAIN" main-rate-change-requirement
extras 2
settle 2
shot "Analysis" analysis-rate-change-requirement
xdotool windowfocus --sync "$(window Analysis)" 2>/dev/null || true
keys Escape
settle 0.5
xdotool windowfocus --sync "$main_id" 2>/dev/null || true
settle 0.5

# Close with a modified document: the save prompt; No ends the program.
press 14
shot "Zantro" message-save-changes
keys alt+n
settle 1
if kill -0 "$APP_PID" 2>/dev/null; then
    echo "screenshots.sh: the program did not end after the save prompt" >&2
    exit 1
fi
APP_PID=""
echo "screenshots in $OUT"
