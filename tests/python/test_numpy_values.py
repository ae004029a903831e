"""numpy's scalars and arrays, and os.PathLike paths, wherever the module asks a number, a table or a path;
values outside a range refused, never held at a limit."""
import ast
import os
import pathlib

import numpy as np
import pytest

import zantro

TABLE = [(0, 1000, 1.0, 1.0), (1200, 4000, 0.0, 10.0)]
REMEZ = {"method": "remez", "bands": TABLE}
TAPS = zantro.design(taps=31).taps
PASS, STOP = [(0, 800, 0.125)], [(1500, 4000, 40)]


def whole(v):
    """The value as numpy's integer and float scalars and as a 0-d array."""
    kinds = [np.int64(v), np.int32(v), np.float32(v), np.float64(v), np.array(v)]
    return kinds + ([np.uint16(v)] if 0 <= v < 2**16 else [])


def real(v):
    """Exact in float32, so every kind means the same number."""
    return [np.float64(v), np.float32(v), np.array(v)] + ([np.int64(v)] if v == int(v) else [])


def index(v):
    return [np.int64(v), np.int32(v), np.array(v)]


def rows(table):
    """A table as a 2-d array (int when every entry is whole) and as rows of numpy scalars."""
    array = np.array(table)
    return [array, [tuple(np.float32(x) for x in row) for row in table]]


# (function, keyword): plain value, its numpy kinds, the other keywords.
SWEEP = {
    ("design", "type"): (1, index, {}),
    ("design", "method"): (2, index, {"bands": TABLE}),
    ("design", "window"): (5, index, {}),
    ("design", "taps"): (41, whole, {}),
    ("design", "fs"): (16000, whole, {}),
    ("design", "f1"): (1500, whole, {}),
    ("design", "f2"): (2400, whole, {"type": "bandpass", "f1": 800}),
    ("design", "scaling"): (3, index, {"scale": 2.5}),
    ("design", "scale"): (2.5, real, {"scaling": "custom"}),
    ("design", "att"): (60, whole, {"window": "chebyshev"}),
    ("design", "beta"): (7.5, real, {"window": "kaiser"}),
    ("design", "gain"): (2.5, real, {"type": "differentiator"}),
    ("design", "sigma"): (1.5, real, {"type": "gaussian", "method": "direct"}),
    ("design", "grid"): (32, whole, REMEZ),
    ("design", "preset"): (3, index, {}),
    ("design", "bands"): (TABLE, rows, {"method": "remez"}),
    ("design", "points"): ([1.0] * 8 + [0.0] * 8, lambda v: [np.array(v), np.array(v, dtype=np.float32)],
                           {"method": "fsamp"}),
    ("design", "decimate"): (4, whole, {"f1": 400}),
    ("design", "interpolate"): (3, whole, {"f1": 400}),
    ("design", "rolloff"): (0.25, real, {"pulse": "rrc"}),
    ("design", "bt"): (0.5, real, {"pulse": "gaussian"}),
    ("design", "sps"): (4, whole, {"pulse": "rrc"}),
    ("design", "span"): (6, whole, {"pulse": "rrc"}),
    ("design", "cic_comp"): ((8, 1, 3), lambda v: [np.array(v), tuple(np.int64(x) for x in v)],
                             {**REMEZ, "bands": [(0, 400, 1.0, 1.0), (1000, 4000, 0.0, 1.0)]}),
    ("to_requirement", "pass_bands"): (PASS, rows, {"stop_bands": STOP}),
    ("to_requirement", "stop_bands"): (STOP, rows, {"pass_bands": PASS}),
    ("to_requirement", "fs"): (10000, whole, {"pass_bands": PASS, "stop_bands": [(1500, 5000, 40)]}),
    ("to_requirement", "quantize"): (12, whole, {"pass_bands": PASS, "stop_bands": STOP}),
    ("to_requirement", "type"): (0, index, {"pass_bands": PASS, "stop_bands": STOP}),
    ("to_requirement", "grid"): (32, whole, {"pass_bands": PASS, "stop_bands": STOP}),
    ("to_requirement", "decimate"): (4, whole, {"pass_bands": [(0, 400, 0.1)], "stop_bands": [("alias", 40)]}),
    ("to_requirement", "interpolate"): (4, whole, {"pass_bands": [(0, 400, 0.1)], "stop_bands": [("alias", 40)]}),
    ("measure", "taps"): (list(TAPS), lambda v: [np.array(v), tuple(np.float64(x) for x in v)], {"fs": 8000}),
    ("measure", "fs"): (8000, whole, {"taps": TAPS}),
    ("measure", "bands"): ([(0, 800, "pass", 1), (1500, 4000, "stop")],
                           lambda v: [[(np.int64(a), np.float32(b), *rest) for a, b, *rest in v]],
                           {"taps": TAPS, "fs": 8000}),
    ("measure", "quantize"): (12, whole, {"taps": TAPS, "fs": 8000}),
    ("quantize", "format"): (12, whole, {}),
    ("export", "design"): (list(TAPS), lambda v: [np.array(v)], {"fs": 8000}),
    ("export", "fs"): (8000, whole, {"design": TAPS}),
    ("export", "bands"): ([(0, 800, "pass"), (1500, 4000, "stop")],
                          lambda v: [[(np.int64(a), np.float32(b), k) for a, b, k in v]], {"design": TAPS, "fs": 8000}),
    ("export", "pass_bands"): (PASS, rows, {"design": TAPS, "fs": 8000}),
    ("export", "stop_bands"): (STOP, rows, {"design": TAPS, "fs": 8000}),
    ("export", "word_length"): (12, whole, {}),
    ("export", "block"): (64, whole, {}),
    ("export", "input_bits"): (12, whole, {"profile": "vhdl-fir"}),
    ("export", "output_bits"): (20, whole, {"profile": "vhdl-fir"}),
    ("export", "clocks_per_sample"): (8, whole, {"profile": "vhdl-fir", "architecture": "folded"}),
    ("optimize_words", "taps"): (list(TAPS), lambda v: [np.array(v), tuple(np.float64(x) for x in v)],
                                 {"fs": 8000, "quantize": 10, "pass_bands": PASS, "stop_bands": STOP}),
    ("optimize_words", "fs"): (8000, whole, {"taps": TAPS, "quantize": 10, "pass_bands": PASS, "stop_bands": STOP}),
    ("optimize_words", "quantize"): (10, whole, {"taps": TAPS, "fs": 8000, "pass_bands": PASS, "stop_bands": STOP}),
    ("optimize_words", "pass_bands"): (PASS, rows, {"taps": TAPS, "fs": 8000, "quantize": 10, "stop_bands": STOP}),
    ("optimize_words", "stop_bands"): (STOP, rows, {"taps": TAPS, "fs": 8000, "quantize": 10, "pass_bands": PASS}),
    ("optimize_words", "bands"): ([(0, 800, "pass"), (1500, 4000, "stop")],
                                  lambda v: [[(np.int64(a), np.float32(b), k) for a, b, k in v]],
                                  {"taps": TAPS, "fs": 8000, "quantize": 10}),
    ("fewest_bits", "taps"): (list(TAPS), lambda v: [np.array(v), tuple(np.float64(x) for x in v)],
                              {"fs": 8000, "pass_bands": PASS, "stop_bands": STOP}),
    ("fewest_bits", "fs"): (8000, whole, {"taps": TAPS, "pass_bands": PASS, "stop_bands": STOP}),
    ("fewest_bits", "pass_bands"): (PASS, rows, {"taps": TAPS, "fs": 8000, "stop_bands": STOP}),
    ("fewest_bits", "stop_bands"): (STOP, rows, {"taps": TAPS, "fs": 8000, "pass_bands": PASS}),
}


def call(function, keyword, value, others, tmp_path):
    """What a call gives, comparable with ==: a Design, the figures, or the files written."""
    keywords = {**others, keyword: value}
    if function == "quantize":
        return zantro.design(**REMEZ).quantize(value)
    if function == "measure":
        return zantro.measure(**keywords)
    if function == "export":
        design = keywords.pop("design", None)
        design = zantro.design(**REMEZ) if design is None else design
        profile = keywords.pop("profile", "json")
        paths = zantro.export(design, profile, tmp_path / "out", **keywords)
        return [pathlib.Path(p).read_bytes() for p in paths]
    return getattr(zantro, function)(**keywords)


@pytest.mark.parametrize("function,keyword", sorted(SWEEP))
def test_numpy_values_mean_what_python_values_mean(function, keyword, tmp_path):
    plain, kinds, others = SWEEP[(function, keyword)]
    expected = call(function, keyword, plain, others, tmp_path)
    for value in kinds(plain):
        assert call(function, keyword, value, others, tmp_path) == expected, repr(value)


def test_the_sweep_covers_every_numeric_keyword_of_the_stubs():
    tree = ast.parse(pathlib.Path(zantro.__file__).with_name("zantro.pyi").read_text())
    numeric = ("Whole", "Real", "Taps", "Row", "Band", "SupportsIndex", "QuantFormat", "FilterType", "Method",
               "Window", "Scaling", "Union[Design")
    functions = [n for n in tree.body if isinstance(n, ast.FunctionDef)]
    functions += [m for c in tree.body if isinstance(c, ast.ClassDef) for m in c.body if isinstance(m, ast.FunctionDef)]
    asked = {(f.name, a.arg) for f in functions if not f.name.startswith("_")
             for a in f.args.args + f.args.kwonlyargs
             if a.annotation is not None and any(n in ast.unparse(a.annotation) for n in numeric)}
    # A method name is a string only where the search takes it.
    assert asked - {("to_requirement", "method")} == set(SWEEP)


@pytest.mark.parametrize("flag,others", [
    ("sinx", {}), ("halfband", {"f1": 1500}), ("alias_bands", {"decimate": 4, "f1": 400}),
    ("min_phase", REMEZ), ("inverse_sinc", REMEZ)])
def test_numpy_bools_are_flags(flag, others):
    assert zantro.design(**others, **{flag: np.bool_(True)}) == zantro.design(**others, **{flag: True})


@pytest.mark.parametrize("call,message", [
    (lambda: zantro.design(fs=3_000_000_000),
     "fs must be a whole number from -2147483648 to 2147483647, not 3000000000"),
    (lambda: zantro.design(fs=np.float64(2.0**31)),
     "fs must be a whole number from -2147483648 to 2147483647, not 2147483648.0"),
    (lambda: zantro.design(taps=np.int64(2**40)),
     "taps must be a whole number from -2147483648 to 2147483647, not 1099511627776"),
    (lambda: zantro.design(f1=np.float32(999.5)), "f1 must be a whole number, not 999.5"),
    (lambda: zantro.design(taps=True), "taps must be a whole number, not True"),
    (lambda: zantro.design(taps=np.bool_(True)), "taps must be a whole number, not True"),
    (lambda: zantro.design(window="kaiser", beta=np.complex128(6)), "beta must be a number, not (6+0j)"),
    (lambda: zantro.design(window="kaiser", beta=float("nan")), "beta must be a finite number, not nan"),
    (lambda: zantro.design(scaling="custom", scale=np.inf), "scale must be a finite number, not inf"),
    (lambda: zantro.design(type=np.int64(9)), "type must be one of lowpass"),
    (lambda: zantro.design(window="triang"), "window must be one of rectangular, hanning"),
    (lambda: zantro.design(window=("hann", 3)),
     "window takes a name, (\"kaiser\", beta) or (\"chebwin\", attenuation_db), not ('hann', 3)"),
    (lambda: zantro.design(window=("kaiser", 8), beta=5), "window gives the Kaiser beta already; leave beta out"),
    (lambda: zantro.design(method="remez", bands=5), "bands must be (lo_hz, hi_hz, value, weight) rows, at most 8"),
    (lambda: zantro.design(method="remez", bands=np.zeros((2, 3))),
     "bands must be (lo_hz, hi_hz, value, weight) rows, at most 8"),
    (lambda: zantro.to_requirement(pass_bands=PASS, stop_bands=STOP, fs=3e9),
     "The sampling rate must be a whole number of hertz above 0."),
    (lambda: zantro.to_requirement(pass_bands=PASS, stop_bands=STOP, grid=2**40),
     "grid must be a whole number from -2147483648 to 2147483647, not 1099511627776"),
    (lambda: zantro.measure(TAPS, 10**400), "fs must be a finite number, not 1000"),
    (lambda: zantro.measure(TAPS, 8000, quantize=np.int64(40)), "quantize must be \"q7\", \"q15\", \"q31\""),
    (lambda: zantro.export(zantro.design(), "csv", 5), "root must be a path (str, bytes or os.PathLike), not 5"),
    (lambda: zantro.design().save("a\0b"), "path must be a path without a NUL character"),
    (lambda: zantro.export(zantro.design(), "coe", "x", word_length=np.int64(40)),
     "word_length: Value 40 not in range 2 to 32"),
])
def test_refusals_name_the_keyword(call, message):
    with pytest.raises(zantro.DesignError) as error:
        call()
    assert str(error.value).startswith(message)


def test_paths_may_be_path_like(tmp_path):
    d = zantro.design(window="blackman")
    d.save(tmp_path / "a.fir")
    d.save(os.fsencode(tmp_path / "b.fir"))
    assert (tmp_path / "a.fir").read_bytes() == (tmp_path / "b.fir").read_bytes()
    assert zantro.read_fir(tmp_path / "a.fir") == zantro.read_fir(str(tmp_path / "b.fir"))
    assert zantro.export(d, "csv", tmp_path / "c") == [str(tmp_path / "c.csv")]
