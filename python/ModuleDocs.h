#pragma once

// The docstrings of the module, as help(zantro) shows them.

inline constexpr const char* kModuleDoc = R"(FIR filter design with Zantro's engine.

zantro designs finite-impulse-response filters exactly as Zantro's form
and zantro-cli do, from values and without a window:

    d = zantro.design(type="lowpass", method="remez", taps=63, fs=8000,
                      bands=[(0, 1000, 1.0, 1.0), (1200, 4000, 0.0, 10.0)])
    d.taps                      # float64 numpy array
    d.analysis["bands"]         # ripple and attenuation achieved
    d.quantize("q15")["taps"]   # the Q15 words and their figures
    zantro.export(d, "cmsis-q15", "out/lowpass")   # out/lowpass.h, .c
    d.save("lowpass.fir")

design           a design from the form's parameters
to_requirement   the fewest taps that meet pass-band ripple and stop-band
                 attenuation limits
measure          the figures of any taps, designed here or elsewhere
export           the files of an export profile (CMSIS-DSP, C, CSV, JSON,
                 COE, VHDL, Verilog), byte for byte as zantro-cli writes them,
                 of a design or of taps designed elsewhere
read_fir         the design a ".fir" document holds
Design           the result: taps, status, messages, figures
DesignError      a refused parameter or failed read or write (a ValueError)
                 carrying the program's own message

Frequencies are in Hz. Any integer-like or real value (numpy's scalars
too) is taken where a number is asked, a list, tuple or numpy array where a
sequence or table is, str, bytes or os.PathLike where a path is; a value
outside its range is refused (DesignError), never held at a limit. Figures
are plain dicts and lists, the same objects zantro-cli prints with --json.
Designs, searches and measurements release the GIL, so threads design in
parallel; Ctrl-C stops a search or measurement at once (KeyboardInterrupt).
Nothing is printed.)";

inline constexpr const char* kDesignErrorDoc =
    "A refused parameter or a failed design, read or write (a ValueError); the message is the program's own text.";

inline constexpr const char* kDesignDoc = R"(A finished design (made by zantro.design, zantro.to_requirement or
zantro.read_fir).

taps, converged, passes, messages and analysis hold the result (the
analysis measured when first asked for); parameters the keywords that give
it again; quantize() the figures of fixed-point taps; save() writes a ".fir"
document. zantro.export(design, ...) writes it for a target.

A design is a read-only sequence and array of its taps: len(d), d[i],
d[a:b], iteration, np.asarray(d), scipy.signal.freqz(d), np.convolve(x, d).
It is a value: equal to a design of the same parameters (and the same bands
and format measured), hashable, copied by copy.copy and copy.deepcopy, and
pickled with its parameters (unpickling designs it again).)";

inline constexpr const char* kDesignFnDoc = R"(design(*, type=None, method=None, window=None, taps=None, fs=None, f1=None, f2=None, scaling=None, scale=None, sinx=None, att=None, beta=None, gain=None, sigma=None, grid=None, preset=None, bands=None, points=None, decimate=None, interpolate=None, halfband=None, alias_bands=None, min_phase=None, pulse=None, rolloff=None, bt=None, sps=None, span=None, pulse_gain=None, cic_comp=None, inverse_sinc=None) -> Design

Designs a filter as the form's Design button does. Every keyword is a
field or dialog of the form, named as zantro-cli's option; one left out
(None) keeps the form's value for a new document, given here after each.

type     "lowpass", "highpass", "bandpass", "bandstop", "hilbert",
         "differentiator", "gaussian", "allpass", "moving-average" or
         0..8 ("lowpass")
method   "sinc" (windowed sinc), "fsamp" (frequency sampling), "remez"
         (Remez exchange), "direct", "ls" (weighted least squares on
         the bands, any positive weight), or 0..4 ("sinc")
window   "rectangular", "hanning", "hamming", "blackman", "chebyshev"
         (Dolph-Chebyshev), "kaiser", or 0..5 ("hamming"); scipy's names
         of these windows too ("boxcar", "hann", "chebwin", ...), and
         ("kaiser", beta) or ("chebwin", att) for the window with its value
taps     N, 4..1025 (63)
fs       sampling rate, whole Hz up to 2147483647 (8000)
f1, f2   first and second corner, whole Hz below fs/2 (1000, 3000)
scaling  "natural", "normalized", "optimized", "custom", or 0..3
         ("natural")
scale    impulse-response scale of "custom", 0.1..10.0 (1.0)
sinx     x/sin(x) compensation (False)
att      Dolph-Chebyshev attenuation in dB, 10..100 (40)
beta     Kaiser beta, 0..20 (5.0)
gain     a sinc differentiator's gain at fs/2: "pi", "pi/2", 1 or a
         number 0.1..10.0 ("pi")
sigma    a direct Gaussian edge's variance, 0.1..3.0 (1.0)
grid     Remez grid density, 8..64 (16)
preset   a target filter, 0..10 or its name ("lowpass odd 63"), applied
         before the other keywords
bands    the Remez band table: (lo_hz, hi_hz, value, weight) rows (a list
         or a 2-d array), at most 8, in use; value 0..1 (0.1..3.2 for a differentiator), weight
         above 0 (the desktop's band dialog takes 1..100 as typed) (no rows)
points   frequency sampling: the wanted magnitudes from 0 to fs/2, at most
         512, as Read File reads them (none)

Beside the form's designs, as zantro-cli designs them without the form:

decimate, interpolate
         M or L, 2..64: the lowpass of a rate change; fs is the high rate,
         f1 the pass-band edge, below fs / (2 M); method "remez" (on the
         stop bands from fs/M - f1 to fs/2) or "sinc" (cut at fs / (2 M),
         window "kaiser" unless given; att 60 unless given); d.multirate
         holds the rates, the polyphase components, the MACs per output and
         the alias attenuation
halfband True: a half-band lowpass (Vaidyanathan-Nguyen), taps 4k + 3,
         centre tap 0.5 and every second tap from it exactly 0
alias_bands
         True: stop only the bands that fold onto the pass band,
         k fs/M -+ f1 (fewer taps)
min_phase
         True: a Remez or "ls" lowpass, bandpass or bandstop of N taps
         with minimum phase and the linear design's magnitude
pulse    "rc", "rrc" or "gaussian": a pulse-shaping filter of span x sps + 1
         taps; rolloff (0.35) or bt (0.3), sps (8), span (8), pulse_gain
         "energy" or "dc" ("energy"), the pulse's own gain (it takes no
         scaling or scale)
cic_comp (R, M, N): Remez whose pass bands follow a CIC's inverse
         (decimation R, differential delay M, N stages)
inverse_sinc
         True: Remez whose pass bands follow x/sin(x) (a zero-order-hold DAC)

These report under d.methods (least squares, minimum phase, pulse, shaped
response) as zantro-cli's "methods" object; they are neither saved nor
exported (rate changes export with the multirate profiles). A combination
zantro-cli refuses raises DesignError with its reason.

att, beta, gain and sigma are used where the design asks that dialog, as on
the form (beta with a Kaiser window, ...), and kept otherwise. A refused value raises
DesignError with the form's message, e.g. "Please enter an integer between
4 and 1025."; a Remez design that does not converge is returned with
converged False. The GIL is released while designing.)";

inline constexpr const char* kQuantizeDoc = R"(quantize(format, rounding="nearest") -> dict

The design's taps as fixed-point words, with their figures on the design's
bands: the "quantized" object of zantro-cli's analysis ("taps" the integer
words, "fraction_length", "shift", "max_error_lsb", "saturated", ...).
format: "q7", "q15", "q31" (Make File's words and rounding) or a word
length 2..32 whose fraction length is the largest that holds the peak tap;
rounding: "nearest" (halves away from zero) or "truncate", for word lengths.)";

inline constexpr const char* kSaveDoc = R"(save(path) -> None

Writes the design's parameters as a ".fir" document (".fir" is added when
the name has no extension), as File > Save As does after Design: through a
temporary file renamed over path. DesignError when it cannot be written.)";

inline constexpr const char* kMeasureDoc = R"(measure(taps, fs, bands=None, quantize=None, rounding="nearest") -> dict

The achieved figures of any real taps at sampling rate fs (Hz), as
zantro-cli's JSON "analysis" object: on a uniform grid of at least 16
points per tap (never fewer than 8192) up to fs/2 plus every band edge,
each band's largest and smallest gain, ripple or attenuation, the
largest gain outside the stop bands over the pass band's top and where
("whole_response"), the group delay, DC and Nyquist gain, peak tap and
headroom; under "quantized" the
integer words of the fixed-point taps and the same figures for them.

taps      a sequence or 1-d array of numbers
bands     (lo_hz, hi_hz, kind) or (lo_hz, hi_hz, kind, desired) tuples,
          kind "pass", "stop" or "slope" (a differentiator's line
          desired * f / (fs/2)); desired is a pass band's ideal gain
          (default 1). With a pass band the -3 dB and -6 dB crossings are
          measured too. None: no bands.
quantize  "q7", "q15", "q31" (Make File's words) or a word length 2..32
          whose fraction length is taken from the peak tap; None: "q15"
rounding  "nearest" (halves away from zero) or "truncate", for word lengths

DesignError for a band outside 0..fs/2, fs not above 0, or taps that are
not finite. Ctrl-C stops a long measurement (KeyboardInterrupt).)";

inline constexpr const char* kExportDoc = R"(export(design, profile, root, *, fs=None, bands=None, pass_bands=None, stop_bands=None, source=None, word_length=16, rounding="nearest", block=32, helium=False, input_bits=16, output_bits=None, architecture="parallel", clocks_per_sample=None, pipeline=False, stream=False, testbench=False, optimize_words=False) -> list

Writes the design for a target as zantro-cli --export does, byte for byte,
and returns the paths written. Every file opens with a comment stating the
design, the number format and the measured figures of the exported taps.
A design of method "ls", min_phase, pulse, cic_comp or inverse_sinc takes
every profile but the multirate ones, its method named in the comment.

design may also be taps designed elsewhere (scipy, MATLAB, another tool): a
sequence or 1-d array of at most 65535 finite numbers, exported with every
single-rate profile as zantro-cli --coefficients exports them:

fs           their sampling rate in Hz (needed)
bands        the bands measured, as zantro.measure takes them; without
             them the requirement's
pass_bands, stop_bands
             a requirement, as zantro.to_requirement takes it: the comment
             judges it band by band, in double precision and as exported
source       where the taps came from, as the comment names it ("read from
             Python" unless given)

profile      "cmsis-f32", "cmsis-q31", "cmsis-q15", "cmsis-q7" (time-reversed
             and sized for arm_fir_init_*), "c-fixed", "c-float",
             "c-double" (root.h and root.c), "csv", "json", "coe", "vhdl"
             (root.vhd), "verilog" (root.vh), "vhdl-fir", "verilog-fir" (a
             synthesizable filter, root.vhd or root.v), and for a rate
             change "cmsis-decimate-*", "cmsis-interpolate-*", "c-polyphase"
root         path (str, bytes or os.PathLike) and name of the files without
             extension (3 to 32 characters in the name)
word_length  2..32 bits: c-fixed, coe, vhdl, verilog, vhdl-fir, verilog-fir
             and json's quantised figures
rounding     "nearest" or "truncate"
block        samples per call of the CMSIS state-buffer macro, 1..65536
helium       pad the CMSIS array for Helium
input_bits   2..32: width of the vhdl-fir and verilog-fir filter's signed
             input
output_bits  2..128: width of its signed output; None keeps the
             accumulator's width (exact); fewer bits are rounded half away
             from zero after a right shift by the difference and saturated
architecture "parallel" (one sample a clock, a multiplier per distinct odd
             factor of the words), "folded" (clocks_per_sample clocks a
             sample, about N/2/F multipliers) or "multiplierless" (shifts
             and adders, no multiplier)
clocks_per_sample
             1..1024 clocks a sample of the folded filter (default 4)
pipeline     pipeline the parallel filter's products or the multiplierless
             filter's adders
stream       vhdl-fir and verilog-fir also write an AXI4-Stream wrapper,
             root_axis.vhd or root_axis.v
testbench    vhdl-fir and verilog-fir also write a self-checking testbench,
             root_tb.vhd or root_tb.v, its stimulus root_in.txt and the
             expected outputs root_expected.txt
optimize_words
             the fixed-point profiles write words chosen for pass_bands and
             stop_bands (rows as to_requirement takes them), or without
             them for the design's own figures, rather than rounded; the
             header says so, with their margin (see optimize_words());
             Ctrl-C stops the choice (KeyboardInterrupt)

The files are written through temporary files and renamed only when all
are complete. DesignError with the command's message when refused or not
written; a number outside its range with zantro-cli's usage error, the
keyword named ("input_bits: Value 40 not in range 2 to 32").)";

inline constexpr const char* kReadFirDoc = R"(read_fir(path) -> Design

Opens a ".fir" document and designs it with the values it holds, as the
desktop program does on File > Open (its dialogs accepted as they show the
stored values). DesignError with the program's message when the file cannot
be read ("Unexpected file format.") or its design is refused.)";

inline constexpr const char* kToRequirementDoc = R"(to_requirement(*, pass_bands, stop_bands, fs=8000.0, method="remez", quantize=None, type=None, grid=None, decimate=None, interpolate=None, halfband=None, alias_bands=None, optimize_words=False) -> Design

The fewest taps whose design meets every band, as Extras > Design to
Requirement and zantro-cli --to-spec find them (the length estimated by
Kaiser's formula, or Herrmann's or Ichige's for Remez, then designed and
measured one length at a time); returns the design of that N, with the
search under d.requirement: zantro-cli's "to_spec" object ("estimator",
"estimated_taps", "taps", "tried", "next_smaller", the bands' limits and
achieved figures, ...) and "message", the program's text after the search. Its analysis measures the requirement's
bands (pass bands first) in the requirement's format (Q15 without one), as
zantro-cli --to-spec --json does.

pass_bands  (lo_hz, hi_hz, max_ripple_db) rows
stop_bands  (lo_hz, hi_hz, min_attenuation_db) rows; edges whole Hz, the
            bands sorted by their lower edge describe a lowpass, highpass,
            bandpass or bandstop
fs          sampling rate, whole Hz
method      "remez" or "sinc" (a Kaiser window)
quantize    None, or "q7", "q15", "q31" or a word length: the fixed-point
            taps must meet the requirement too
type        the filter type the bands must describe, when given
grid        Remez grid density, 8..64 (16)
decimate, interpolate, halfband, alias_bands
            a rate change's lowpass (see design()): one pass band (0, fp,
            ripple), and stop_bands [("alias", min_attenuation_db)] (the
            derived stop bands) or explicit rows; method "remez" or
            "sinc" (a Kaiser window, odd N; not for a half-band, which
            takes 4k + 3 taps). Its analysis measures the derived
            bands, and d.multirate the alias attenuation, in quantize's
            format, as zantro-cli --to-spec with --decimate does.
optimize_words
            with quantize: the words are chosen for the requirement
            rather than rounded (fewer taps), as --optimize-words; the
            analysis holds them under "optimized"

DesignError when the requirement is refused or no N up to 1025 meets it,
with the program's message. The GIL is released while searching; Ctrl-C
stops the search (KeyboardInterrupt).)";
