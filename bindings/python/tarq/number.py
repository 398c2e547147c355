"""The four number kinds over library variables: Dec, Bin, Int and Frac.

Each object owns one variable handle, freed when the object dies, and is
immutable from Python: every operation writes a new variable. Python numbers
(int, float, Fraction, Decimal) are converted exactly into a variable before
an operation (floats are then cut to the working precision). Kinds meet as
follows: Int < Frac < the floats Dec and Bin, the result taking the higher
kind; a Python float meeting an Int or Frac gives a Bin, a Decimal a Dec; Dec
and Bin do not mix (convert one explicitly).
"""
import ctypes
import decimal
import math
import numbers
import re
import sys
from decimal import Decimal
from fractions import Fraction

from . import errors
from ._lib import lib as L

DEC, BIN, INT, FRAC = 1, 2, 3, 4
_NORMAL, _SCI, _INTMANT, _FDEC, _FHEX = 1, 2, 4, 8, 16
_RANK = {INT: 0, FRAC: 1, DEC: 2, BIN: 2}
_SPECIAL_TEXT = {"*+inf": math.inf, "*-inf": -math.inf, "*NaN": math.nan}
_HASH_P = sys.hash_info.modulus


class _Settings:
    """Process-wide switches (the working precision lives in the library)."""
    specials = False  # True: infinite and NaN results are returned, not raised


settings = _Settings()


def _fail(status, what, divisor=None):
    if status == 8 and settings.specials:
        return
    division = divisor is not None and L.TQ_ISZERO(divisor._h) == 1
    raise errors.error_for(status, what, division)


def _alloc(kind):
    h = L.TQ_ALLOCVAR(kind)
    if h < 0:
        raise errors.TarqError(1, "allocating a variable")
    return h


def _text(h, fmt, digits=0):
    p = ctypes.c_void_p()
    st = L.TQ_GET_STRING(h, fmt, digits, ctypes.byref(p))
    s = ctypes.string_at(p.value).decode("latin-1") if p.value else ""
    L.TQ_DS_FREE(p)
    if st:
        _fail(st, "formatting")
    return s


def _put(h, text):
    b = text.encode("latin-1")
    st = L.TQ_PUTSTRING_FROMADD(b, len(b), h)
    if st:
        raise errors.error_for(st, f"reading {text[:40]!r}")


def _hex(n):
    return f"-&h{-n:x}" if n < 0 else f"&h{n:x}"


_PY_NUMBER = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?")
_PY_SPECIAL = {"inf": "*+inf", "+inf": "*+inf", "infinity": "*+inf", "-inf": "*-inf", "-infinity": "*-inf",
               "nan": "*NaN", "+nan": "*NaN", "-nan": "*NaN"}


def _library_text(s, kind):
    """A Python-style number text in the library's notation; other texts pass as they are."""
    s = s.strip().replace("_", "")
    low = s.lower()
    if low in _PY_SPECIAL:
        return _PY_SPECIAL[low]
    if kind == FRAC:
        try:
            f = Fraction(s)
        except ValueError:
            return s
        return f"{_hex(f.numerator)}/&h{f.denominator:x}"
    m = _PY_NUMBER.fullmatch(s)
    if m and m.group(2):
        return f"{s[:m.start(2)]}*d{int(m.group(2)[1:])}"
    return s


def _float_text(x, kind):
    """A Python float exactly, in the library's notation."""
    if not math.isfinite(x):
        return "*NaN" if x != x else ("*+inf" if x > 0 else "*-inf")
    if kind == DEC:
        return _decimal_text(Decimal(x))
    n, d = x.as_integer_ratio()  # d = 2^k; written as n' / 16^e
    k = d.bit_length() - 1
    pad = -k % 4
    return f"{_hex(n << pad)}*h-{(k + pad) // 4:x}"


def _decimal_text(x):
    if not x.is_finite():
        return "*NaN" if x.is_nan() else ("*-inf" if x.is_signed() else "*+inf")
    sign, digits, exp = x.as_tuple()
    return f"{'-' if sign else ''}{''.join(map(str, digits))}*d{exp}"


def _store(h, kind, v):
    """Writes Python number or Number v into variable h of the given kind."""
    if isinstance(v, Number):
        st = L.TQ_COPYVAR(v._h, h) if v._kind == kind else L.TQ_CONVERTDT(v._h, h)
        if st:
            _fail(st, "converting")
    elif isinstance(v, int):
        if -0x80000000 <= v <= 0x7FFFFFFF:
            st = L.TQ_PUTLONG(v, h)
            if st:
                _fail(st, "storing an integer")
        else:
            _put(h, f"{_hex(v)}/&h1" if kind == FRAC else _hex(v))
    elif isinstance(v, float):
        if kind == INT:
            _put(h, _hex(int(v)))
        elif kind == FRAC:
            _store(h, kind, Fraction(v))
        else:
            _put(h, _float_text(v, kind))
    elif isinstance(v, Fraction):
        if kind == INT:
            _put(h, _hex(int(v)))
        elif kind == FRAC:
            _put(h, f"{_hex(v.numerator)}/&h{v.denominator:x}")
        else:
            num, den = _new(kind, v.numerator), _new(kind, v.denominator)
            st = L.TQ_DIV(num._h, den._h, h)
            if st:
                _fail(st, "converting a fraction")
    elif isinstance(v, Decimal):
        if kind in (DEC, BIN):
            _put(h, _decimal_text(v))
        else:
            _store(h, kind, int(v) if kind == INT else Fraction(v))
    elif isinstance(v, str):
        _put(h, _library_text(v, kind))
    else:
        raise TypeError(f"cannot make a tarq number from {type(v).__name__}")


def _raw(kind, _make=object.__new__, _allocvar=L.TQ_ALLOCVAR):
    """A new Number of the kind holding zero, without conversion."""
    obj = _make(_CLASS[kind])
    h = _allocvar(kind)
    if h < 0:
        raise errors.TarqError(1, "allocating a variable")
    obj._h = h
    return obj


def _new(kind, v):
    obj = _raw(kind)
    _store(obj._h, kind, v)
    return obj


def _natural_kind(v):
    if isinstance(v, (int, Fraction)):
        return INT if isinstance(v, int) else FRAC
    if isinstance(v, float):
        return BIN
    if isinstance(v, Decimal):
        return DEC
    return None


def _pair(a, b):
    """(kind, a, b) with both operands as Numbers of the common kind, or None."""
    if isinstance(a, Number) and isinstance(b, Number):
        ka, kb = a._kind, b._kind
        if ka == kb:
            return ka, a, b
        if _RANK[ka] == 2 and _RANK[kb] == 2:
            raise errors.KindMismatch(2, "Dec and Bin do not mix; convert one with Dec(x) or Bin(x)")
    else:
        num, py = (a, b) if isinstance(a, Number) else (b, a)
        kp = _natural_kind(py)
        if kp is None:
            return None
        if _RANK[num._kind] == 2 and _RANK[kp] == 2:
            kp = num._kind
        ka, kb = (num._kind, kp) if num is a else (kp, num._kind)
    k = ka if _RANK[ka] >= _RANK[kb] else kb
    return k, _as(a, k), _as(b, k)


def _as(v, kind):
    return v if isinstance(v, Number) and v._kind == kind else _new(kind, v)


def _binary(fn, a, b, what, kind=None):
    if type(a) is type(b) and kind is None:  # the common case, kept short
        k, x, y = a._kind, a, b
    else:
        p = _pair(a, b)
        if p is None:
            return NotImplemented
        k, x, y = p
        if kind == FRAC and k == INT:
            k, x, y = FRAC, _as(x, FRAC), _as(y, FRAC)
    r = _raw(k)
    st = fn(x._h, y._h, r._h)
    if st:
        _fail(st, what, y if fn is L.TQ_DIV or fn is L.TQ_MOD else None)
    return r


def _unary(fn, x, what):
    r = _raw(x._kind)
    st = fn(x._h, r._h)
    if st:
        _fail(st, what)
    return r


def _compare(a, b, op):
    if type(a) is type(b):
        return getattr(L, op)(a._h, b._h) == 1
    if isinstance(b, Number) or _natural_kind(b) is not None:
        if isinstance(b, Number) and b._kind == a._kind:
            return getattr(L, op)(a._h, b._h) == 1
        x, y = a._exact(), _exact_of(b)
        return _PY_OPS[op](x, y)
    return NotImplemented


def _exact_of(v):
    if isinstance(v, Number):
        return v._exact()
    if isinstance(v, float):
        return Fraction(v) if math.isfinite(v) else v
    if isinstance(v, Decimal):
        return Fraction(v) if v.is_finite() else float(v)
    return v


_PY_OPS = {"TQ_IS_EQ": lambda x, y: x == y, "TQ_IS_NE": lambda x, y: x != y, "TQ_IS_L": lambda x, y: x < y,
           "TQ_IS_LE": lambda x, y: x <= y, "TQ_IS_G": lambda x, y: x > y, "TQ_IS_GE": lambda x, y: x >= y}


def _hash_scaled(sign, m, base, e):
    """hash(sign * m * base**e) as Python hashes the equal int, Fraction or float."""
    h = hash(hash(m) * pow(base, e, _HASH_P))
    h = -h if sign else h
    return -2 if h == -1 else h


class Number:
    """A number held in the library's variable store."""
    __slots__ = ("_h",)
    _kind = 0

    def __init__(self, value=0):
        self._h = _alloc(self._kind)
        _store(self._h, self._kind, value)

    def __del__(self, _free=L.TQ_UNALLOCVAR):
        h = getattr(self, "_h", -1)
        if h >= 0:
            _free(h)

    # Kinds and exact values ------------------------------------------------
    @property
    def handle(self):
        return self._h

    def is_finite(self):
        return not isinstance(self._exact(), float)

    def as_integer_ratio(self):
        x = self._exact()
        if isinstance(x, float):
            return x.as_integer_ratio()  # raises for inf and nan, as float does
        return (x, 1) if isinstance(x, int) else (x.numerator, x.denominator)

    @property
    def numerator(self):
        return self.as_integer_ratio()[0]

    @property
    def denominator(self):
        return self.as_integer_ratio()[1]

    def as_fraction(self):
        return Fraction(*self.as_integer_ratio())

    def as_decimal(self):
        """The exact value as a decimal.Decimal (fractions: to 50 more digits than the working precision)."""
        x = self._exact()
        if isinstance(x, float):
            return Decimal(x)
        if isinstance(x, int):
            return Decimal(x)
        with decimal.localcontext() as c:
            c.prec = L.TQ_GETPRECISION(1) + 50
            return Decimal(x.numerator) / Decimal(x.denominator)

    # Python protocol ---------------------------------------------------------
    def __bool__(self):
        return L.TQ_ISZERO(self._h) != 1

    def __int__(self):
        return int(self._exact())

    def __float__(self):
        x = self._exact()
        return float(x)

    def __trunc__(self):
        return int(self)

    def __floor__(self):
        return math.floor(self._exact())

    def __ceil__(self):
        return math.ceil(self._exact())

    def __round__(self, ndigits=None):
        r = round(self._exact(), ndigits)
        return r if ndigits is None else _new(self._kind, r)

    def __repr__(self):
        return f"tarq.{type(self).__name__}('{self}')"

    def __format__(self, fmt):
        if not fmt:
            return str(self)
        return format(self.as_decimal(), fmt)

    def __reduce__(self):
        return (_restore, (self._kind, self._exact_text()))

    def __copy__(self):
        return self

    def __deepcopy__(self, memo):
        return self

    # Operators ---------------------------------------------------------------
    def __add__(self, o): return _binary(L.TQ_ADD, self, o, "adding")
    def __radd__(self, o): return _binary(L.TQ_ADD, o, self, "adding")
    def __sub__(self, o): return _binary(L.TQ_SUB, self, o, "subtracting")
    def __rsub__(self, o): return _binary(L.TQ_SUB, o, self, "subtracting")
    def __mul__(self, o): return _binary(L.TQ_MUL, self, o, "multiplying")
    def __rmul__(self, o): return _binary(L.TQ_MUL, o, self, "multiplying")
    # Integers divide exactly into a fraction, as Fraction does.
    def __truediv__(self, o): return _binary(L.TQ_DIV, self, o, "dividing", FRAC if self._kind == INT else None)
    def __rtruediv__(self, o): return _binary(L.TQ_DIV, o, self, "dividing", FRAC if self._kind == INT else None)
    def __floordiv__(self, o): return _floordiv(self, o)
    def __rfloordiv__(self, o): return _floordiv(o, self)
    def __mod__(self, o): return _divmod(self, o)[1]
    def __rmod__(self, o): return _divmod(o, self)[1]
    def __divmod__(self, o): return _divmod(self, o)
    def __rdivmod__(self, o): return _divmod(o, self)

    def __pow__(self, o, mod=None):
        return _power(self, o) if mod is None else powmod(self, o, mod)

    def __rpow__(self, o):
        return _power(o, self)

    def __neg__(self): return _unary(L.TQ_REVSIGN, self, "negating")
    def __pos__(self): return self
    def __abs__(self): return _unary(L.TQ_ABS, self, "absolute value")

    def __eq__(self, o): return _compare(self, o, "TQ_IS_EQ")
    def __ne__(self, o): return _compare(self, o, "TQ_IS_NE")
    def __lt__(self, o): return _compare(self, o, "TQ_IS_L")
    def __le__(self, o): return _compare(self, o, "TQ_IS_LE")
    def __gt__(self, o): return _compare(self, o, "TQ_IS_G")
    def __ge__(self, o): return _compare(self, o, "TQ_IS_GE")


def _restore(kind, text):
    obj = _raw(kind)
    _put(obj._h, text)
    return obj


def _floordiv(a, b):
    q = _divmod(a, b)
    return q if q is NotImplemented else q[0]


def _divmod(a, b):
    """Floor division and remainder with the remainder's sign that of b, as for int and float."""
    p = _pair(a, b)
    if p is None:
        return NotImplemented
    k, x, y = p
    if k == INT:
        q, r = _raw(INT), _raw(INT)
        st = L.TQ_DIVINT(x._h, y._h, q._h, r._h)
        if st:
            _fail(st, "dividing", y)
        if r and (r < 0) != (y < 0):
            q, r = q - 1, r + y
        return q, r
    t = _binary(L.TQ_DIV, x, y, "dividing")
    q = _unary(L.TQ_FIX, t, "integer part")
    if t < q:
        q = q - 1
    r = x - q * y
    return (Int(q) if k == FRAC else q), r


def _power(a, b):
    p = _pair(a, b)
    if p is None:
        return NotImplemented
    k, x, y = p
    if k == FRAC:
        # The library raises floats and integers only; a fraction to an
        # integer power is the powers of its two parts.
        if y.denominator != 1:
            raise errors.KindMismatch(2, "a fraction's power needs an integer exponent")
        return Frac(x.as_fraction() ** y.numerator)
    if k == INT and y < 0:
        return Frac(1) / _binary(L.TQ_POW, x, -y, "power")
    return _binary(L.TQ_POW, x, y, "power")


class Dec(Number):
    """A decimal float: digits times a power of ten, cut to the working precision."""
    __slots__ = ()
    _kind = DEC

    def _parts(self):
        t = _text(self._h, _INTMANT | _FDEC)
        if t[0] == "*":
            return None
        m, e = t[1:].split("*d")
        return t[0] == "-", m, int(e)

    def _exact(self):
        p = self._parts()
        if p is None:
            return _SPECIAL_TEXT[_text(self._h, _NORMAL | _FDEC)]
        sign, m, e = p
        return Fraction(Decimal(f"{'-' if sign else ''}{m}e{e}"))

    def as_decimal(self):
        p = self._parts()
        if p is None:
            return Decimal(_SPECIAL_TEXT[_text(self._h, _NORMAL | _FDEC)])
        sign, m, e = p
        return Decimal(f"{'-' if sign else ''}{m}e{e}")

    def _exact_text(self):
        return _text(self._h, _INTMANT | _FDEC)

    def __hash__(self):
        return hash(self.as_decimal())

    def __str__(self):
        return _float_str(self, L.TQ_GETPRECISION(1))


class Bin(Number):
    """A binary float: a magnitude times a power of 256, cut to the working precision."""
    __slots__ = ()
    _kind = BIN

    def _parts(self):
        t = _text(self._h, _INTMANT | _FHEX)
        if t[0] == "*":
            return None
        m, e = t[3:].split("*h")
        return t[0] == "-", int(m, 16), int(e, 16)

    def _exact(self):
        p = self._parts()
        if p is None:
            return _SPECIAL_TEXT[_text(self._h, _NORMAL | _FHEX)]
        sign, m, e = p
        v = Fraction(m * 16 ** e) if e >= 0 else Fraction(m, 16 ** -e)
        return -v if sign else v

    def as_decimal(self):
        p = self._parts()
        if p is None:
            return Decimal(_SPECIAL_TEXT[_text(self._h, _NORMAL | _FHEX)])
        sign, m, e = p
        # m * 16^e is exactly m * 5^(4|e|) * 10^(-4|e|) when e < 0.
        with decimal.localcontext() as c:
            c.prec, c.Emax, c.Emin = decimal.MAX_PREC, decimal.MAX_EMAX, decimal.MIN_EMIN
            d = Decimal(m * 16 ** e) if e >= 0 else Decimal(m * 5 ** (-4 * e)).scaleb(4 * e)
            return -d if sign else d

    def __float__(self):
        p = self._parts()
        if p is None:
            return _SPECIAL_TEXT[_text(self._h, _NORMAL | _FHEX)]
        sign, m, e = p
        try:
            return float.fromhex(f"{'-' if sign else ''}0x{m:x}p{4 * e}")
        except OverflowError:
            raise errors.NativeRange(32, "the value does not fit a float") from None

    def _exact_text(self):
        return _text(self._h, _INTMANT | _FHEX)

    def __hash__(self):
        p = self._parts()
        if p is None:
            v = _SPECIAL_TEXT[_text(self._h, _NORMAL | _FHEX)]
            return hash(v) if v == v else object.__hash__(self)
        sign, m, e = p
        return _hash_scaled(sign, m, 16, e)

    def __str__(self):
        return _float_str(self, L.TQ_GETPRECISION(1))


class Int(Number):
    """A big integer, exact."""
    __slots__ = ()
    _kind = INT

    def _exact(self):
        t = _text(self._h, _NORMAL | _FHEX)
        if t[0] == "*":
            return _SPECIAL_TEXT[t]
        return int(t[0].strip() + t[3:], 16)

    def _exact_text(self):
        return _text(self._h, _NORMAL | _FHEX)

    def __index__(self):
        return int(self._exact())

    def __hash__(self):
        return hash(self._exact())

    def __str__(self):
        t = _text(self._h, _NORMAL | _FDEC)
        return str(_SPECIAL_TEXT[t]) if t[0] == "*" else t.strip()

    def __repr__(self):
        return f"tarq.Int({self})"

    def __format__(self, fmt):
        return format(int(self), fmt) if fmt else str(self)

    def bit_length(self):
        return int(self).bit_length()


class Frac(Number):
    """A fraction of two big integers, exact and in lowest terms."""
    __slots__ = ()
    _kind = FRAC

    def __init__(self, numerator=0, denominator=None):
        self._h = _alloc(FRAC)
        if denominator is None:
            _store(self._h, FRAC, numerator)
        else:
            v = Fraction(_exact_of(numerator)) / Fraction(_exact_of(denominator))
            _store(self._h, FRAC, v)

    def _exact(self):
        t = _text(self._h, _NORMAL | _FHEX)
        if t[0] == "*":
            return _SPECIAL_TEXT[t]
        n, d = t[3:].split("/")
        return Fraction(int(t[0].strip() + n, 16), int(d[2:], 16))

    def _exact_text(self):
        return _text(self._h, _NORMAL | _FHEX)

    def __hash__(self):
        return hash(self._exact())

    def __str__(self):
        t = _text(self._h, _NORMAL | _FDEC)
        return str(_SPECIAL_TEXT[t]) if t[0] == "*" else t.strip()

    def __repr__(self):
        x = self._exact()
        return f"tarq.Frac({x.numerator}, {x.denominator})" if isinstance(x, Fraction) else f"tarq.Frac('{x}')"

    def __format__(self, fmt):
        if not fmt:
            return str(self)
        x = self._exact()
        with decimal.localcontext() as c:
            c.prec = max(abs(x.numerator).bit_length() - x.denominator.bit_length(), 0) // 3 + 60 + \
                L.TQ_GETPRECISION(1)
            return format(Decimal(x.numerator) / Decimal(x.denominator), fmt)


def _float_str(x, digits):
    """Plain digits for moderate exponents, otherwise d.ddde+X, as Python shows floats."""
    t = _text(x._h, _SCI | _FDEC, digits)
    if t[0] == "*":
        return str(_SPECIAL_TEXT[t])
    sign = "-" if t[0] == "-" else ""
    mant, exp = t[1:].split("*d")
    d = mant.replace(".", "").rstrip("0") or "0"
    e = int(exp)
    if d == "0":
        return sign + "0.0"
    if -7 <= e < max(L.TQ_GETPRECISION(1), len(d)):
        if e >= 0:
            ip, fp = d[:e + 1].ljust(e + 1, "0"), d[e + 1:] or "0"
            return f"{sign}{ip}.{fp}"
        return f"{sign}0.{'0' * (-e - 1)}{d}"
    return f"{sign}{d[0]}{'.' + d[1:] if len(d) > 1 else ''}e{'+' if e >= 0 else '-'}{abs(e)}"


_CLASS = {DEC: Dec, BIN: Bin, INT: Int, FRAC: Frac}

numbers.Integral.register(Int)
for _c in (Frac, Dec, Bin):
    numbers.Rational.register(_c)


def powmod(base, exponent, modulus):
    """base ** exponent mod modulus on big integers."""
    b, e, m = (_as(v, INT) for v in (base, exponent, modulus))
    r = _raw(INT)
    st = L.TQ_POWMOD(b._h, e._h, m._h, r._h)
    if st:
        _fail(st, "modular power")
    return r
