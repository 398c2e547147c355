"""Finding the library, and installing the package with pip without network."""
import os
import shutil
import subprocess
import sys

import pytest

import tarq

PKG = os.path.join(os.path.dirname(__file__), "..")
LIB = os.path.realpath(tarq.library_path)


def run(code, cwd, **env):
    e = {k: v for k, v in os.environ.items() if k not in ("TARQ_LIBRARY", "PYTHONPATH", "LD_LIBRARY_PATH")}
    e.update(env)
    return subprocess.run([sys.executable, "-c", code], cwd=cwd, env=e, capture_output=True, text=True)


def test_library_next_to_the_package_and_the_paths_tried(tmp_path):
    shutil.copytree(os.path.join(PKG, "tarq"), tmp_path / "tarq")
    missing = run("import tarq", tmp_path, TARQ_LIBRARY="/nonexistent/libtarq.so")
    if missing.returncode == 0:
        pytest.skip("a libtarq.so is installed where the loader looks")
    assert "TARQ_LIBRARY" in missing.stderr and "/nonexistent/libtarq.so: no such file" in missing.stderr
    assert "system loader" in missing.stderr
    shutil.copy(LIB, tmp_path / "tarq" / "libtarq.so.0")
    found = run("import tarq; print(tarq.library_path); print(tarq.sqrt(tarq.Int(99)))", tmp_path)
    assert found.stdout.split() == [str(tmp_path / "tarq" / "libtarq.so.0"), "9"], found.stderr


def test_pip_install_offline(tmp_path):
    wheels = "/usr/share/python-wheels"
    if not os.path.isdir(wheels) or not any(n.startswith("wheel-") for n in os.listdir(wheels)):
        pytest.skip("python3-wheel-whl is not installed")
    src = tmp_path / "src"  # pip builds inside the tree it is given
    shutil.copytree(PKG, src, ignore=shutil.ignore_patterns("__pycache__", "build", "*.egg-info", "tests"))
    subprocess.run([sys.executable, "-m", "venv", str(tmp_path / "venv")], check=True)
    pip = subprocess.run([str(tmp_path / "venv/bin/pip"), "install", "-q", "--no-index", "--find-links", wheels,
                          str(src)], capture_output=True, text=True)
    assert pip.returncode == 0, pip.stdout + pip.stderr
    out = subprocess.run([str(tmp_path / "venv/bin/python"), "-c", "import tarq; print(tarq.Frac(1, 3) * 3)"],
                         cwd=tmp_path, env={"TARQ_LIBRARY": LIB, "PATH": os.environ.get("PATH", "")},
                         capture_output=True, text=True)
    assert out.stdout.strip() == "1/1", out.stderr
