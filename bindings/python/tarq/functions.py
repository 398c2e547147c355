"""Elementary functions, number theory and the constants.

Arguments may be tarq numbers or Python numbers: int, Fraction, Decimal and
numeric strings become Dec, float becomes Bin. A function keeps its
argument's kind; on Int, sqrt and root are the exact integer roots (floors).
"""

from . import errors
from ._lib import lib as L
from .number import BIN, DEC, INT, Number, _as, _binary, _fail, _new, _power, _raw, _unary

_CONSTANT_CODES = {"ln2": 1, "ln10": 2, "sqrt2": 7, "pi": 8}


def _arg(x):
    if isinstance(x, Number):
        return x
    return _new(BIN if isinstance(x, float) else DEC, x)


def _make(fn, what, doc):
    def f(x):
        return _unary(fn, _arg(x), what)
    f.__name__, f.__doc__ = what, doc
    return f


sqrt = _make(L.TQ_SQRT, "sqrt", "Square root (the integer square root of an Int).")
exp = _make(L.TQ_EXP, "exp", "e ** x.")
exp2 = _make(L.TQ_EXP2, "exp2", "2 ** x.")
exp10 = _make(L.TQ_EXP10, "exp10", "10 ** x.")
log = _make(L.TQ_LOG, "log", "Natural logarithm.")
log2 = _make(L.TQ_LOG2, "log2", "Logarithm to base 2.")
log10 = _make(L.TQ_LOG10, "log10", "Logarithm to base 10.")
sin = _make(L.TQ_SIN, "sin", "Sine (radians).")
cos = _make(L.TQ_COS, "cos", "Cosine (radians).")
tan = _make(L.TQ_TAN, "tan", "Tangent (radians).")
atan = _make(L.TQ_ATAN, "atan", "Arc tangent.")
asin = _make(L.TQ_ASIN, "asin", "Arc sine.")


def acos(x):
    """Arc cosine, as pi/2 - asin(x)."""
    x = _arg(x)
    return constant("pi", x._kind) / 2 - asin(x)


def pow(x, y):
    """x ** y; an Int to a negative power gives a Frac."""
    return _power(_arg(x), y)


def root(x, n):
    """The n-th root: exact floor on Int, x ** (1/n) on floats (negative x for odd n)."""
    x = _arg(x)
    if x._kind == INT:
        nn = _as(n, INT)
        r, rem = _raw(INT), _raw(INT)
        st = L.TQ_ROOT(x._h, nn._h, 0, r._h, rem._h)
        if st:
            _fail(st, "root")
        return r
    n = int(n)
    if n < 1:
        raise errors.InvalidOperation(1, "root: n must be a positive integer")
    if x < 0 and n % 2:
        return -_power(-x, _new(x._kind, 1) / n)
    return _power(x, _new(x._kind, 1) / n)


def _int2(fn, what):
    def f(a, b):
        return _binary(fn, _as(a, INT) if not isinstance(a, Number) else a,
                       _as(b, INT) if not isinstance(b, Number) else b, what)
    f.__name__ = what
    return f


gcd = _int2(L.TQ_GCD, "gcd")
lcm = _int2(L.TQ_LCM, "lcm")
modinv = _int2(L.TQ_MODINV, "modinv")
gcd.__doc__, lcm.__doc__, modinv.__doc__ = ("Greatest common divisor of big integers.",
                                            "Least common multiple of big integers.",
                                            "The inverse of a modulo m (NoInverse when there is none).")


def constant(name, kind=DEC):
    """pi, e, ln2, ln10 or sqrt2 at the working precision, as a Dec (or the kind given)."""
    if name == "e":
        return exp(_new(kind, 1))
    if name not in _CONSTANT_CODES:
        raise ValueError(f"no constant {name!r}; there are pi, e, ln2, ln10, sqrt2")
    r = _raw(kind)
    st = L.TQ_GETCONST(_CONSTANT_CODES[name], r._h)
    if st:
        _fail(st, name)
    return r
