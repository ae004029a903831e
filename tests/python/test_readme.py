"""The README's example runs as it stands (matplotlib left out when missing)."""
import os
import runpy

import pytest


def test_readme_example_runs(tmp_path, monkeypatch):
    readme = os.path.join(os.environ.get("ZANTRO_SOURCE_DIR", ""), "README.md")
    if not os.path.exists(readme):
        pytest.skip("ZANTRO_SOURCE_DIR names no source tree")
    text = open(readme, encoding="utf-8").read()
    start = text.index("```python\nimport zantro")
    code = text[start + len("```python\n"):text.index("```", start + 10)]
    (tmp_path / "example.py").write_text(code)
    (tmp_path / "out").mkdir()
    monkeypatch.chdir(tmp_path)
    monkeypatch.setenv("MPLBACKEND", "Agg")
    runpy.run_path(str(tmp_path / "example.py"))
    assert sorted(os.listdir(tmp_path / "out")) == ["lowpass.c", "lowpass.h", "lp.vhd", "lp_tb.vhd"]
    assert (tmp_path / "lowpass.fir").stat().st_size > 0
