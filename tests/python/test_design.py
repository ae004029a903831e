"""zantro.design, Design, read_fir and save: the form's behaviour from Python."""
import filecmp
import math
import os
import threading

import numpy as np
import pytest
import scipy.signal

import zantro

LOWPASS_TABLE = [(0, 1000, 1.0, 1.0), (1200, 4000, 0.0, 10.0)]


def test_defaults_are_a_new_documents():
    d = zantro.design()
    p = d.parameters
    assert (p["type"], p["method"], p["window"], p["taps"], p["fs"], p["f1"], p["f2"]) == (
        "lowpass", "sinc", "hamming", 63, 8000, 1000, 3000)
    assert (p["scaling"], p["scale"], p["sinx"], p["att"], p["beta"], p["gain"], p["sigma"], p["grid"]) == (
        "natural", 1.0, False, 40, 5.0, "pi", 1.0, 16)
    assert p["bands"] == [] and p["points"] is None
    assert len(d) == 63 and d.taps.dtype == np.float64 and d.fs == 8000.0
    assert d.converged and d.passes is None and d.messages == []


def test_windowed_sinc_is_scipys_firwin():
    # Natural scaling keeps the ideal response times the window: scipy's
    # firwin without its scaling to unit DC gain.
    d = zantro.design(taps=51, f1=1000, fs=8000, window="blackman")
    reference = scipy.signal.firwin(51, 1000, fs=8000, window="blackman", scale=False)
    np.testing.assert_allclose(d.taps, reference, rtol=0, atol=1e-15)


def test_remez_meets_scipys_remez():
    d = zantro.design(method="remez", taps=63, bands=LOWPASS_TABLE)
    reference = scipy.signal.remez(63, [0, 1000, 1200, 4000], [1, 0], weight=[1, 10], fs=8000)
    assert d.converged and d.passes > 0
    assert d.messages == ["The Remez algorithm took %3d iterations to converge." % d.passes]
    np.testing.assert_allclose(d.taps, reference, atol=1e-9)
    np.testing.assert_array_equal(d.taps, d.taps[::-1])
    stop = d.analysis["bands"][1]
    assert d.analysis["bands_derived"] and stop["kind"] == "stop" and stop["attenuation_db"] > 40


def test_taps_are_read_only_and_designs_are_values():
    d = zantro.design(method="remez", bands=LOWPASS_TABLE)
    with pytest.raises(ValueError):
        d.taps[0] = 1.0
    again = zantro.design(**d.parameters)
    np.testing.assert_array_equal(again.taps, d.taps)
    assert again.analysis == d.analysis


def test_preset_then_keywords():
    d = zantro.design(preset="lowpass odd 63", taps=41)
    assert d.parameters["method"] == "remez" and d.parameters["bands"] == [
        (0, 1000, 1.0, 1.0), (1200, 4000, 0.0, 10.0)]
    assert len(d) == 41


def test_dialog_answers_apply_where_the_design_asks():
    plain = zantro.design(window="hamming")
    assert np.array_equal(zantro.design(window="hamming", beta=9.0).taps, plain.taps)
    assert zantro.design(window="kaiser", beta=9.0).parameters["beta"] == 9.0
    assert zantro.design(type="differentiator", gain=2.5).parameters["gain"] == 2.5


@pytest.mark.parametrize("keywords,message", [
    ({"taps": 2000}, "Please enter an integer between 4 and 1025."),
    ({"f1": 5000}, "The corner frequencies must be < ((sampling rate) / 2)"),
    ({"scaling": "custom", "scale": 20}, "The impulse response scale must be 0.1 <= x <= 10.0"),
    ({"window": "kaiser", "beta": 20.5}, "The shape factor is out of bounds."),
    ({"type": "differentiator", "gain": 11}, "The differentiator gain range is 0.1 <= x <= 10.0"),
    ({"method": "fsamp"}, "No input data available.\nPlease read file first."),
    ({"method": "remez"}, "You must specify at least one band"),
    ({"method": "remez", "bands": [(0, 5000, 1, 1)]}, "Edge frequencies must be <= fs/2."),
    ({"type": "gaussian"}, "Sync Window design not supported for this filter type"),
    ({"type": "lowpass", "f1": 999.5}, "f1 must be a whole number, not 999.5"),
    ({"type": "notch"}, "type must be one of lowpass, highpass"),
    ({"preset": 11}, "preset must be one of user specified"),
])
def test_refusals_carry_the_forms_message(keywords, message):
    with pytest.raises(zantro.DesignError) as error:
        zantro.design(**keywords)
    assert str(error.value).startswith(message)


def test_remez_that_does_not_converge_is_returned():
    d = zantro.design(method="remez", taps=1025, grid=8, bands=[(0, 1000, 1.0, 1.0), (1001, 4000, 0.0, 100.0)])
    assert d.converged == ("The Remez algorithm did not converge." not in d.messages)
    assert np.all(np.isfinite(d.taps))


def test_quantize_gives_the_analysis_object_for_other_formats():
    d = zantro.design(method="remez", bands=LOWPASS_TABLE)
    assert d.quantize("q15") == d.analysis["quantized"]
    q12 = d.quantize(12, rounding="truncate")
    assert q12["format"] == "12 bits" and q12["rounding"] == "truncate"
    assert q12["taps"] == [int(x * 2.0 ** q12["fraction_length"]) for x in d.taps]


def test_save_and_read_fir_round_trip(tmp_path, cli):
    d = zantro.design(type="bandpass", window="kaiser", beta=7.25, taps=64, f1=800, f2=2000, scaling="normalized")
    d.save(str(tmp_path / "a"))
    assert os.path.exists(tmp_path / "a.fir")
    again = zantro.read_fir(str(tmp_path / "a.fir"))
    np.testing.assert_array_equal(again.taps, d.taps)
    status, _, _ = cli(["--type", "bandpass", "--window", "kaiser", "--beta", "7.25", "--taps", "64", "--f1", "800",
                        "--f2", "2000", "--scaling", "normalized", "--save", "b.fir"], cwd=str(tmp_path))
    assert status == 0
    assert filecmp.cmp(tmp_path / "a.fir", tmp_path / "b.fir", shallow=False)


def test_a_search_made_table_designs_again_in_every_front_end(tmp_path, cli):
    """A 0.1 dB / 120 dB lowpass: its table's stop weight lies beyond the band dialog's 100; the parameters
    give the design again, and read_fir designs the saved file as zantro-cli --doc does."""
    r = zantro.to_requirement(pass_bands=[(0, 1000, 0.1)], stop_bands=[(1200, 4000, 120)], fs=8000, method="remez")
    assert max(b[3] for b in r.parameters["bands"]) > 100
    np.testing.assert_array_equal(zantro.design(**r.parameters).taps, r.taps)
    r.save(str(tmp_path / "r.fir"))
    status, report, _ = cli(["--doc", str(tmp_path / "r.fir")])
    assert status == 0
    assert zantro.read_fir(str(tmp_path / "r.fir")).taps.tolist() == report["coefficients"]


def test_a_damaged_method_word_designs_nothing(tmp_path):
    """Method word 5 names none of the list's four: no design (zantro-cli --doc stores the parameters only)."""
    zantro.design().save(str(tmp_path / "d.fir"))
    data = bytearray((tmp_path / "d.fir").read_bytes())
    data[4:8] = (5).to_bytes(4, "little")
    (tmp_path / "d.fir").write_bytes(bytes(data))
    with pytest.raises(zantro.DesignError, match="^The document's design method is none of the form's list"):
        zantro.read_fir(str(tmp_path / "d.fir"))


def test_read_fir_refusals(tmp_path):
    bad = tmp_path / "bad.fir"
    bad.write_bytes(b"\x01\x02")
    with pytest.raises(zantro.DesignError, match="^Unexpected file format.$"):
        zantro.read_fir(str(bad))
    with pytest.raises(zantro.DesignError, match="^missing.fir was not found.$"):
        zantro.read_fir(str(tmp_path / "missing.fir"))
    with pytest.raises(zantro.DesignError):
        zantro.design().save(str(tmp_path / "no" / "such" / "folder.fir"))


def test_threads_design_the_same_taps():
    expected = zantro.design(method="remez", taps=255, bands=LOWPASS_TABLE).taps
    results = []

    def run():
        results.append(zantro.design(method="remez", taps=255, bands=LOWPASS_TABLE).taps)

    threads = [threading.Thread(target=run) for _ in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert len(results) == 4 and all(np.array_equal(r, expected) for r in results)


def test_first_designs_in_threads_right_after_import():
    # The first use of numpy's C API from two threads at once must not
    # deadlock; a fresh interpreter makes every use the first.
    code = ("import threading, zantro\n"
            "ts = [threading.Thread(target=lambda: zantro.design(taps=31)) for _ in range(4)]\n"
            "[t.start() for t in ts]\n[t.join() for t in ts]\nprint('done')\n")
    import subprocess
    import sys
    for _ in range(3):
        out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=60)
        assert out.stdout == "done\n"
