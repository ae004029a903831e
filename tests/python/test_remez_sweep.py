"""scripts/remez_sweep.py through the module designs what it designs through zantro-cli."""
import os
import sys

import pytest

import zantro

sys.path.insert(0, os.path.join(os.environ.get("ZANTRO_SOURCE_DIR", ""), "scripts"))
remez_sweep = pytest.importorskip("remez_sweep")


@pytest.mark.parametrize("n,density,kind,table", [
    (17, 16, "lowpass", "a"), (64, 8, "lowpass", "b"), (255, 32, "lowpass", "a"),
    (129, 16, "differentiator", None), (257, 64, "hilbert", None),
])
def test_module_and_cli_give_the_same_sweep_designs(n, density, kind, table):
    cli = os.environ.get("ZANTRO_CLI")
    if not cli:
        pytest.skip("ZANTRO_CLI names no zantro-cli")
    bands = remez_sweep.tables(n)[table] if table else remez_sweep.ANTI_TABLES[kind]
    taps_cli, converged_cli, _ = remez_sweep.run_cli(cli, n, bands, density, kind)
    taps_module, converged_module, _ = remez_sweep.run_module(zantro, n, bands, density, kind)
    assert taps_module.tolist() == taps_cli.tolist()
    assert converged_module == converged_cli
    # The sweep's own check counts both alike.
    grid = remez_sweep.dense_grid(bands, n, density, kind)
    assert remez_sweep.check(taps_module, grid, n, kind) == remez_sweep.check(taps_cli, grid, n, kind)
