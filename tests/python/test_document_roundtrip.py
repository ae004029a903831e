"""Every design kind saved and reopened through the Python module and zantro-cli --doc: the taps bit-identical,
the analysis' bands the same; a design the form's fields hold saves the file the form saves."""
import json
import os
import subprocess

import numpy as np
import pytest
import zantro

KINDS = {
    "sinc": {"taps": 51, "f1": 1000, "fs": 8000, "window": "kaiser", "beta": 7.25},
    "fsamp": {"method": "fsamp", "fs": 8000, "points": [1.0] * 5 + [0.5] + [0.0] * 10},
    "remez": {"method": "remez", "taps": 63, "bands": [(0, 1000, 1.0, 1.0), (1200, 4000, 0.0, 10.0)]},
    "direct": {"method": "direct", "type": "gaussian", "taps": 33, "sigma": 1.5},
    "ls": {"method": "ls", "taps": 64, "fs": 48000, "bands": [(0, 8000, 1.0, 1.0), (10000, 24000, 0.0, 0.25)]},
    "min_phase": {"method": "remez", "min_phase": True, "taps": 31, "fs": 48000,
                  "bands": [(0, 8000, 1.0, 1.0), (10000, 24000, 0.0, 10.0)]},
    "ls_min_phase": {"method": "ls", "min_phase": True, "taps": 30, "fs": 48000,
                     "bands": [(0, 8000, 1.0, 1.0), (10000, 24000, 0.0, 10.0)]},
    "cic_comp": {"method": "remez", "cic_comp": (8, 1, 4), "taps": 63, "fs": 48000,
                 "bands": [(0, 4000, 1.0, 1.0), (8000, 24000, 0.0, 10.0)]},
    "inverse_sinc": {"method": "remez", "inverse_sinc": True, "taps": 63, "fs": 48000,
                     "bands": [(0, 8000, 1.0, 1.0), (12000, 24000, 0.0, 10.0)]},
    "rrc": {"pulse": "rrc", "rolloff": 0.35, "sps": 8, "span": 8},
    "rc_dc": {"pulse": "rc", "rolloff": 0.5, "sps": 8, "span": 8, "pulse_gain": "dc"},
    "gaussian_pulse": {"pulse": "gaussian", "bt": 0.3, "sps": 4, "span": 6},
    "decimator": {"decimate": 4, "fs": 48000, "f1": 2000, "taps": 63, "alias_bands": True},
    "interpolator": {"interpolate": 3, "fs": 48000, "f1": 3000, "taps": 45, "method": "sinc", "window": "chebyshev",
                     "att": 70},
    "halfband": {"halfband": True, "fs": 48000, "f1": 10000, "taps": 47},
    "differentiator_pi_2": {"type": "differentiator", "gain": "pi/2", "taps": 32},
}


def cli_doc(path, *more):
    exe = os.environ.get("ZANTRO_CLI")
    if not exe:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    done = subprocess.run([exe, "--doc", str(path), *more, "--json"], capture_output=True, text=True)
    return done.returncode, json.loads(done.stdout)


def bands_of(analysis):
    return [(b["kind"], b["lo_hz"], b["hi_hz"]) for b in analysis["bands"]]


@pytest.mark.parametrize("kind", sorted(KINDS))
def test_every_kind_reopens_as_it_was_designed(kind, tmp_path):
    d = zantro.design(**KINDS[kind])
    d.save(str(tmp_path / "d.fir"))
    again = zantro.read_fir(str(tmp_path / "d.fir"))
    np.testing.assert_array_equal(again.taps, d.taps)
    assert bands_of(again.analysis) == bands_of(d.analysis)
    assert again.multirate == d.multirate
    status, report = cli_doc(tmp_path / "d.fir", "--save", str(tmp_path / "cli.fir"))
    assert status == 0
    assert report["coefficients"] == d.taps.tolist()
    # zantro-cli saves the document it opened byte for byte.
    assert (tmp_path / "cli.fir").read_bytes() == (tmp_path / "d.fir").read_bytes()


def test_a_requirement_result_keeps_its_requirement(tmp_path):
    """A 0.1 dB / 120 dB lowpass (stop weight 57,501 in its table): reopened, it is judged by the requirement."""
    r = zantro.to_requirement(pass_bands=[(0, 1000, 0.1)], stop_bands=[(1200, 4000, 120)], fs=8000, method="remez")
    r.save(str(tmp_path / "r.fir"))
    again = zantro.read_fir(str(tmp_path / "r.fir"))
    np.testing.assert_array_equal(again.taps, r.taps)
    assert bands_of(again.analysis) == bands_of(r.analysis)
    assert not again.analysis["bands_derived"]


def test_a_form_design_saves_no_block(tmp_path):
    """A windowed-sinc lowpass and a differentiator of gain pi: the file holds the fields alone."""
    for n, keywords in enumerate([KINDS["sinc"], {"type": "differentiator", "taps": 32}]):
        path = tmp_path / f"{n}.fir"
        zantro.design(**keywords).save(str(path))
        assert b"ZNTX" not in path.read_bytes()


@pytest.mark.parametrize("keywords, args", [
    (KINDS["ls"], ["--method", "ls", "--taps", "64", "--fs", "48000", "--band", "0:8000:1:1",
                   "--band", "10000:24000:0:0.25"]),
    (KINDS["rrc"], ["--pulse", "rrc", "--rolloff", "0.35", "--sps", "8", "--span", "8"]),
    (KINDS["decimator"], ["--decimate", "4", "--fs", "48000", "--f1", "2000", "--taps", "63", "--alias-bands"]),
    (KINDS["differentiator_pi_2"], ["--type", "differentiator", "--gain", "pi/2", "--taps", "32"]),
])
def test_zantro_cli_saves_the_file_python_saves(keywords, args, tmp_path, cli):
    zantro.design(**keywords).save(str(tmp_path / "py.fir"))
    status, _, _ = cli([*args, "--save", str(tmp_path / "cli.fir")])
    assert status == 0
    assert (tmp_path / "cli.fir").read_bytes() == (tmp_path / "py.fir").read_bytes()


@pytest.mark.parametrize("keywords, args", [
    ({"pass_bands": [(0, 1000, 0.1)], "stop_bands": [(1200, 4000, 120)], "fs": 8000, "method": "remez"},
     ["--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:120", "--fs", "8000", "--method", "remez"]),
    ({"decimate": 4, "fs": 48000, "pass_bands": [(0, 1000, 0.1)], "stop_bands": [("alias", 80)]},
     ["--decimate", "4", "--fs", "48000", "--pass-band", "0:1000:0.1", "--stop-band", "alias:80"]),
])
def test_a_requirement_result_saves_alike_with_its_requirement(keywords, args, tmp_path, cli):
    zantro.to_requirement(**keywords).save(str(tmp_path / "py.fir"))
    status, _, _ = cli(["--to-spec", *args, "--save", str(tmp_path / "cli.fir")])
    assert status == 0
    assert (tmp_path / "cli.fir").read_bytes() == (tmp_path / "py.fir").read_bytes()
    assert not zantro.read_fir(str(tmp_path / "cli.fir")).analysis["bands_derived"]
