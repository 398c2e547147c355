"""Exceptions: one class per error bit of the library's status word.

A failing call raises the class of its most telling bit; every exception
carries the whole status (`status`) and the names of its bits (`bits`).
"""

_BIT_NAMES = {
    1: "invalid operand or text", 2: "number kinds differ or the kind is not supported",
    4: "unknown number kind", 8: "the result is infinite or not a number", 16: "invalid variable handle",
    32: "the value does not fit the native type", 64: "the cache file could not be written",
    256: "exponent out of range", 512: "no modular inverse",
}


class TarqError(ArithmeticError):
    """A library call failed; `status` holds its error bits."""

    def __init__(self, status, what=""):
        self.status = status
        self.bits = [name for bit, name in _BIT_NAMES.items() if status & bit]
        super().__init__(f"{what}: {', '.join(self.bits) or f'status {status}'}" if what else ", ".join(self.bits))


class InvalidOperation(TarqError, ValueError):
    """Bit 1: an invalid operand or text."""


class KindMismatch(TarqError, TypeError):
    """Bit 2: the operands' kinds differ or the operation does not take this kind."""


class UnknownKind(TarqError, TypeError):
    """Bit 4: a kind the parser does not know."""


class SpecialResult(TarqError):
    """Bit 8: the result would be an infinity or NaN."""


class DivisionByZero(SpecialResult, ZeroDivisionError):
    """Bit 8 from a division by zero."""


class InvalidHandle(TarqError):
    """Bit 16: the variable handle is not allocated."""


class NativeRange(TarqError, OverflowError):
    """Bit 32: the value does not fit the native type."""


class CacheWriteError(TarqError, OSError):
    """Bit 64: a start-up cache file could not be written."""


class ExponentRange(TarqError, OverflowError):
    """Bit 256: the exponent is out of the library's range."""


class NoInverse(TarqError, ValueError):
    """Bit 512: the number has no inverse modulo the modulus."""


# Tried in this order; the first bit present names the exception.
_BY_BIT = ((512, NoInverse), (256, ExponentRange), (16, InvalidHandle), (4, UnknownKind), (2, KindMismatch),
           (1, InvalidOperation), (32, NativeRange), (8, SpecialResult), (64, CacheWriteError))


def error_for(status, what="", division=False):
    """The exception for a failed status; DivisionByZero for bit 8 of a division by zero."""
    if division and status & 8 and not status & ~8:
        return DivisionByZero(status, what)
    for bit, cls in _BY_BIT:
        if status & bit:
            return cls(status, what)
    return TarqError(status, what)
