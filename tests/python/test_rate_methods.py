"""The rate change's and the new methods' keywords: what zantro-cli refuses as a usage error is a DesignError here."""
import os
import subprocess

import numpy as np
import pytest

import zantro


@pytest.mark.parametrize("keywords,message", [
    ({"decimate": 4, "interpolate": 4, "fs": 48000, "f1": 1000, "taps": 31},
     "give one of decimate, interpolate and halfband"),
    ({"alias_bands": True}, "alias_bands needs decimate or interpolate"),
    ({"halfband": True, "alias_bands": True, "fs": 48000, "f1": 1000, "taps": 31},
     "halfband has one alias band, fs/2 - f1 .. fs/2, already; leave alias_bands out"),
    ({"decimate": 4, "fs": 48000, "f1": 1000, "taps": 31, "scaling": "normalized"},
     "decimate designs a lowpass of its own without the form; leave scaling out"),
    ({"decimate": 4, "fs": 48000, "f1": 1000, "taps": 31, "method": "direct"},
     "A rate change designs a lowpass by Remez Exchange or the windowed sinc (a half-band by Remez Exchange)."),
    ({"decimate": 65, "fs": 48000, "f1": 100, "taps": 31}, "The factor must be 2 .. 64."),
    ({"interpolate": 4, "fs": 48000, "f1": 6000, "taps": 31},
     "The pass-band edge must lie above 0 Hz and below fs / (2 x 4) = 6000 Hz."),
    ({"halfband": True, "fs": 48000, "f1": 10000, "taps": 49},
     "A half-band filter has 4k + 3 taps (7 .. 1023); 49 is not one. The nearest is 51."),
    ({"pulse": "rrc", "taps": 33}, "pulse designs its own taps (span x sps + 1): leave out method, bands, taps, "
                                   "min_phase, cic_comp and inverse_sinc"),
    ({"pulse": "gaussian", "rolloff": 0.3}, "rolloff is the raised cosine's; pulse=\"gaussian\" takes bt"),
    ({"sps": 4}, "rolloff, bt, sps, span and pulse_gain go with pulse"),
    ({"pulse": "rrc", "sps": 3, "span": 3},
     "Pulse shaping needs a roll-off 0..1 (Gaussian: BT 0.05..1), 2..64 samples\nper symbol and 1..64 symbols, "
     "span x sps even and at most 1024."),
    ({"min_phase": True, "method": "sinc"},
     "min_phase factors a Remez or least-squares design: give method=\"remez\" or \"ls\""),
    ({"cic_comp": (8, 1), "method": "remez"}, "cic_comp must be (R, M, N): decimation, differential delay, stages"),
    ({"cic_comp": (8, 1, 4), "inverse_sinc": True}, "give one of cic_comp and inverse_sinc"),
    ({"method": "ls", "type": "gaussian", "bands": [(0, 1000, 1, 1)]},
     "Least Squares design not supported for this filter type"),
    # zantro-cli refuses these with the same texts, and held none at a limit.
    ({"decimate": 4, "fs": 48000, "f1": 1000, "taps": 63, "method": "sinc", "window": "kaiser", "beta": 25},
     "The shape factor is out of bounds."),
    ({"decimate": 4, "fs": 48000, "f1": 1000, "taps": 63, "grid": 200}, "Please enter an integer between 8 and 64."),
    ({"decimate": 4, "fs": 48000, "f1": 1000, "taps": 63, "method": "sinc", "window": "chebyshev", "att": 5},
     "Please enter an integer between 10 and 100."),
    ({"pulse": "rrc", "scaling": "custom", "scale": 2},
     "pulse scales its taps by pulse_gain (unit energy or unit gain at DC); leave scaling out"),
])
def test_refusals(keywords, message):
    with pytest.raises(zantro.DesignError) as error:
        zantro.design(**keywords)
    assert str(error.value) == message


@pytest.mark.parametrize("keywords", [
    {"decimate": 4, "fs": 48000, "f1": 2000, "taps": 63, "alias_bands": True},
    {"interpolate": 3, "fs": 48000, "f1": 3000, "taps": 45, "method": "sinc", "window": "chebyshev", "att": 70},
    {"halfband": True, "fs": 48000, "f1": 10000, "taps": 47},
    {"method": "ls", "taps": 64, "fs": 48000, "bands": [(0, 8000, 1.0, 1.0), (10000, 24000, 0.0, 0.25)]},
    {"pulse": "rc", "rolloff": 0.5, "sps": 8, "span": 8, "pulse_gain": "dc"},
    {"method": "remez", "cic_comp": (8, 1, 4), "taps": 63, "fs": 48000,
     "bands": [(0, 4000, 1.0, 1.0), (8000, 24000, 0.0, 10.0)]},
    {"method": "remez", "min_phase": True, "taps": 31, "fs": 48000,
     "bands": [(0, 8000, 1.0, 1.0), (10000, 24000, 0.0, 10.0)]},
])
def test_parameters_give_the_design_again(keywords):
    d = zantro.design(**keywords)
    again = zantro.design(**d.parameters)
    assert again.taps.tolist() == d.taps.tolist()
    assert again.parameters == d.parameters


def test_a_pulse_has_its_own_gain_unit_energy_by_default():
    """As the desktop's More Methods dialog and zantro-cli: unit energy unless pulse_gain="dc", unscaled."""
    energy = zantro.design(pulse="rrc", rolloff=0.35, sps=8, span=8)
    assert energy.parameters["pulse_gain"] == "energy" and "scaling" not in energy.parameters
    assert abs(sum(t * t for t in energy.taps) - 1.0) < 1e-12
    dc = zantro.design(pulse="rrc", rolloff=0.35, sps=8, span=8, pulse_gain="dc")
    assert abs(sum(dc.taps) - 1.0) < 1e-12 and dc.gain == 1.0


def test_half_band_and_its_figures():
    """47 taps at 48 kHz, pass edge 10 kHz: centre 0.5, every second tap from it 0, equal ripple 3.38e-4."""
    d = zantro.design(halfband=True, fs=48000, f1=10000, taps=47)
    assert d.taps[23] == 0.5
    assert all(d.taps[23 + k] == 0.0 and d.taps[23 - k] == 0.0 for k in range(2, 24, 2))
    m = d.multirate
    assert (m["kind"], m["factor"], m["macs_per_output"]) == ("halfband", 2, 25)
    assert [len(p) for p in m["phases"]] == [24, 23]
    assert d.analysis["bands"][0]["max_deviation"] == pytest.approx(3.38e-4, abs=2e-6)
    assert d.methods is None


def test_rate_change_and_least_squares_designs_save_whole(tmp_path):
    """A decimator and a least-squares design reopen with bit-identical taps; a single-rate design still has no
    polyphase export."""
    rate = zantro.design(decimate=4, fs=48000, f1=2000, taps=63)
    rate.save(str(tmp_path / "r.fir"))
    again = zantro.read_fir(str(tmp_path / "r.fir"))
    np.testing.assert_array_equal(again.taps, rate.taps)
    assert again.multirate["kind"] == "decimate" and again.multirate["factor"] == 4
    ls = zantro.design(method="ls", taps=64, fs=48000, bands=[(0, 8000, 1, 1), (10000, 24000, 0, 1)])
    ls.save(str(tmp_path / "ls.fir"))
    np.testing.assert_array_equal(zantro.read_fir(str(tmp_path / "ls.fir")).taps, ls.taps)
    with pytest.raises(zantro.DesignError, match="rate change"):
        zantro.export(ls, "cmsis-decimate-f32", str(tmp_path / "ls"))
    assert sorted(p.name for p in tmp_path.iterdir()) == ["ls.fir", "r.fir"]
    assert ls.methods["least_squares"]["relative_residual"] < 1e-9
    assert ls.multirate is None


@pytest.mark.parametrize("profile", ["cmsis-q15", "c-fixed", "csv", "json", "coe", "verilog-fir"])
def test_a_root_raised_cosine_exports_what_zantro_cli_exports(profile, tmp_path):
    """zantro.export of an RRC pulse writes zantro-cli's files, byte for byte, the method named in them."""
    cli = os.environ.get("ZANTRO_CLI")
    if not cli:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    (tmp_path / "py").mkdir()
    (tmp_path / "cli").mkdir()
    d = zantro.design(pulse="rrc", rolloff=0.25, sps=8, span=10, fs=48000)
    written = zantro.export(d, profile, str(tmp_path / "py" / "rrc"))
    done = subprocess.run([cli, "--pulse", "rrc", "--rolloff", "0.25", "--sps", "8", "--span", "10", "--fs", "48000",
                           "--export", profile, "--export-root", str(tmp_path / "cli" / "rrc")],
                          capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert sorted(os.path.basename(p) for p in written) == sorted(os.listdir(tmp_path / "cli"))
    for path in written:
        mine = open(path, "rb").read()
        assert mine == open(tmp_path / "cli" / os.path.basename(path), "rb").read(), path
    assert b"Pulse Shaping: root raised cosine, roll-off 0.25, 8 samples per symbol, 10 symbols, unit energy" in \
        open(written[0], "rb").read()

