"""TARQ from Python against mpmath and decimal at 38 and 1,000 digits.

    TARQ_LIBRARY=build/libtarq.so python3 bindings/python/bench.py

Times sqrt(2), exp(x), sin(x) and a 100,000-term series (the sum of 1/k^2,
one division and one addition per term, so mostly per-call cost) with each
library at the same number of digits, best of several runs, and prints the
ratios (> 1: TARQ is slower). Then splits one TARQ addition from Python into
the ctypes call, the library's work and the package's own marshalling.
"""
import decimal
import os
import sys
import timeit
from decimal import Decimal

import mpmath

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tarq  # noqa: E402
from tarq._lib import lib  # noqa: E402

TERMS = 100_000


def best(fn, number):
    return min(timeit.repeat(fn, number=number, repeat=5)) / number


def series_tarq():
    s = tarq.Dec(0)
    for k in range(1, TERMS + 1):
        s = s + tarq.Dec(1) / (k * k)
    return s


def series_mpmath():
    s, one = mpmath.mpf(0), mpmath.mpf(1)
    for k in range(1, TERMS + 1):
        s += one / (k * k)
    return s


def series_decimal():
    s, one = Decimal(0), Decimal(1)
    for k in range(1, TERMS + 1):
        s += one / (k * k)
    return s


def row(name, t_tarq, t_mp, t_dec):
    def fmt(t):
        return f"{t * 1e6:12.2f} us" if t is not None else "           -"

    ratio = lambda t: f"{t_tarq / t:8.2f}" if t else "       -"  # noqa: E731
    print(f"{name:<14}{fmt(t_tarq)}{fmt(t_mp)}{fmt(t_dec)}   {ratio(t_mp)} {ratio(t_dec)}")


def main():
    print(f"library {tarq.library_path}; mpmath {mpmath.__version__} (backend {mpmath.libmp.BACKEND})")
    for digits in (38, 1000):
        tarq.setprecision(digits)
        mpmath.mp.dps = digits
        decimal.getcontext().prec = digits
        x_t, x_m, x_d = tarq.Dec("1.2345"), mpmath.mpf("1.2345"), Decimal("1.2345")
        two_t, two_m, two_d = tarq.Dec(2), mpmath.mpf(2), Decimal(2)
        n = 2000 if digits == 38 else 50
        print(f"\n{digits} digits       TARQ          mpmath        decimal      TARQ/mpmath TARQ/decimal")
        row("sqrt(2)", best(lambda: tarq.sqrt(two_t), n), best(lambda: mpmath.sqrt(two_m), n),
            best(lambda: two_d.sqrt(), n))
        row("exp(1.2345)", best(lambda: tarq.exp(x_t), n), best(lambda: mpmath.exp(x_m), n),
            best(lambda: x_d.exp(), n))
        row("sin(1.2345)", best(lambda: tarq.sin(x_t), n), best(lambda: mpmath.sin(x_m), n), None)
        runs = dict(number=1, repeat=1 if digits == 1000 else 3)
        row("series 1e5", min(timeit.repeat(series_tarq, **runs)), min(timeit.repeat(series_mpmath, **runs)),
            min(timeit.repeat(series_decimal, **runs)))

    # Where the time of one addition from Python goes, at 38 digits.
    tarq.setprecision(38)
    a, b = tarq.Dec("1.5"), tarq.Dec("2.25")
    r = tarq.Dec(0)
    n = 200_000
    t_op = best(lambda: a + b, n)
    t_raw = best(lambda: lib.TQ_ADD(a.handle, b.handle, r.handle), n)
    t_call = best(lambda: lib.TQ_ISZERO(r.handle), n)
    t_alloc = best(lambda: lib.TQ_UNALLOCVAR(lib.TQ_ALLOCVAR(1)), n)
    t_int = best(lambda: a + 1, n)
    print("\nper call at 38 digits:")
    print(f"  a + b from Python            {t_op * 1e6:7.2f} us")
    print(f"  TQ_ADD through ctypes        {t_raw * 1e6:7.2f} us  (of which a trivial ctypes call {t_call * 1e6:.2f} us)")
    print(f"  allocate + free a variable   {t_alloc * 1e6:7.2f} us")
    print(f"  package overhead per a + b   {(t_op - t_raw) * 1e6:7.2f} us  (result object, its variable, checks)")
    print(f"  a + 1 (Python int converted) {t_int * 1e6:7.2f} us")


if __name__ == "__main__":
    main()
