"""scipy's taps through zantro-cli --coefficients: read as written, measured as
zantro.measure measures them, exported as Zantro's own designs are."""
import json
import math
import os
import subprocess

import numpy as np
import pytest
import scipy.signal

import zantro

FS = 48000.0
BANDS = [(0, 6000, "pass"), (9000, 24000, "stop")]


def run(args, cwd):
    path = os.environ.get("ZANTRO_CLI")
    if not path:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    return subprocess.run([path, *args], capture_output=True, text=True, cwd=cwd)


@pytest.mark.parametrize("name,taps,save", [
    ("firwin_lines", scipy.signal.firwin(63, 7500, fs=FS), lambda p, t: np.savetxt(p, t)),
    ("remez_row", scipy.signal.remez(48, [0, 6000, 9000, 24000], [1, 0], fs=FS),
     lambda p, t: np.savetxt(p, t.reshape(1, -1), delimiter=",")),
    ("minphase_json", scipy.signal.minimum_phase(scipy.signal.remez(63, [0, 6000, 9000, 24000], [1, 0], fs=FS)),
     lambda p, t: p.write_text(json.dumps(list(t)))),
])
def test_scipy_taps_export_as_zantros_own(tmp_path, name, taps, save):
    source = tmp_path / (name + ".txt")
    save(source, taps)
    masks = [f"--mask={lo}:{hi}:{kind}" for lo, hi, kind in BANDS]
    done = run(["--coefficients", str(source), "--fs", "48000", *masks, "--quantize", "12", "--json",
                "--export", "coe", "--export-root", "out", "--word-length", "12"], tmp_path)
    assert done.returncode == 0, done.stderr
    report = json.loads(done.stdout)
    # Every tap as scipy wrote it (savetxt's 18 digits and JSON read back exactly).
    assert np.array_equal(report["coefficients"], np.array([float(repr(t)) for t in taps]))
    assert report["analysis"] == zantro.measure(report["coefficients"], FS, bands=BANDS, quantize=12)
    # The words: the peak tap's fraction, rounded half away from zero.
    coe = (tmp_path / "out.coe").read_text()
    words = [int(w.strip().rstrip(";")) for w in coe.split("coefdata=\n")[1].split(",")]
    fraction = report["analysis"]["quantized"]["fraction_length"]
    assert words == [int(math.copysign(math.floor(abs(t) * 2 ** fraction + 0.5), t)) for t in taps]
    assert f"; Filter: {len(taps)} taps designed elsewhere, read from {source}" in coe
    stop = report["analysis"]["quantized"]["bands"][1]["attenuation_db"]
    assert f"attenuation {report['analysis']['bands'][1]['attenuation_db']:.2f} dB | {stop:.2f} dB" in coe
