"""zantro.measure: figures of any taps, checked against scipy and zantro-cli."""
import math
import time

import numpy as np
import pytest
import scipy.signal

import zantro


def band_gains_db(taps, fs, lo, hi, intervals):
    """Gains in dB on the measurement's grid inside [lo, hi]: uniform points plus both edges."""
    grid = np.linspace(0.0, fs / 2, intervals + 1)
    points = np.concatenate(([lo, hi], grid[(grid > lo) & (grid < hi)]))
    _, h = scipy.signal.freqz(taps, worN=points, fs=fs)
    return 20 * np.log10(np.abs(h))


@pytest.mark.parametrize("numtaps,fs,cutoff", [(31, 8000.0, 1000.0), (64, 48000.0, 6000.0), (101, 1.0, 0.2)])
def test_band_figures_match_scipy(numtaps, fs, cutoff):
    taps = scipy.signal.firwin(numtaps, cutoff, fs=fs, window=("kaiser", 6.0))
    pass_hi, stop_lo = 0.8 * cutoff, 1.3 * cutoff
    a = zantro.measure(taps, fs, bands=[(0, pass_hi, "pass"), (stop_lo, fs / 2, "stop")])
    intervals = a["grid_points"] - 1
    assert intervals == max(8192, 16 * numtaps)
    # The extremes are refined between the grid points: never below (above)
    # what the grid or a 64 times denser one shows, and equal to the denser
    # one's to its own sampling error.
    passband = band_gains_db(taps, fs, 0, pass_hi, intervals)
    stopband = band_gains_db(taps, fs, stop_lo, fs / 2, intervals)
    dense_pass = band_gains_db(taps, fs, 0, pass_hi, 64 * intervals)
    dense_stop = band_gains_db(taps, fs, stop_lo, fs / 2, 64 * intervals)
    p, s = a["bands"]
    assert p["max_db"] >= max(passband.max(), dense_pass.max()) - 1e-12
    assert p["min_db"] <= min(passband.min(), dense_pass.min()) + 1e-12
    assert p["max_db"] == pytest.approx(dense_pass.max(), abs=1e-5)
    assert p["min_db"] == pytest.approx(dense_pass.min(), abs=1e-5)
    assert p["ripple_db"] == pytest.approx(p["max_db"] - p["min_db"], abs=1e-12)
    assert s["max_db"] >= max(stopband.max(), dense_stop.max()) - 1e-9
    assert s["max_db"] == pytest.approx(dense_stop.max(), abs=1e-4)
    nominal = a["nominal_pass_gain"]
    assert s["attenuation_db"] == pytest.approx(20 * math.log10(nominal) - s["max_db"], abs=1e-9)
    assert a["linear_phase"] is True
    assert a["group_delay_samples"] == (numtaps - 1) / 2
    assert a["dc_gain_db"] == pytest.approx(20 * math.log10(abs(taps.sum())), abs=1e-12)
    assert a["sum_abs_taps"] == pytest.approx(np.abs(taps).sum(), rel=1e-15)
    # The crossings lie between the bands, where the gain passes -3 and -6 dB.
    (f3,), (f6,) = a["minus3db_hz"], a["minus6db_hz"]
    assert pass_hi < f3 < f6 < stop_lo
    _, h = scipy.signal.freqz(taps, worN=[f3, f6], fs=fs)
    assert 20 * np.log10(np.abs(h) / nominal) == pytest.approx([-3.0, -6.0], abs=1e-6)


def q15_model(taps):
    """Make File's Q15 words: floor(x * 32768 + 0.5), saturated to the 16-bit range."""
    return [int(min(32767, max(-32768, math.floor(x * 32768 + 0.5)))) for x in taps]


def bits_model(taps, word):
    """Word length with the fraction from the peak tap, rounded half away from zero."""
    peak = max(abs(x) for x in taps)
    frac = word - 1
    while peak * 2.0**frac > 2 ** (word - 1) - 1 + 0.5:
        frac -= 1
    words = [int(math.copysign(math.floor(abs(x) * 2.0**frac + 0.5), x)) for x in taps]
    return frac, words


def test_quantized_words_follow_the_formats():
    taps = scipy.signal.firwin(45, 0.3, window="hann") * 1.7
    q15 = zantro.measure(taps, 2.0)["quantized"]
    assert q15["format"] == "Q15" and q15["word_length"] == 16 and q15["fraction_length"] == 15
    assert q15["taps"] == q15_model(taps)
    assert q15["saturated"] == sum(abs(x) * 32768 + 0.5 >= 32768 for x in taps)
    q12 = zantro.measure(taps, 2.0, quantize=12)["quantized"]
    frac, words = bits_model(taps, 12)
    assert (q12["format"], q12["fraction_length"], q12["taps"]) == ("12 bits", frac, words)
    assert q12["shift"] == frac - 11 and q12["saturated"] == 0
    assert zantro.measure(taps, 2.0, quantize="12", rounding="truncate")["quantized"]["taps"] == [
        int(x * 2.0**frac) for x in taps]


def test_matches_zantro_cli_analysis(cli):
    args = ["--window", "kaiser", "--beta", "8", "--taps", "63", "--mask", "0:800:pass", "--mask",
            "1500:4000:stop", "--quantize", "12", "--rounding", "truncate"]
    status, report, _ = cli(args)
    assert status == 0
    a = zantro.measure(report["coefficients"], 8000, bands=[(0, 800, "pass"), (1500, 4000, "stop")],
                       quantize=12, rounding="truncate")
    expected = dict(report["analysis"], bands_derived=False)
    assert a == expected


@pytest.mark.parametrize("taps,fs,bands,message", [
    ([0.5, 0.5], 8000, [(0, 5000, "pass")], "a band lies outside 0..fs/2"),
    ([0.5, 0.5], 0, None, "fs must be a finite sampling rate above 0 Hz"),
    ([0.5, float("nan")], 8000, None, "the taps hold values that are not finite numbers"),
    ([], 8000, None, "taps must be a non-empty sequence of numbers"),
    ([[1, 2], [3, 4]], 8000, None, "taps must be a non-empty sequence of numbers"),
    ([1.0], 8000, [(100, 50, "pass")], "each band must be"),
    ([1.0], 8000, [(0, 50, "passing")], "each band must be"),
])
def test_refusals_raise_design_error(taps, fs, bands, message):
    with pytest.raises(zantro.DesignError, match="^" + message.replace(".", r"\.")):
        zantro.measure(taps, fs, bands=bands)


def test_refused_formats():
    with pytest.raises(ValueError, match="quantize must be"):
        zantro.measure([1.0], 8.0, quantize=33)
    with pytest.raises(ValueError, match="rounding must be"):
        zantro.measure([1.0], 8.0, rounding="up")


def test_long_taps_are_measured_on_a_grid_of_their_own_length():
    # 100,001 taps (a measurement that grew with the square of the length
    # took minutes here): the figures against scipy's response on a grid
    # twice as dense as the measurement's.
    n, fs = 100001, 8000.0
    taps = scipy.signal.firwin(n, 1000.0, fs=fs, window=("kaiser", 8.0))
    started = time.perf_counter()
    a = zantro.measure(taps, fs, bands=[(0, 990, "pass"), (1010, fs / 2, "stop")])
    # A bound far above the second or so it takes, far below a quadratic measurement's minutes.
    assert time.perf_counter() - started < 30
    assert a["grid_points"] == 2**21 + 1
    hz, h = scipy.signal.freqz(taps, worN=2**22, fs=fs)
    gain = 20 * np.log10(np.abs(h))
    p, s = a["bands"]
    for figure, dense, sign in ((p["max_db"], gain[hz <= 990].max(), 1), (p["min_db"], gain[hz <= 990].min(), -1),
                                (s["max_db"], gain[hz >= 1010].max(), 1)):
        # Refined between the grid points: never inside what the denser grid shows, and close to it.
        assert sign * (figure - dense) >= -1e-9 and figure == pytest.approx(dense, abs=1e-4)
    assert s["attenuation_db"] == pytest.approx(20 * math.log10(a["nominal_pass_gain"]) - s["max_db"], abs=1e-9)
    assert a["linear_phase"] is True and a["group_delay_samples"] == (n - 1) / 2
    # The edge falls some 100 dB a hertz: the crossings, to a few micro-hertz, are within 1e-3 dB.
    (f3,), (f6,) = a["minus3db_hz"], a["minus6db_hz"]
    _, at = scipy.signal.freqz(taps, worN=[f3, f6], fs=fs)
    assert 990 < f3 < f6 < 1010
    assert 20 * np.log10(np.abs(at) / a["nominal_pass_gain"]) == pytest.approx([-3.0, -6.0], abs=1e-3)
    q = a["quantized"]
    assert q["taps"] == q15_model(taps) and q["figures"]["bands"][1]["attenuation_db"] < s["attenuation_db"]
