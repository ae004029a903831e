"""Shared fixtures of the module's tests: zantro-cli to compare with."""
import json
import os
import subprocess

import pytest


@pytest.fixture(scope="session")
def cli():
    """Runs zantro-cli with the arguments and --json; returns (exit status, JSON object, stderr)."""
    path = os.environ.get("ZANTRO_CLI")
    if not path:
        pytest.skip("ZANTRO_CLI names no zantro-cli")

    def run(args, cwd=None):
        done = subprocess.run([path, *args, "--json"], capture_output=True, text=True, cwd=cwd)
        return done.returncode, json.loads(done.stdout), done.stderr

    return run
