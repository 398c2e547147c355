"""The working precision and the handling of infinite and NaN results.

Both are process-wide, like the library's own precision: a `with` block
changes them for every thread until it is left, even by an exception.
"""
from ._lib import lib as L
from .number import settings


def getprecision(bits=False):
    """The working precision in decimal digits (or bits)."""
    return L.TQ_GETPRECISION(2 if bits else 1)


def setprecision(digits=None, bits=None):
    """Sets the working precision; returns the digits now in force (the
    library rounds up to whole 32-bit words)."""
    if (digits is None) == (bits is None):
        raise TypeError("give digits or bits")
    amount = digits if bits is None else bits
    if not isinstance(amount, int) or amount < 1:
        raise ValueError("the precision must be a positive integer")
    L.TQ_SETPRECISION(1 if bits is None else 2, amount)
    return L.TQ_GETPRECISION(1)


class precision:
    """with tarq.precision(100): ...   or   with tarq.precision(bits=256): ..."""

    def __init__(self, digits=None, bits=None):
        if (digits is None) == (bits is None):
            raise TypeError("give digits or bits")
        self.digits, self.bits = digits, bits

    def __enter__(self):
        self._saved = L.TQ_GETPRECISION(2)
        return setprecision(self.digits, self.bits)

    def __exit__(self, *exc):
        L.TQ_SETPRECISION(2, self._saved)
        return False


class allow_specials:
    """with tarq.allow_specials(): infinite and NaN results are returned instead of raised."""

    def __init__(self, allow=True):
        self.allow = allow

    def __enter__(self):
        self._saved = settings.specials
        settings.specials = self.allow
        return self

    def __exit__(self, *exc):
        settings.specials = self._saved
        return False
