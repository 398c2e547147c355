#!/usr/bin/env python3
"""Integration tests of the tarq calculator: grammar, kinds, formats, error
messages and exit codes, values against bc -l and mpmath, and the prompt
driven through a pseudo-terminal.

Usage: test_tarq.py PATH_TO_TARQ
"""
import os
import pty
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from fractions import Fraction

TARQ = None
CACHE = tempfile.mkdtemp(prefix="tarq-test-cache-")


def run(*args, stdin=None, env=None):
    e = dict(os.environ, XDG_CACHE_HOME=CACHE)
    if env:
        e.update(env)
    p = subprocess.run([TARQ, *args], input=stdin, capture_output=True, text=True, timeout=300, env=e)
    return p.returncode, p.stdout, p.stderr


def value(*args):
    code, out, err = run(*args)
    if code != 0:
        raise AssertionError(f"tarq {args} failed: {err}")
    return out.strip()


def agree(a, b, digits):
    """True when the decimal texts a and b agree to `digits` significant digits."""
    import mpmath
    mpmath.mp.dps = digits + 20
    x, y = mpmath.mpf(a), mpmath.mpf(b)
    if x == y:
        return True
    return abs(x - y) <= abs(y) * mpmath.mpf(10) ** (-digits)


class Grammar(unittest.TestCase):
    def test_precedence_and_associativity(self):
        cases = {
            "2+3*4": "14", "(2+3)*4": "20", "2^3^2": "512", "2**3**2": "512", "-2^2": "-4",
            "(-2)^2": "4", "7-2-1": "4", "100/10/5": "2", "17%5": "2", "--3": "3", "-(2+3)": "-5",
        }
        for expr, want in cases.items():
            self.assertEqual(value("-k", "int", expr), want, expr)

    def test_floats_and_notation(self):
        self.assertTrue(agree(value("2^-1"), "0.5", 30))
        self.assertTrue(agree(value("1.5e3"), "1500", 30))
        self.assertTrue(agree(value("1.5*d3"), "1500", 30))
        self.assertEqual(value("-k", "int", "&hFF + &b101"), "260")
        self.assertTrue(agree(value("10/4"), "2.5", 30))

    def test_comparisons_print_one_or_zero(self):
        for expr, want in {"1 < 2": "1", "2 <= 1": "0", "3 == 3": "1", "3 != 3": "0",
                           "2 > 1": "1", "1 >= 2": "0", "1+1 == 2": "1"}.items():
            self.assertEqual(value("-k", "int", expr), want, expr)

    def test_variables_and_ans(self):
        code, out, _ = run("-k", "int", stdin="x = 2^64\nx + 1\nans * 2\ny = x\ny - x\n")
        self.assertEqual(code, 0)
        self.assertEqual(out.split(), ["18446744073709551616", "18446744073709551617",
                                       "36893488147419103234", "18446744073709551616", "0"])

    def test_functions(self):
        self.assertEqual(value("-k", "int", "gcd(12, 18)"), "6")
        self.assertEqual(value("-k", "int", "lcm(4, 6)"), "12")
        self.assertEqual(value("-k", "int", "modinv(3, 11)"), "4")
        self.assertEqual(value("-k", "int", "powmod(2, 100, 1000000007)"), str(pow(2, 100, 1000000007)))
        self.assertEqual(value("-k", "int", "abs(-5)"), "5")
        self.assertEqual(value("gcd(12, 18)"), "6.0")
        self.assertTrue(agree(value("int(-2.75)"), "-2", 30))
        self.assertTrue(agree(value("frac(-2.75)"), "-0.75", 30))
        self.assertTrue(agree(value("sqr(3)"), "9", 30))
        self.assertTrue(agree(value("recip(4)"), "0.25", 30))


class Kinds(unittest.TestCase):
    def test_exact_integers(self):
        self.assertEqual(value("-k", "int", "2^256"), str(2 ** 256))
        self.assertEqual(value("-k", "int", "3^200 - 1"), str(3 ** 200 - 1))
        self.assertEqual(value("-k", "int", "-7 / 2"), str(int(Fraction(-7, 2))))

    def test_fractions(self):
        self.assertEqual(value("-k", "frac", "1/3 + 1/6"), "1/2")
        self.assertEqual(value("-k", "frac", "(2/3)^3"), "8/27")
        self.assertEqual(value("-k", "frac", "(2/3)^-2"), "9/4")
        f = sum(Fraction(1, k) for k in range(1, 21))
        expr = "+".join(f"1/{k}" for k in range(1, 21))
        self.assertEqual(value("-k", "frac", expr), f"{f.numerator}/{f.denominator}")

    def test_output_formats(self):
        self.assertEqual(value("-k", "int", "--hex", "255"), "&hFF")
        self.assertEqual(value("-k", "int", "--bin", "5"), "&b101")
        self.assertEqual(value("-k", "int", "--sci", "12300"), "1.23e+4")
        self.assertEqual(value("-k", "int", "--sci", "--out-digits", "2", "12567"), "1.3e+4")


class Errors(unittest.TestCase):
    def check(self, expr, message, *opts):
        code, out, err = run(*opts, expr)
        self.assertEqual(code, 1, expr)
        self.assertIn(message, err, expr)

    def test_messages(self):
        self.check("1/0", "division by zero gives +inf at column 2")
        self.check("-1/0", "division by zero gives -inf at column 3")
        self.check("modinv(2, 4)", "no modular inverse", "-k", "int")
        self.check("1 + 1.2.3", "invalid number text at column 5")
        self.check("foo(1)", "unknown function 'foo' at column 1")
        self.check("x + 1", "unknown name 'x' at column 1")
        self.check("(1+2", "expected ')' at column 5")
        self.check("1 +", "unexpected end of expression at column 4")
        self.check("2 $ 3", "unexpected character '$' at column 3")
        self.check("sqrt(1, 2)", "sqrt takes 1 argument at column 1")
        self.check("pi", "needs a float kind", "-k", "int")

    def test_other_expressions_still_run(self):
        code, out, err = run("-k", "int", "1+1", "1/0", "2+2")
        self.assertEqual(code, 1)
        self.assertEqual(out.split(), ["2", "4"])
        self.assertEqual(err.count("error"), 1)

    def test_bad_options(self):
        self.assertEqual(run("--digits", "x")[0], 2)
        self.assertEqual(run("--kind", "complex")[0], 2)
        self.assertEqual(run("--frobnicate")[0], 2)
        code, out, _ = run("--help")
        self.assertEqual(code, 0)
        self.assertIn("usage: tarq", out)


class StartupCache(unittest.TestCase):
    def test_cache_files_are_created_unless_refused(self):
        home = tempfile.mkdtemp()
        try:
            code, out, _ = run("1+1", env={"XDG_CACHE_HOME": os.path.join(home, "c")})
            self.assertEqual((code, out.strip()), (0, "2.0"))
            files = sorted(os.listdir(os.path.join(home, "c", "tarq")))
            self.assertEqual(files, ["~$TARQ_A.txt", "~$TARQ_B.txt"])
            code, out, _ = run("2+2", env={"XDG_CACHE_HOME": os.path.join(home, "c")})
            self.assertEqual((code, out.strip()), (0, "4.0"), "a second run reads the files back")
            code, _, _ = run("--no-cache", "1", env={"XDG_CACHE_HOME": os.path.join(home, "d")})
            self.assertEqual(code, 0)
            self.assertFalse(os.path.exists(os.path.join(home, "d")))
        finally:
            shutil.rmtree(home, ignore_errors=True)


class Values(unittest.TestCase):
    """Values at several precisions against mpmath and bc -l."""

    def test_against_mpmath(self):
        import mpmath
        funcs = {"sqrt(2)": lambda: mpmath.sqrt(2), "pi": lambda: mpmath.pi, "exp(1)": lambda: mpmath.e,
                 "ln(10)": lambda: mpmath.log(10), "sin(1)": lambda: mpmath.sin(1),
                 "atan(1)": lambda: mpmath.atan(1), "2^0.5": lambda: mpmath.sqrt(2),
                 "log10(2)": lambda: mpmath.log10(2), "cos(0.5)": lambda: mpmath.cos(mpmath.mpf("0.5"))}
        for digits in (20, 50, 200):
            mpmath.mp.dps = digits + 30
            for kind in ("dec", "bin"):
                for expr, f in funcs.items():
                    got = value("-d", str(digits), "-k", kind, expr)
                    self.assertTrue(agree(got, mpmath.nstr(f(), digits + 20), digits - 1),
                                    f"{expr} at {digits} digits ({kind}): {got}")

    def test_against_bc(self):
        if not shutil.which("bc"):
            self.skipTest("bc not installed")
        for expr, bcexpr in {"sqrt(2)": "sqrt(2)", "ln(3)": "l(3)", "exp(2)": "e(2)",
                             "atan(0.5)": "a(0.5)", "1/7": "1/7"}.items():
            want = subprocess.run(["bc", "-l"], input=f"scale=80; {bcexpr}\n", capture_output=True,
                                  text=True).stdout.replace("\\\n", "").strip()
            got = value("-d", "80", expr)
            self.assertTrue(agree(got, want, 79), f"{expr}: {got} vs bc {want}")


class Prompt(unittest.TestCase):
    def spawn(self):
        pid, fd = pty.fork()
        if pid == 0:
            env = dict(os.environ, XDG_CACHE_HOME=CACHE, XDG_STATE_HOME=tempfile.mkdtemp(), TERM="dumb")
            os.execve(TARQ, [TARQ, "-k", "int"], env)
        return pid, fd

    def read_until(self, fd, pattern, timeout=20):
        buf = b""
        end = time.time() + timeout
        while time.time() < end:
            r, _, _ = select.select([fd], [], [], 0.2)
            if r:
                try:
                    chunk = os.read(fd, 4096)
                except OSError:
                    break
                if not chunk:
                    break
                buf += chunk
                if re.search(pattern, buf.decode(errors="replace")):
                    return buf.decode(errors="replace")
        self.fail(f"did not see {pattern!r}; got {buf!r}")

    def test_session(self):
        pid, fd = self.spawn()
        try:
            self.read_until(fd, r"tarq> ")
            os.write(fd, b"6*7\r")
            self.read_until(fd, r"42\r?\n.*tarq> ")
            os.write(fd, b":digits 50\r")
            self.read_until(fd, r"working precision: 50 digits")
            os.write(fd, b"\x1b[A\x1b[A\r")  # history: the line before the last
            self.read_until(fd, r"42\r?\n.*tarq> ")
            os.write(fd, b"12345\x03")  # Ctrl-C abandons the typed line
            self.read_until(fd, r"\^C")
            os.write(fd, b"ans + 1\r")
            self.read_until(fd, r"43\r?\n")
            os.write(fd, b"1/0\r")
            self.read_until(fd, r"error: division by zero")
            os.write(fd, b":quit\r")
            _, status = os.waitpid(pid, 0)
            self.assertEqual(os.WEXITSTATUS(status), 0)
        finally:
            os.close(fd)


if __name__ == "__main__":
    TARQ = os.path.abspath(sys.argv.pop(1))
    try:
        unittest.main(verbosity=1)
    finally:
        shutil.rmtree(CACHE, ignore_errors=True)
