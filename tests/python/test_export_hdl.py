"""zantro.export's FPGA filter keywords (bits, architecture, stream, testbench) against zantro-cli --export."""
import os
import re
import subprocess

import pytest

import zantro

LOWPASS = (["--method", "remez", "--taps", "31", "--fs", "48000", "--band", "0:8000:1:1", "--band",
            "12000:24000:0:10"],
           {"method": "remez", "taps": 31, "fs": 48000, "bands": [(0, 8000, 1, 1), (12000, 24000, 0, 10)]})
MIN_PHASE = (["--method", "remez", "--min-phase", "--taps", "48", "--fs", "48000", "--band", "0:6000:1:1", "--band",
              "8000:24000:0:10"],
             {"method": "remez", "min_phase": True, "taps": 48, "fs": 48000,
              "bands": [(0, 6000, 1, 1), (8000, 24000, 0, 10)]})


def cli_path():
    path = os.environ.get("ZANTRO_CLI")
    if not path:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    return path


@pytest.mark.parametrize("profile", ["vhdl-fir", "verilog-fir"])
@pytest.mark.parametrize("design,keywords,options", [
    (LOWPASS, {"input_bits": 12, "output_bits": 18, "testbench": True},
     ["--input-bits", "12", "--output-bits", "18", "--testbench"]),
    (LOWPASS, {"input_bits": 24, "word_length": 12, "rounding": "truncate"},
     ["--input-bits", "24", "--word-length", "12", "--rounding", "truncate"]),
    (LOWPASS, {}, []),
    (MIN_PHASE, {"output_bits": 16, "testbench": True}, ["--output-bits", "16", "--testbench"]),
    (LOWPASS, {"architecture": "folded", "clocks_per_sample": 3, "stream": True, "testbench": True},
     ["--architecture", "folded", "--clocks-per-sample", "3", "--stream", "--testbench"]),
    (LOWPASS, {"architecture": "multiplierless", "pipeline": True}, ["--architecture", "multiplierless", "--pipeline"]),
])
def test_filter_files_equal_zantro_cli(profile, design, keywords, options, tmp_path):
    """The filter (and testbench) written from Python equal zantro-cli's, byte for byte."""
    cli = cli_path()
    (tmp_path / "py").mkdir()
    (tmp_path / "cli").mkdir()
    args, design_keywords = design
    written = zantro.export(zantro.design(**design_keywords), profile, str(tmp_path / "py" / "fir"), **keywords)
    done = subprocess.run([cli, *args, "--export", profile, "--export-root", str(tmp_path / "cli" / "fir"),
                           *options], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    names = sorted(os.path.basename(p) for p in written)
    extension = ".vhd" if profile == "vhdl-fir" else ".v"
    bench = ["fir_tb" + extension, "fir_in.txt", "fir_expected.txt"] if keywords.get("testbench") else []
    stream = ["fir_axis" + extension] if keywords.get("stream") else []
    assert names == sorted(["fir" + extension] + stream + bench)
    assert names == sorted(os.listdir(tmp_path / "cli"))
    for path in written:
        assert open(path, "rb").read() == open(tmp_path / "cli" / os.path.basename(path), "rb").read(), path


@pytest.mark.parametrize("keyword,option,value", [
    ("input_bits", "--input-bits", 40),
    ("input_bits", "--input-bits", 1),
    ("output_bits", "--output-bits", 1),
    ("output_bits", "--output-bits", 129),
    ("word_length", "--word-length", 33),
    ("block", "--block", 0),
    ("clocks_per_sample", "--clocks-per-sample", 1025),
])
def test_out_of_range_is_zantro_clis_usage_error(keyword, option, value, tmp_path):
    """The refusal is zantro-cli's usage error with the keyword named, and nothing is written."""
    cli = cli_path()
    folded = ["--architecture", "folded"] if keyword == "clocks_per_sample" else []
    done = subprocess.run([cli, "--export", "vhdl-fir", "--export-root", str(tmp_path / "cli"), *folded, option,
                           str(value)], capture_output=True, text=True)
    assert done.returncode == 2
    cli_reason = done.stderr.splitlines()[0].removeprefix("zantro-cli: ")
    with pytest.raises(zantro.DesignError) as error:
        extra = {"architecture": "folded"} if keyword == "clocks_per_sample" else {}
        zantro.export(zantro.design(), "vhdl-fir", str(tmp_path / "py"), **extra, **{keyword: value})
    assert str(error.value) == cli_reason.replace(option, keyword)
    assert re.fullmatch(keyword + r": Value -?\d+ not in range \d+ to \d+", str(error.value))
    assert not list(tmp_path.iterdir())


@pytest.mark.parametrize("keywords,message", [
    ({"architecture": "systolic"}, 'architecture must be parallel, folded or multiplierless, not "systolic"'),
    ({"clocks_per_sample": 4}, "clocks_per_sample does not apply to architecture parallel (only to folded)"),
    ({"architecture": "folded", "pipeline": True},
     "pipeline does not apply to architecture folded (only to parallel, multiplierless)"),
])
def test_architecture_options_that_do_not_apply_are_refused(keywords, message, tmp_path):
    with pytest.raises(zantro.DesignError) as error:
        zantro.export(zantro.design(), "verilog-fir", str(tmp_path / "fir"), **keywords)
    assert str(error.value) == message
    assert not list(tmp_path.iterdir())


def test_a_fraction_of_a_bit_is_refused(tmp_path):
    with pytest.raises(zantro.DesignError, match=r"^output_bits must be a whole number, not 2\.5$"):
        zantro.export(zantro.design(), "vhdl-fir", str(tmp_path / "fir"), output_bits=2.5)


def test_group_delay_in_the_header(tmp_path):
    """Linear phase states (N - 1) / 2 exactly; minimum phase its mean delay to four decimals, as the ms."""
    linear = open(zantro.export(zantro.design(**LOWPASS[1]), "csv", str(tmp_path / "lin"))[0]).read()
    assert re.search(r"group delay 15 samples \(0\.3125 ms\)$", linear, re.M)
    minimum = open(zantro.export(zantro.design(**MIN_PHASE[1]), "csv", str(tmp_path / "min"))[0]).read()
    delay = re.search(r"group delay (\d+\.\d{4}) samples \((\d\.\d{4}) ms\)$", minimum, re.M)
    assert delay, minimum[:2000]
    assert float(delay.group(1)) < 23.5
    assert float(delay.group(2)) == pytest.approx(float(delay.group(1)) / 48, abs=1e-4)
