"""Fixed-point words chosen for a requirement: zantro.optimize_words, zantro.fewest_bits and the
optimize_words keywords, the words re-measured with scipy and compared with what the exports write."""
import os
import re

import numpy as np
import pytest
import scipy.signal

import zantro

FS = 48000.0
PASS = [(0, 4800, 0.1)]
STOP = [(7200, 24000, 70.0)]


def scipy_lowpass(numtaps):
    """A Remez lowpass made by scipy, weighted by the ratio of the deviations."""
    return scipy.signal.remez(numtaps, [0, 4800, 7200, 24000], [1, 0], weight=[1, 18], fs=FS)


def figures(words, fraction_length):
    """Pass ripple and stop attenuation (dB) of integer words on 2^18 points: never more ripple or less
    attenuation than the refined extremes give, so a requirement the words meet holds here too."""
    taps = np.asarray(words, dtype=float) * 2.0 ** -fraction_length
    f, h = scipy.signal.freqz(taps, worN=2**18, fs=FS)
    g = np.abs(h)
    passband = g[f <= 4800]
    nominal = (passband.max() + passband.min()) / 2
    ripple = 20 * np.log10(passband.max() / passband.min())
    attenuation = 20 * np.log10(nominal / g[f >= 7200].max())
    return ripple, attenuation


def test_chosen_words_meet_where_rounding_misses_as_scipy_measures():
    taps = scipy_lowpass(71)
    w = zantro.optimize_words(taps, FS, 13, pass_bands=PASS, stop_bands=STOP)
    assert (w["status"], w["met"], w["rounded_met"]) == ("met", True, False)
    assert w["word_length"] == 13 and w["requirement_derived"] is False
    assert w["margin"] >= 0 > w["rounded_margin"]
    # symmetric taps stay symmetric, every word fits 13 bits
    assert w["taps"] == w["taps"][::-1]
    assert max(abs(x) for x in w["taps"]) < 2**12
    ripple, attenuation = figures(w["taps"], w["fraction_length"])
    assert ripple <= 0.1 + 1e-9 and attenuation >= 70.0 - 1e-9
    passband, stopband = w["bands"]
    assert passband["ripple_db"] == pytest.approx(ripple, abs=2e-3)
    assert stopband["attenuation_db"] == pytest.approx(attenuation, abs=2e-2)


def test_without_a_requirement_the_words_come_closest_to_the_taps_own_figures():
    taps = scipy_lowpass(71)
    w = zantro.optimize_words(taps, FS, 13, bands=[(0, 4800, "pass"), (7200, 24000, "stop")])
    assert w["requirement_derived"] is True
    assert w["margin"] >= w["rounded_margin"]


def test_fewest_bits_chosen_need_fewer_than_rounded_and_meet_as_scipy_measures():
    taps = scipy_lowpass(71)
    chosen = zantro.fewest_bits(taps, FS, pass_bands=PASS, stop_bands=STOP)
    rounded = zantro.fewest_bits(taps, FS, pass_bands=PASS, stop_bands=STOP, optimize=False)
    assert chosen["status"] == rounded["status"] == "met"
    assert chosen["bits"] < rounded["bits"] == chosen["rounded_bits"]
    assert re.fullmatch(r"At 71 taps the fewest bits that meet the requirement are \d+ \(optimised words; "
                        r"rounded words need \d+ bits\)\.", chosen["message"])
    for run in (chosen, rounded):
        words = run["words"]
        assert words["word_length"] == run["bits"]
        ripple, attenuation = figures(words["taps"], words["fraction_length"])
        assert ripple <= 0.1 + 1e-9 and attenuation >= 70.0 - 1e-9


def c_fixed_words(path):
    text = open(path, encoding="utf-8").read()
    body = text[text.index("= {") + 3:text.index("};")]
    return [int(x) for x in body.replace("\n", " ").split(",") if x.strip()]


def test_export_writes_the_chosen_words_and_rounds_without_them(tmp_path):
    d = zantro.design(method="remez", taps=71, fs=48000, bands=[(0, 4800, 1.0, 1.0), (7200, 24000, 0.0, 18.0)])
    zantro.export(d, "c-fixed", str(tmp_path / "chosen"), word_length=13, optimize_words=True,
                  pass_bands=PASS, stop_bands=STOP)
    zantro.export(d, "c-fixed", str(tmp_path / "rounded"), word_length=13)
    chosen = zantro.optimize_words(d.taps, FS, 13, pass_bands=PASS, stop_bands=STOP)
    assert c_fixed_words(tmp_path / "chosen.c") == chosen["taps"]
    assert c_fixed_words(tmp_path / "rounded.c") == d.quantize(13)["taps"]
    assert "optimised words, chosen to meet the requirement" in open(tmp_path / "chosen.h").read()


def test_to_requirement_with_chosen_words_needs_fewer_taps(cli):
    r = zantro.to_requirement(pass_bands=PASS, stop_bands=STOP, fs=FS, quantize=13, optimize_words=True)
    assert r.analysis["optimized"]["met"] is True
    status, j, _ = cli(["--to-spec", "--method", "remez", "--fs", "48000", "--pass-band", "0:4800:0.1",
                        "--stop-band", "7200:24000:70", "--quantize", "13", "--optimize-words"])
    assert status == 0 and len(r.taps) == j["taps"]
    assert r.analysis["optimized"]["taps"] == j["analysis"]["optimized"]["taps"]
    with pytest.raises(zantro.DesignError, match="No design up to 1025 taps meets the requirement"):
        zantro.to_requirement(pass_bands=PASS, stop_bands=STOP, fs=FS, quantize=13)


@pytest.mark.parametrize("call,message", [
    (lambda: zantro.optimize_words([0.5, 0.5], FS, 12), "optimize_words needs pass_bands and stop_bands"),
    (lambda: zantro.optimize_words([0.5, float("nan")], FS, 12, pass_bands=PASS), "not finite"),
    (lambda: zantro.optimize_words([0.5, 0.5], 0.0, 12, pass_bands=PASS), "fs must be a finite sampling rate"),
    (lambda: zantro.optimize_words([0.5, 0.5], FS, 12, pass_bands=[(0, 30000, 0.1)]), "inside 0..fs/2"),
    (lambda: zantro.optimize_words([0.5, 0.5], FS, 40, pass_bands=PASS), "quantize"),
    (lambda: zantro.fewest_bits([0.5, 0.5], FS), "fewest_bits needs pass_bands and stop_bands"),
    (lambda: zantro.fewest_bits([0.5, 0.5], FS, pass_bands=[(0, 4800, -1)]), "limits above 0 dB"),
    (lambda: zantro.export(zantro.design(), "c-fixed", "x", pass_bands=PASS),
     "pass_bands and stop_bands go with optimize_words=True"),
    (lambda: zantro.to_requirement(pass_bands=PASS, stop_bands=STOP, fs=FS, optimize_words=True),
     "optimize_words goes with quantize"),
])
def test_refusals_name_what_is_wrong(call, message):
    with pytest.raises(zantro.DesignError, match=message):
        call()
