#!/usr/bin/env python3
"""Runs the Windows calculator (tarq.exe, under Wine) and the Linux one on the
same arguments and standard input, and fails when their standard output,
standard error or exit status differ (and, for a run with the cache on, the
files left in the cache directory). Windows line ends (CR LF) count as LF,
and the library's load banner, which the Windows build writes on standard
output before the program starts, is not part of the comparison.

Usage: compare_calculator.py LINUX_TARQ RUN_WINE PREFIX WINDOWS_TARQ
Prints "N passed, M failed".
"""
import os
import subprocess
import sys
import tempfile

linux_tarq, run_wine, prefix, windows_tarq = sys.argv[1:5]

# (arguments, standard input)
CASES = [
    (["-d", "60", "sqrt(2)", "pi", "exp(1)", "ln(10)", "sin(pi/6)", "atan(1)*4"], ""),
    (["-k", "int", "2^256 - 1", "gcd(2^64, 6^40)", "powmod(3, 10^18, 2^61-1)", "modinv(17, 3120)", "-7 % 3"], ""),
    (["-k", "frac", "1/3 + 1/6", "-22/7 * 7", "(1/3)^5"], ""),
    (["--sci", "1e50/7", "2^0.5"], ""),
    (["-k", "int", "--hex", "255*256"], ""),
    (["-b", "200", "ln(2)", "exp(-10)"], ""),
    (["1/0", "2+", "modinv(2, 4)", "sqrt(-1)", "3*4"], ""),
    ([], "x = 2^0.5\nx*x\n:digits 50\natan(1)*4\n:kind int\n10^30 + 1\n"),
]
BANNER = [
    "===========================================================",
    "================       T  A  R  Q       ===================",
    "===========================================================",
    " ",
    "Arbitrary precision floating point and integer math library ",
    " ",
    "===========================================================",
]


def run(cmd, stdin_text, env_extra):
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
        f.write(stdin_text)
    try:
        env = dict(os.environ, WINE_STDIN=f.name, **env_extra)
        with open(f.name) as inp:
            p = subprocess.run(cmd, stdin=inp, capture_output=True, env=env, timeout=300)
    finally:
        os.unlink(f.name)
    out = p.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    err = p.stderr.decode("utf-8", "replace").replace("\r\n", "\n")
    lines = out.split("\n")
    if lines[:len(BANNER)] == BANNER:
        out = "\n".join(lines[len(BANNER):])
    return p.returncode, out, err


passed, failed = 0, 0
with tempfile.TemporaryDirectory() as cache:
    for args, stdin_text in CASES:
        args = ["--no-cache"] + args
        want = run([linux_tarq] + args, stdin_text, {"XDG_CACHE_HOME": cache})
        got = run(["sh", run_wine, prefix, windows_tarq] + args, stdin_text, {})
        label = " ".join(args) + (" < " + repr(stdin_text) if stdin_text else "")
        if got == want:
            passed += 1
            continue
        failed += 1
        print(f"FAIL  tarq {label}")
        for name, w, g in zip(("status", "stdout", "stderr"), want, got):
            if w != g:
                print(f"  {name}: Linux {w!r}\n  {' ' * len(name)}  Windows {g!r}")
# With the cache on, each in a directory of its own: the same output and the
# same start-up files left behind (the thresholds file is written at exit).
with tempfile.TemporaryDirectory() as lin, tempfile.TemporaryDirectory() as win:
    args = ["-k", "frac", "1/3 + 1/6"]
    want = run([linux_tarq] + args, "", {"XDG_CACHE_HOME": lin}) + (sorted(os.listdir(lin + "/tarq")),)
    got = run(["sh", run_wine, prefix, windows_tarq] + args, "", {"XDG_CACHE_HOME": win})
    got += (sorted(os.listdir(win + "/tarq")) if os.path.isdir(win + "/tarq") else [],)
    if got == want:
        passed += 1
    else:
        failed += 1
        print(f"FAIL  tarq {' '.join(args)} with the cache\n  Linux   {want!r}\n  Windows {got!r}")
print(f"calculator on Windows and Linux: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
