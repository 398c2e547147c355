"""TARQ from Python: arbitrary-precision decimal and binary floats, big
integers and fractions, computed by libtarq.so through ctypes.

    >>> import tarq
    >>> with tarq.precision(50):
    ...     print(tarq.sqrt(2))
    1.41421356237309504880168872420969807856967187537694807318

Kinds: Dec (decimal float), Bin (binary float), Int (big integer), Frac
(fraction). The working precision of the floats is process-wide, as in the
library: `precision(...)` changes it for every thread until it is left.
Calls are serialised by the library's global lock, so numbers may be used
from several threads. Failures raise TarqError subclasses; infinite and NaN
results raise SpecialResult unless `allow_specials()` is in force.
"""
from . import _lib
from .errors import (CacheWriteError, DivisionByZero, ExponentRange, InvalidHandle, InvalidOperation,
                     KindMismatch, NativeRange, NoInverse, SpecialResult, TarqError, UnknownKind)
from .number import BIN, DEC, FRAC, INT, Bin, Dec, Frac, Int, Number, powmod
from .functions import (acos, asin, atan, constant, cos, exp, exp2, exp10, gcd, lcm, log, log2, log10, modinv,
                        pow, root, sin, sqrt, tan)
from .context import allow_specials, getprecision, precision, setprecision

__version__ = "0.1.0"
library_path = _lib.path

__all__ = ["Number", "Dec", "Bin", "Int", "Frac", "DEC", "BIN", "INT", "FRAC", "precision", "getprecision",
           "setprecision", "allow_specials", "sqrt", "exp", "exp2", "exp10", "log", "log2", "log10", "sin", "cos",
           "tan", "atan", "asin", "acos", "pow", "root", "gcd", "lcm", "modinv", "powmod", "constant",
           "TarqError", "InvalidOperation", "KindMismatch", "UnknownKind", "SpecialResult", "DivisionByZero",
           "InvalidHandle", "NativeRange", "CacheWriteError", "ExponentRange", "NoInverse"]


def __getattr__(name):
    # pi, e, ln2, ln10 and sqrt2 as decimal floats at the precision in force
    # when they are read.
    if name in ("pi", "e", "ln2", "ln10", "sqrt2"):
        return constant(name)
    raise AttributeError(f"module 'tarq' has no attribute {name!r}")
