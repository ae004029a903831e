"""scipy's taps through zantro.export: the files zantro-cli --coefficients writes of the same taps, the words
and figures checked as Zantro's own designs' are."""
import json
import math
import os
import subprocess

import numpy as np
import pytest
import scipy.signal

import zantro

FS = 48000
TAPS = scipy.signal.remez(63, [0, 6000, 9000, 24000], [1, 0], weight=[1, 10], fs=FS)
BANDS = [(0, 6000, "pass"), (9000, 24000, "stop")]
PASS, STOP = [(0, 6000, 0.5)], [(9000, 24000, 45)]


@pytest.mark.parametrize("profile,options", [
    ("coe", {"word_length": 12}), ("cmsis-q15", {"block": 64}), ("c-fixed", {"word_length": 14, "rounding": "truncate"}),
    ("json", {}), ("vhdl-fir", {"input_bits": 12, "output_bits": 20, "testbench": True}),
    ("c-fixed", {"word_length": 11, "optimize_words": True}), ("coe", {"word_length": 10, "optimize_words": True})])
def test_files_equal_zantro_clis(profile, options, tmp_path):
    cli = os.environ.get("ZANTRO_CLI") or pytest.skip("ZANTRO_CLI names no zantro-cli")
    source = tmp_path / "taps.txt"
    np.savetxt(source, TAPS)
    (tmp_path / "py").mkdir()
    (tmp_path / "cli").mkdir()
    written = zantro.export(TAPS, profile, tmp_path / "py" / "f", fs=FS, bands=BANDS, pass_bands=PASS,
                            stop_bands=STOP, source=str(source), **options)
    args = [f"--{k.replace('_', '-')}={v}" for k, v in options.items() if v is not True]
    args += [f"--{k.replace('_', '-')}" for k, v in options.items() if v is True]
    done = subprocess.run([cli, "--coefficients", str(source), "--fs", str(FS), "--export", profile, "--export-root",
                           str(tmp_path / "cli" / "f"), *[f"--mask={lo}:{hi}:{k}" for lo, hi, k in BANDS],
                           "--pass-band=0:6000:0.5", "--stop-band=9000:24000:45", *args], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert len(written) == len(os.listdir(tmp_path / "cli"))
    for path in written:
        ours = open(path, "rb").read()
        assert ours == (tmp_path / "cli" / os.path.basename(path)).read_bytes(), path


def test_words_figures_and_verdict_are_of_the_taps_given(tmp_path):
    (path,) = zantro.export(TAPS, "coe", tmp_path / "f", fs=FS, pass_bands=PASS, stop_bands=[(9000, 24000, 60)],
                            word_length=12, source="scipy.signal.remez")
    coe = open(path).read()
    measured = zantro.measure(TAPS, FS, bands=BANDS, quantize=12)
    fraction = measured["quantized"]["fraction_length"]
    words = [int(w.strip().rstrip(";")) for w in coe.split("coefdata=\n")[1].split(",")]
    assert words == [int(math.copysign(math.floor(abs(t) * 2 ** fraction + 0.5), t)) for t in TAPS]
    assert "; Filter: 63 taps designed elsewhere, read from scipy.signal.remez\n" in coe
    stop = measured["bands"][1]["attenuation_db"], measured["quantized"]["bands"][1]["attenuation_db"]
    assert "attenuation %.2f dB | %.2f dB" % stop in coe
    margins = stop[0] - 60, stop[1] - 60
    assert margins[0] > 0 > margins[1]
    assert ("stop 9000 - 24000 Hz, attenuation at least 60 dB: met, margin %.2f dB | missed by %.2f dB"
            % (margins[0], -margins[1])) in coe
    assert "Missed as exported (met in double precision)." in coe
    (path,) = zantro.export(list(TAPS), "json", tmp_path / "g", fs=FS, bands=BANDS)
    exported = json.load(open(path))
    assert exported["source"] == {"file": "Python", "sampling_rate_hz": FS} and exported["taps"] == TAPS.tolist()
    assert exported["analysis"]["bands"] == measured["bands"]


@pytest.mark.parametrize("keywords,message", [
    ({}, "fs: taps designed elsewhere need their sampling rate in Hz"),
    ({"fs": 0}, "fs must be a finite sampling rate above 0 Hz"),
    ({"fs": FS, "bands": [(0, 30000, "pass")]}, "bands: the band 0 - 30000 Hz reaches beyond 0 .. fs/2 = 24000 Hz"),
    ({"fs": FS, "stop_bands": [(9000, 8000, 40)]}, "stop_bands must be (lo_hz, hi_hz, min_attenuation_db) rows with"),
    ({"fs": FS, "taps": [1.0, float("nan")]}, "the taps hold values that are not finite numbers"),
    ({"fs": FS, "taps": np.ones(65536)}, "taps holds 65536 values; an export takes at most 65535 taps."),
    ({"fs": FS, "taps": zantro.design()}, "fs describes taps designed elsewhere; a Design has its own"),
])
def test_refusals(keywords, message, tmp_path):
    taps = keywords.pop("taps", TAPS)
    with pytest.raises(zantro.DesignError) as error:
        zantro.export(taps, "csv", tmp_path / "f", **keywords)
    assert str(error.value).startswith(message)
    assert not os.listdir(tmp_path)
