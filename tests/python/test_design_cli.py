"""zantro.design and zantro.export against zantro-cli: a fast subset of scripts/compare_python.py."""
import os
import sys

import pytest

import zantro

sys.path.insert(0, os.path.join(os.environ.get("ZANTRO_SOURCE_DIR", ""), "scripts"))
compare_python = pytest.importorskip("compare_python")

# One case of every method, several types, windows, scalings, the dialogs'
# answers and refusals, from the runs of compare-cli.sh.
CASES = [
    "--type 0 --method 0 --window 2 --scaling 0 --taps 31 --fs 8000 --f1 1000 --f2 2500",
    "--type 1 --method 0 --window 5 --beta 8.6 --scaling 2 --taps 64 --fs 44100 --f1 5000",
    "--type 2 --method 0 --window 4 --att 60 --scaling 1 --sinx --taps 45 --fs 8000 --f1 900 --f2 3000",
    "--type 3 --method 0 --window 3 --scaling 3 --scale 2.5 --taps 32 --fs 8000 --f1 1000 --f2 2500",
    "--type 4 --method 0 --window 1 --scaling 0 --taps 31 --fs 8000 --f1 1000 --f2 2500",
    "--type differentiator --gain pi/2 --taps 63",
    "--type differentiator --gain 2.5 --taps 63",
    "--type gaussian --method direct --sigma 0.5 --taps 63",
    "--type 7 --method 3 --window 0 --scaling 1 --taps 32",
    "--type 8 --method 3 --window 2 --scaling 2 --sinx --taps 46 --fs 44100",
    "--type 0 --method 1 --window 2 --scaling 1 --taps 31 --input POINTS17",
    "--type 2 --method 1 --window 5 --scaling 0 --taps 32 --input POINTS24",
    "--type bandpass --method remez --band 0:800:0:1 --band 1000:2000:1:1 --band 2200:4000:0:10 --grid 32 --taps 65",
    "--type differentiator --method remez --taps 128",
    "--type hilbert --method remez --taps 129",
    "--preset 6",
    "--preset 3 --sinx --scaling 1",
    "--taps 2000",
    "--f1 5000",
    "--type bandpass --f1 3000 --f2 1000",
    "--scaling custom --scale 20",
    "--window kaiser --beta 20.01 --taps 63",
    "--method fsamp",
]


@pytest.fixture(scope="module")
def points(tmp_path_factory):
    folder = tmp_path_factory.mktemp("points")
    with open(folder / "points17.txt", "w") as f:
        f.write("\n".join(["1"] * 5 + ["0.9", "0.5", "0.1"] + ["0"] * 9) + "\n")
    with open(folder / "points24.txt", "w") as f:
        f.write("\n".join(["0", "0", "0.2", "0.7"] + ["1"] * 5 + ["0.7", "0.2"] + ["0"] * 13) + "\n")
    return {"POINTS17": str(folder / "points17.txt"), "POINTS24": str(folder / "points24.txt")}


def arguments(case, points):
    return [points.get(a, a) for a in case.split()]


@pytest.mark.parametrize("case", CASES)
def test_design_matches_zantro_cli(case, points, tmp_path):
    cli = os.environ.get("ZANTRO_CLI")
    if not cli:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    args = arguments(case, points)
    _, diffs = compare_python.compare_design(cli, args, compare_python.keywords_of(args), str(tmp_path))
    assert diffs == []


@pytest.mark.parametrize("k", range(len(compare_python.PROFILES)))
def test_export_matches_zantro_cli(k, points, tmp_path):
    cli = os.environ.get("ZANTRO_CLI")
    if not cli:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    case = CASES[(3 * k) % 10]
    args = arguments(case, points)
    design = zantro.design(**compare_python.keywords_of(args))
    _, diffs = compare_python.compare_export(cli, args, design, k, str(tmp_path / "export"))
    assert diffs == []


@pytest.mark.parametrize("pass_bands,stop_bands,method,quantize", [
    ([(0, 1000, 0.1)], [(1200, 4000, 60.0)], "remez", "q15"),
    ([(0, 1000, 0.5)], [(1500, 4000, 50.0)], "sinc", None),
    ([(2000, 4000, 1.0)], [(0, 1500, 40.0)], "remez", 12),
])
def test_to_requirement_matches_zantro_cli(pass_bands, stop_bands, method, quantize, cli):
    args = ["--to-spec", "--method", method]
    args += [a for lo, hi, ripple in pass_bands for a in ("--pass-band", "%d:%d:%g" % (lo, hi, ripple))]
    args += [a for lo, hi, att in stop_bands for a in ("--stop-band", "%d:%d:%g" % (lo, hi, att))]
    if quantize is not None:
        args += ["--quantize", str(quantize)]
    status, report, stderr = cli(args)
    d = zantro.to_requirement(pass_bands=pass_bands, stop_bands=stop_bands, method=method, quantize=quantize)
    assert status == 0
    assert d.taps.tolist() == report["coefficients"]
    assert d.analysis == report["analysis"]
    assert stderr.endswith(d.requirement["message"] + "\n")
    assert {k: v for k, v in d.requirement.items() if k != "message"} == report["to_spec"]


@pytest.mark.parametrize("keywords,message", [
    ({"pass_bands": [(0, 1000, 0.1)], "stop_bands": [(900, 4000, 60.0)]},
     "The bands must be in ascending order with a transition band between neighbours."),
    ({"pass_bands": [(0, 1000, 0.1)], "stop_bands": [(1200, 4000, 60.0)], "method": "fsamp"},
     "Design to a requirement uses a Kaiser window or Remez Exchange."),
    ({"pass_bands": [(0, 1000.5, 0.1)], "stop_bands": [(1200, 4000, 60.0)]},
     "Band edges must be whole hertz from 0 to fs/2, each band's lower edge below its upper edge."),
    ({"pass_bands": [(0, 1000, 0.1)], "stop_bands": [(1010, 4000, 150.0)]},
     "No design up to 1025 taps meets the requirement"),
    ({"pass_bands": [(0, 1000, 0.1)], "stop_bands": [(1200, 4000, 60.0)], "type": "highpass"},
     "the bands describe a lowpass, not a highpass"),
])
def test_to_requirement_refusals(keywords, message):
    with pytest.raises(zantro.DesignError) as error:
        zantro.to_requirement(**keywords)
    assert str(error.value).startswith(message)


@pytest.mark.parametrize("case", compare_python.EXTRA_CASES)
def test_rate_changes_and_new_methods_match_zantro_cli(case, tmp_path):
    """Taps bit for bit, messages, analysis and the "multirate" or "methods" object."""
    cli = os.environ.get("ZANTRO_CLI")
    if not cli:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    args = case.split()
    _, diffs = compare_python.compare_design(cli, args, compare_python.keywords_of(args), str(tmp_path))
    assert diffs == []


@pytest.mark.parametrize("case,profile", [
    ("--decimate 4 --fs 48000 --f1 2000 --taps 63", "cmsis-decimate-q15"),
    ("--decimate 3 --fs 48000 --f1 5000 --taps 48", "cmsis-decimate-f32"),
    ("--interpolate 4 --fs 48000 --f1 4000 --taps 61", "cmsis-interpolate-q31"),
    ("--interpolate 2 --fs 44100 --f1 9000 --taps 40 --alias-bands", "cmsis-interpolate-f32"),
    ("--halfband --fs 48000 --f1 10000 --taps 47", "c-polyphase"),
    ("--decimate 4 --fs 48000 --f1 2000 --taps 63 --method sinc --beta 8", "cmsis-q15"),
])
def test_rate_change_exports_match_zantro_cli(case, profile, tmp_path):
    cli = os.environ.get("ZANTRO_CLI")
    if not cli:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    args = case.split()
    design = zantro.design(**compare_python.keywords_of(args))
    exported, diffs = compare_python.compare_rate_export(cli, args, design, profile, 0, str(tmp_path / "export"))
    assert diffs == []
    assert not exported.endswith("(refused)")


@pytest.mark.parametrize("keywords,args", [
    ({"decimate": 4, "alias_bands": True, "stop_bands": [("alias", 80)], "quantize": "q15"},
     "--decimate 4 --alias-bands --stop-band alias:80 --quantize q15"),
    ({"decimate": 4, "stop_bands": [(11000, 13000, 70), (23000, 24000, 50)]},
     "--decimate 4 --stop-band 11000:13000:70 --stop-band 23000:24000:50"),
    ({"halfband": True, "stop_bands": [("alias", 60)], "pass_bands": [(0, 10000, 0.01)]},
     "--halfband --stop-band alias:60 --pass-band 0:10000:0.01"),
    ({"interpolate": 4, "method": "sinc", "stop_bands": [("alias", 70)], "quantize": "q15"},
     "--interpolate 4 --method sinc --stop-band alias:70 --quantize q15"),
])
def test_rate_change_to_requirement_matches_zantro_cli(keywords, args, cli):
    keywords = dict({"fs": 48000, "pass_bands": [(0, 1000, 0.1)]}, **keywords)
    argv = ["--to-spec", "--fs", "48000"] + args.split()
    if "--pass-band" not in argv:
        argv += ["--pass-band", "0:1000:0.1"]
    status, report, stderr = cli(argv)
    d = zantro.to_requirement(**keywords)
    assert status == 0
    assert d.taps.tolist() == report["coefficients"]
    assert d.analysis == report["analysis"]
    assert d.multirate == report["multirate"]
    assert stderr == d.requirement["message"] + "\n"
    assert {k: v for k, v in d.requirement.items() if k != "message"} == report["to_spec"]
