"""The Python examples of the README and of docs/python.md run as they stand
(matplotlib left out when missing) and write the files they name."""
import os
import runpy

import pytest

EXAMPLES = [
    ("README.md", "", ["lowpass.c", "lowpass.h"]),
    ("docs/python.md", "out", ["lowpass.c", "lowpass.h", "lp.vhd", "lp_expected.txt", "lp_in.txt", "lp_tb.vhd"]),
]


@pytest.mark.parametrize("page,folder,written", EXAMPLES)
def test_example_runs(tmp_path, monkeypatch, page, folder, written):
    path = os.path.join(os.environ.get("ZANTRO_SOURCE_DIR", ""), page)
    if not os.path.exists(path):
        pytest.skip("ZANTRO_SOURCE_DIR names no source tree")
    text = open(path, encoding="utf-8").read()
    start = text.index("```python\nimport zantro")
    code = text[start + len("```python\n"):text.index("```", start + 10)]
    (tmp_path / "example.py").write_text(code)
    (tmp_path / "out").mkdir()
    monkeypatch.chdir(tmp_path)
    monkeypatch.setenv("MPLBACKEND", "Agg")
    runpy.run_path(str(tmp_path / "example.py"))
    listed = sorted(n for n in os.listdir(tmp_path / folder) if n not in ("out", "example.py", "lowpass.fir"))
    assert listed == written
    if folder:
        assert (tmp_path / "lowpass.fir").stat().st_size > 0
