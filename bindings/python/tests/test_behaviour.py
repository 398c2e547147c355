"""Operators with every Python numeric type, the precision context,
exceptions, object lifetime and pickling."""
import operator
import pickle
from decimal import Decimal
from fractions import Fraction

import pytest

import tarq
from tarq._lib import lib

OPS = [operator.add, operator.sub, operator.mul, operator.truediv, operator.lt, operator.eq, operator.ge]
PY = [7, -3, Fraction(5, 4), 0.375, Decimal("2.5")]
KINDS = [tarq.Int, tarq.Frac, tarq.Dec, tarq.Bin]


def result_kind(k, py):
    """Int < Frac < float kinds; a Python float brings Bin and a Decimal Dec unless a float kind is there."""
    natural = {int: tarq.Int, Fraction: tarq.Frac, float: tarq.Bin, Decimal: tarq.Dec}[type(py)]
    rank = {tarq.Int: 0, tarq.Frac: 1, tarq.Dec: 2, tarq.Bin: 2}
    return k if rank[k] >= rank[natural] else natural


@pytest.mark.parametrize("kind", KINDS, ids=lambda k: k.__name__)
@pytest.mark.parametrize("py", PY, ids=repr)
def test_operators_both_sides(kind, py):
    x = kind(6)
    for op in OPS:
        for got, want in [(op(x, py), op(Fraction(6), Fraction(py))), (op(py, x), op(Fraction(py), Fraction(6)))]:
            if isinstance(want, bool):
                assert got is want, (op, py)
            else:
                expect = tarq.Frac if op is operator.truediv and result_kind(kind, py) is tarq.Int else \
                    result_kind(kind, py)
                exact = expect in (tarq.Int, tarq.Frac)
                assert type(got) is expect, (op, py, got)
                assert abs(got.as_fraction() - want) <= (0 if exact else abs(want) * Fraction(1, 10**28)), (op, py)
    if kind(py) == py:
        assert hash(kind(py)) == hash(py)


def test_floor_division_and_powers():
    for a, b in [(7, 2), (-7, 2), (7, -2), (-7, -2)]:
        for kind in KINDS:
            q, r = divmod(kind(a), kind(b))
            assert (q, r) == divmod(a, b) and kind(a) // b == a // b and a % kind(b) == a % b
    assert tarq.Int(2) ** -2 == Fraction(1, 4) and tarq.Frac(2, 3) ** 3 == Fraction(8, 27)
    assert pow(tarq.Int(3), 10**18, 2**61 - 1) == pow(3, 10**18, 2**61 - 1) == tarq.powmod(3, 10**18, 2**61 - 1)
    assert 2 ** tarq.Dec(10) == 1024 and tarq.root(tarq.Int(10**30 + 5), 3) == 10**10
    assert int(tarq.modinv(17, 3120)) == 2753 and tarq.lcm(4, 6) == 12


def test_precision_context():
    start = tarq.getprecision()
    with tarq.precision(100) as digits:
        assert digits >= 100 and tarq.getprecision() == digits
        with tarq.precision(bits=256):
            assert tarq.getprecision(bits=True) == 256
        assert tarq.getprecision() == digits
        assert len(str(tarq.Dec(1) / 3)) >= 100
    assert tarq.getprecision() == start
    with pytest.raises(tarq.DivisionByZero):
        with tarq.precision(500):
            tarq.Dec(1) / 0
    assert tarq.getprecision() == start
    with pytest.raises(TypeError):
        tarq.precision(10, bits=64)


@pytest.mark.parametrize("call,exc", [
    (lambda: tarq.Dec(1) / 0, tarq.DivisionByZero), (lambda: tarq.Int(1) // 0, ZeroDivisionError),
    (lambda: tarq.log(tarq.Dec(-1)), tarq.InvalidOperation), (lambda: tarq.modinv(2, 4), tarq.NoInverse),
    (lambda: tarq.Dec("12x"), tarq.InvalidOperation), (lambda: tarq.Dec(1) + tarq.Bin(1), tarq.KindMismatch),
    (lambda: tarq.exp(tarq.Int(2)), tarq.KindMismatch), (lambda: tarq.Dec(-1) ** tarq.Dec("0.5"), tarq.SpecialResult),
    (lambda: tarq.Dec(1) + "1", TypeError),
], ids=["div0", "intdiv0", "log-1", "noinverse", "badtext", "mix", "expint", "nan", "str"])
def test_exceptions(call, exc):
    with pytest.raises(exc) as e:
        call()
    if isinstance(e.value, tarq.TarqError):
        assert e.value.status and e.value.bits


def test_specials_only_when_asked():
    with tarq.allow_specials():
        assert float(tarq.Dec(1) / 0) == float("inf") and str(tarq.Dec(-1) ** tarq.Dec("0.5")) == "nan"
    with pytest.raises(tarq.SpecialResult):
        tarq.Dec(-1) ** tarq.Dec("0.5")


def test_no_handle_leak():
    x = tarq.Dec("1.5")
    for _ in range(1000):
        x + x
    high = lib.TQ_GETOPTION(10)  # the highest handle ever allocated
    for _ in range(1_000_000):
        x + x
    assert lib.TQ_GETOPTION(10) == high


def test_pickling():
    with tarq.precision(50):
        values = [tarq.Dec(1) / 3, tarq.Bin(1) / 3, tarq.Int(-(7**300)), tarq.Frac(-2, 9), tarq.pi]
        for v in values:
            w = pickle.loads(pickle.dumps(v))
            assert type(w) is type(v) and w == v and w.handle != v.handle


def test_threads_share_the_library():
    import threading
    results, errors = {}, []

    def work(seed):
        try:
            acc = tarq.Int(seed)
            for k in range(1, 3000):
                acc = acc * 3 % 1000003 + k
            results[seed] = int(acc)
        except Exception as e:  # reported below, not lost in the thread
            errors.append(e)

    threads = [threading.Thread(target=work, args=(s,)) for s in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for s in range(4):
        acc = s
        for k in range(1, 3000):
            acc = acc * 3 % 1000003 + k
        assert results.get(s) == acc and not errors
