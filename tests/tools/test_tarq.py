#!/usr/bin/env python3
"""Integration tests of the tarq calculator: grammar, kinds, formats, error
messages and exit codes, values against mpmath, and the prompt
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


# One line per case: options and expression -> what standard output shows
# ("!text": the run fails with status 1 and `text` in the error message).
TABLE = [
    # grammar, in the integer kind
    ("-k int", "2+3*4", "14"), ("-k int", "(2+3)*4", "20"), ("-k int", "2^3^2", "512"), ("-k int", "2**3**2", "512"),
    ("-k int", "-2^2", "-4"), ("-k int", "(-2)^2", "4"), ("-k int", "7-2-1", "4"), ("-k int", "100/10/5", "2"),
    ("-k int", "17%5", "2"), ("-k int", "--3", "3"), ("-k int", "-(2+3)", "-5"), ("-k int", "&hFF + &b101", "260"),
    ("-k int", "1 < 2", "1"), ("-k int", "2 <= 1", "0"), ("-k int", "3 == 3", "1"), ("-k int", "3 != 3", "0"),
    ("-k int", "2 > 1", "1"), ("-k int", "1 >= 2", "0"), ("-k int", "1+1 == 2", "1"),
    ("-k int", "2^256", str(2 ** 256)), ("-k int", "3^200 - 1", str(3 ** 200 - 1)), ("-k int", "-7 / 2", "-3"),
    # the remainder has the dividend's sign in every kind
    ("-k int", "-7 % 3", "-1"), ("-k int", "7 % -3", "1"), ("", "7%3", "1"), ("", "-7.5 % 2", "-1.5"),
    ("-k bin", "7.5 % 2", "1.5"), ("-k frac", "7/2 % 1", "1/2"), ("", "1 % 0", "!remainder of a division by zero"),
    # number theory: whole arguments; modular results in [0, m) or (m, 0]
    ("-k int", "gcd(12, 18)", "6"), ("-k int", "lcm(4, 6)", "12"), ("-k int", "modinv(3, 11)", "4"),
    ("-k int", "powmod(2, 100, 1000000007)", str(pow(2, 100, 1000000007))), ("-k int", "abs(-5)", "5"),
    ("-k int", "powmod(5, 0, 1)", "0"), ("-k int", "modinv(3, -7)", "-2"), ("-k int", "powmod(-2, 3, 7)", "6"),
    ("-k int", "powmod(2, -1, 7)", "4"), ("-k int", "powmod(3, 2, -7)", "-5"), ("", "gcd(12, 18)", "6"),
    ("-k frac", "gcd(1/2, 3)", "!gcd takes whole numbers"), ("-k int", "powmod(2, 3, 0)", "!non-zero modulus"),
    ("-k int", "modinv(2, 4)", "!no modular inverse"),
    # fractions: exact, also from decimal, hexadecimal and binary text
    ("-k frac", "1/3 + 1/6", "1/2"), ("-k frac", "(2/3)^3", "8/27"), ("-k frac", "(2/3)^-2", "9/4"),
    ("-k frac", "+".join(f"1/{k}" for k in range(1, 21)), str(sum(Fraction(1, k) for k in range(1, 21)))),
    ("-k frac", "0.5", "1/2"), ("-k frac", "1.25e-3", "1/800"), ("-k frac", "2.5*2", "5/1"),
    ("-k frac", "&hFF.8", "511/2"), ("-k frac --sci", "1/3+1/6", "1/2"), ("-k frac", "-0", "0"),
    # display of floats: significant digits, whole numbers without a point
    ("", "2^-1", "0.5"), ("", "1.5e3", "1500"), ("", "1000", "1000"), ("", "1.5*d3", "1500"), ("", "10/4", "2.5"),
    ("", "1 < 2", "1"), ("", "int(-2.75)", "-2"), ("", "frac(-2.75)", "-0.75"), ("", "sqr(3)", "9"),
    ("", "recip(4)", "0.25"), ("-d 3", "1/3000", "0.000333"), ("-d 1", "0.05", "0.05"),
    ("--out-digits 3", "0.000123456", "0.000123"), ("", "sqrt(1e-9)", "0.000031622776601683793319988935444327185337"),
    ("", "1e38/3", "3.3333333333333333333333333333333333333e+37"), ("", "1e-7/3", "3.3333333333333333333333333333333333333e-8"),
    ("", "-0", "0"), ("-k bin", "0.001", "0.001"), ("", "1/3*3", "1.0"), ("", "2^200", "1.6069380442589902755419620923411626025e+60"),
    ("-d 5 --out-digits 60", "atan(2)", "1.10714871779409050301706546017853704007004764540143264667654"),
    ("--sci", "1000", "1e+3"), ("--sci", "1e50/7", "1.4285714285714285714285714285714285714e+49"),
    ("-k int --sci", "12300", "1.23e+4"), ("-k int --sci --out-digits 2", "12567", "1.3e+4"),
    ("-k int --hex", "255", "&hFF"), ("-k int --bin", "5", "&b101"), ("--hex", "255.5", "&hFF.8"),
    # cancellation is verified away; functions at their edges
    ("", "(1e30 + 1) - 1e30", "1"), ("-k bin -d 20", "1e20 + 1 - 1e20", "1"), ("", "root(-8, 3)", "-2"),
    # a zero at both precisions is raised too; a rational line is also evaluated exactly
    ("", "(1 + 1e-250) - 1", "1e-250"), ("-k bin", "(1 + 1e-250) - 1", "1e-250"), ("", "(1 + 1e-250) > 1", "1"),
    ("", "(1 + 1e-600) * 3 - 3", "3e-600"), ("", "1 - 1", "0"), ("", "sin(0)", "0"),
    ("", "atan(*+inf)", "1.5707963267948966192313216916397514421"), ("", "atan(*-inf)", "-1.5707963267948966192313216916397514421"),
    ("", "tan(pi/2)", "!no digit of the result could be verified"),
    # number notation
    ("", "1*h10", "18446744073709551616"), ("", "1.5*b10", "6"), ("", "2\u22121", "1"), ("", "6\u00f72", "3"),
    ("", "2\u20ac1", "!unexpected character '\u20ac' (U+20AC) at column 2"),
    # errors name the place and the cause
    ("", "1/0", "!division by zero gives +inf at column 2"), ("", "-1/0", "!division by zero gives -inf at column 3"),
    ("", "1 + 1.2.3", "!invalid number text at column 5"), ("", "foo(1)", "!unknown function 'foo' at column 1"),
    ("", "x + 1", "!unknown name 'x' at column 1"), ("", "(1+2", "!expected ')' at column 5"),
    ("", "1 +", "!unexpected end of expression at column 4"), ("", "2 $ 3", "!unexpected character '$' at column 3"),
    ("", "sqrt(1, 2)", "!sqrt takes 1 argument at column 1"), ("-k int", "pi", "!needs a float kind"),
]


class Table(unittest.TestCase):
    def test_table(self):
        for opts, expr, want in TABLE:
            code, out, err = run(*opts.split(), "--", expr)
            with self.subTest(opts=opts, expr=expr):
                if want.startswith("!"):
                    self.assertEqual(code, 1, out)
                    self.assertIn(want[1:], err)
                else:
                    self.assertEqual((code, out.strip()), (0, want), err)


class Lines(unittest.TestCase):
    def test_variables_ans_and_commands_on_standard_input(self):
        code, out, err = run(stdin="x = 2^64\nx + 1\nans * 2\ny = x\ny - x\n:digits 50\npi\n:kind int\n"
                                   "7/2\n:format hex\n255\n:frobnicate\n:quit\n1+1\n")
        self.assertEqual(code, 1, "the unknown command counts as a failure")
        self.assertEqual(out.split("\n")[:11], [
            "18446744073709551616", "18446744073709551617", "36893488147419103234", "18446744073709551616", "0",
            "working precision: 50 digits", "3.1415926535897932384626433832795028841971693993751", "kind: int", "3",
            "output format: hex", "&hFF"])
        self.assertIn("unknown command :frobnicate", err)
        self.assertNotIn("2\n", out[-2:], ":quit stops reading")

    def test_other_expressions_still_run(self):
        code, out, err = run("-k", "int", "1+1", "1/0", "2+2")
        self.assertEqual(code, 1)
        self.assertEqual(out.split(), ["2", "4"])
        self.assertEqual(err.count("error"), 1)

    def test_bad_options(self):
        self.assertEqual(run("--digits", "x")[0], 2)
        for opts in (("-d", "999989"), ("-d", "100000001"), ("--out-digits", "1000000"), ("-b", "3321953")):
            code, _, err = run(*opts, "1")
            self.assertEqual(code, 2, opts)
            self.assertIn("at most 999988 digits or 3321952 bits", err)
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
            self.assertEqual((code, out.strip()), (0, "2"))
            files = sorted(os.listdir(os.path.join(home, "c", "tarq")))
            self.assertEqual(files, ["~$TARQ_A.txt", "~$TARQ_B.txt"])
            code, out, _ = run("2+2", env={"XDG_CACHE_HOME": os.path.join(home, "c")})
            self.assertEqual((code, out.strip()), (0, "4"), "a second run reads the files back")
            code, _, _ = run("--no-cache", "1", env={"XDG_CACHE_HOME": os.path.join(home, "d")})
            self.assertEqual(code, 0)
            self.assertFalse(os.path.exists(os.path.join(home, "d")))
        finally:
            shutil.rmtree(home, ignore_errors=True)


class Values(unittest.TestCase):
    """Values at several precisions against mpmath."""

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

    def test_only_verified_digits_are_shown(self):
        """Ill-conditioned tangents near pi/2: every digit shown is right, and a
        note says so when fewer than the 38 asked for could be verified."""
        import mpmath
        mpmath.mp.dps = 600
        notes = 0
        # pi/2 to n digits; then 400 digits 1.234e-215 below pi/2, which a
        # working precision of about 230 digits reads only to about 20 digits
        # of pi/2 - x.
        cases = [mpmath.nstr(mpmath.pi / 2, n, strip_zeros=False) for n in (60, 150, 225)]
        cases.append(mpmath.nstr(mpmath.pi / 2 - mpmath.mpf("1.234e-215"), 400, strip_zeros=False))
        for n, x in enumerate(cases):
            code, out, err = run(f"tan({x})")
            self.assertEqual(code, 0, err)
            shown = out.strip()
            digits = len(shown.split("e")[0].replace("-", "").replace(".", ""))
            m = re.search(r"only (\d+) of 38 digits", err)
            notes += bool(m)
            self.assertEqual(digits, int(m.group(1)) if m else 38, (n, shown, err))
            self.assertEqual(mpmath.mpf(shown), mpmath.mpf(mpmath.nstr(mpmath.tan(mpmath.mpf(x)), digits)), n)
        self.assertGreater(notes, 0, "some case runs out of the bounded effort")


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
            # Ctrl-C stops a computation of minutes (thirty exponentials at
            # 100,000 digits, seen running by the indicator): the work has
            # ended, no thread is left behind, and the next line answers.
            os.write(fd, b":kind dec\r:digits 100000\r")
            self.read_until(fd, r"working precision: 100000 digits")
            os.write(fd, "+".join(f"exp({k}/7)" for k in range(1, 31)).encode() + b"\r")
            self.read_until(fd, r"\[computing")
            os.write(fd, b"\x03")
            self.read_until(fd, r"\^C \(interrupted\)", timeout=60)
            self.assertEqual(os.listdir(f"/proc/{pid}/task"), [str(pid)])
            os.write(fd, b"ans + 0.5\r")
            self.read_until(fd, r"43\.5\r?\n")
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
