"""Designs not fit to ship (the exchange did not converge, or the response rises above the pass band between
the bands): the module's messages say why as zantro-cli's do, also once the design is measured lazily, copied or
pickled; the fixed-point exports are refused and the floating-point ones carry the warning."""
import pickle

import pytest

import zantro

CASES = [
    # A decimator's lowpass that rises 21.9 dB at 10.6 kHz, between its bands.
    (dict(decimate=2, fs=48000, f1=2400, taps=48), ["--decimate", "2", "--fs", "48000", "--f1", "2400", "--taps", "48"],
     "The response rises 21.9", "cmsis-decimate-q15", "cmsis-decimate-f32"),
    # A half-band whose exchange does not converge.
    (dict(halfband=True, fs=48000, f1=2000, taps=203), ["--halfband", "--fs", "48000", "--f1", "2000", "--taps", "203"],
     "The Remez exchange did not converge", "cmsis-interpolate-q31", "c-polyphase"),
    # The form's band-pass with unequal transitions: 100 dB over the pass band at 12 kHz.
    (dict(type="bandpass", method="remez", taps=144, fs=48000,
          bands=[(0, 3000, 0, 1), (4000, 10000, 1, 1), (14000, 24000, 0, 1)]),
     ["--type", "bandpass", "--method", "remez", "--taps", "144", "--fs", "48000", "--band", "0:3000:0:1",
      "--band", "4000:10000:1:1", "--band", "14000:24000:0:1"],
     "The response rises 100.0", "cmsis-q15", "cmsis-f32"),
]


@pytest.mark.parametrize("keywords,args,warning,fixed,floating", CASES)
def test_unsound_designs_say_why_and_export_only_floats(keywords, args, warning, fixed, floating, cli, tmp_path):
    d = zantro.design(**keywords)
    status, j, _ = cli(args)
    assert status == 0 and not j["design_valid"]
    # Asked before anything else was measured: the warning is known all the same.
    assert d.messages == j["messages"] and any(m.startswith(warning) for m in d.messages)
    assert pickle.loads(pickle.dumps(zantro.design(**keywords))).messages == j["messages"]
    with pytest.raises(zantro.DesignError, match="Fixed-point words sized for the pass band would not hold it"):
        zantro.export(d, fixed, tmp_path / "fixed")
    assert not (tmp_path / "fixed.h").exists()
    header = open(zantro.export(d, floating, tmp_path / "float")[0]).read()
    assert "WARNING" in header and warning in header
