"""Values against mpmath, fractions and decimal on random inputs (fixed seeds)."""
import decimal
import random
from decimal import Decimal
from fractions import Fraction

import mpmath
import pytest

import tarq

FUNCS = [  # name, mpmath function, input range
    ("sqrt", mpmath.sqrt, (0, 1e6)), ("exp", mpmath.exp, (-50, 50)), ("log", mpmath.log, (1e-9, 1e9)),
    ("log2", lambda x: mpmath.log(x, 2), (1e-9, 1e9)), ("log10", mpmath.log10, (1e-9, 1e9)),
    ("sin", mpmath.sin, (-100, 100)), ("cos", mpmath.cos, (-100, 100)), ("tan", mpmath.tan, (-1.5, 1.5)),
    ("atan", mpmath.atan, (-1e3, 1e3)), ("asin", mpmath.asin, (-1, 1)),
]


@pytest.mark.parametrize("digits", [38, 100])
@pytest.mark.parametrize("kind", [tarq.Dec, tarq.Bin])
@pytest.mark.parametrize("name,ref,rng", FUNCS, ids=[f[0] for f in FUNCS])
def test_functions_against_mpmath(name, ref, rng, kind, digits):
    rnd = random.Random(hash((name, digits)) & 0xFFFF)
    with tarq.precision(digits), mpmath.workdps(digits + 20):
        for _ in range(12):
            x = Fraction(rnd.uniform(*rng)).limit_denominator(10**12)
            got = getattr(tarq, name)(kind(x))
            want = ref(mpmath.mpf(x.numerator) / x.denominator)
            err = abs(mpmath.mpf(got.numerator) / got.denominator - want)
            # The library's results hold fewer digits than asked: binary floats
            # lose up to a word at the top (about 30 good digits at 38), so the
            # bound checks the marshalling, not the last digits.
            slack = 12 if kind is tarq.Bin else 6
            assert err <= abs(want) * mpmath.mpf(10) ** (slack - digits), (x, got)


def test_constants_against_mpmath():
    with tarq.precision(60), mpmath.workdps(80):
        for name, want in [("pi", mpmath.pi), ("e", mpmath.e), ("ln2", mpmath.ln2), ("ln10", mpmath.ln10),
                           ("sqrt2", mpmath.sqrt(2))]:
            for kind in (tarq.DEC, tarq.BIN):
                got = tarq.constant(name, kind)
                assert abs(mpmath.mpf(got.numerator) / got.denominator - want) < mpmath.mpf(10) ** -58, name
        assert str(tarq.pi).startswith("3.14159265358979323846264338327950288419716939937510582097494")


def test_exact_kinds_against_fractions():
    rnd = random.Random(16)
    for _ in range(200):
        a = rnd.randrange(-10**rnd.randrange(1, 80), 10**rnd.randrange(1, 80))
        b = rnd.randrange(1, 10**rnd.randrange(1, 60)) * rnd.choice((1, -1))
        A, B = tarq.Int(a), tarq.Int(b)
        assert (int(A + B), int(A - B), int(A * B), int(A // B), int(A % B)) == (a + b, a - b, a * b, a // b, a % b)
        assert (A / B).as_fraction() == Fraction(a, b) and (A < B) == (a < b) and hash(A) == hash(a)
        assert int(tarq.gcd(A, B)) == __import__("math").gcd(a, b)
        f, g = Fraction(a, rnd.randrange(1, 10**30)), Fraction(b, rnd.randrange(1, 10**30))
        F, G = tarq.Frac(f), tarq.Frac(g)
        for got, want in [(F + G, f + g), (F - G, f - g), (F * G, f * g), (F / G, f / g), (F ** 3, f ** 3)]:
            assert got.as_fraction() == want and hash(got) == hash(want)
        assert (F < G) == (f < g) and (F == f) and str(F) == (str(f) if f.denominator != 1 else f"{f}/1")


def test_decimal_arithmetic_against_decimal():
    rnd = random.Random(38)
    ctx = decimal.Context(prec=80)
    with tarq.precision(38):
        for _ in range(200):
            a = Decimal(rnd.randrange(-10**30, 10**30)).scaleb(rnd.randrange(-40, 40))
            b = Decimal(rnd.randrange(1, 10**30)).scaleb(rnd.randrange(-40, 40))
            A, B = tarq.Dec(a), tarq.Dec(b)
            assert A.as_decimal() == a and hash(A) == hash(a)  # 30 digits are held exactly
            for got, want in [(A + B, ctx.add(a, b)), (A - B, ctx.subtract(a, b)), (A * B, ctx.multiply(a, b)),
                              (A / B, ctx.divide(a, b))]:
                assert abs(got.as_decimal() - want) <= abs(want) * Decimal("1e-37"), (a, b)


def test_exact_conversions():
    rnd = random.Random(5)
    for _ in range(100):
        x = rnd.uniform(-1e300, 1e300) * 10.0 ** rnd.randrange(-600, 0)
        b = tarq.Bin(x)  # 53 bits fit the default precision
        assert float(b) == x and b.as_fraction() == Fraction(x) and hash(b) == hash(x) and b == x
        assert Fraction(b) == Fraction(x) and b.as_decimal() == Decimal(x)
        d = tarq.Dec(Decimal(repr(x)))
        assert float(d) == x and d.as_decimal() == Decimal(repr(x)) and hash(d) == hash(Decimal(repr(x)))
    big = 7**5000  # beyond Python's limit for decimal int texts
    assert int(tarq.Int(big)) == big and int(tarq.Int(big) + 1) == big + 1 and str(tarq.Int(10**50)) == "1" + "0" * 50


def test_text_and_format():
    with tarq.precision(38):
        cases = [(tarq.Dec("1.5"), "1.5"), (tarq.Dec("1.5e3"), "1500.0"), (tarq.Dec(-2), "-2.0"),
                 (tarq.Dec("1e50") / 7, "1.4285714285714285714285714285714285714e+49"), (tarq.Dec("1e-9"), "1e-9"),
                 (tarq.Bin(0.5), "0.5"), (tarq.Int(-12), "-12"), (tarq.Frac(6, -4), "-3/2"), (tarq.Dec(0), "0.0")]
        for x, text in cases:
            assert str(x) == text
        assert repr(tarq.Dec("1.5")) == "tarq.Dec('1.5')" and repr(tarq.Frac(1, 3)) == "tarq.Frac(1, 3)"
        third = tarq.Dec(1) / 3
        assert f"{third:.50f}" == format(third.as_decimal(), ".50f") and f"{third:.3e}" == "3.333e-1"
        assert f"{tarq.Frac(1, 3):.10f}" == "0.3333333333" and f"{tarq.Int(255):x}" == "ff"
        assert f"{tarq.Bin(0.1):.20f}" == f"{0.1:.20f}"
        assert tarq.Dec("&hFF") == 255 and tarq.Dec("1.5*d3") == 1500 and tarq.Frac("0.25") == Fraction(1, 4)
