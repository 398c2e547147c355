"""Finding and loading libtarq.so, and the C prototypes of the exports used.

The library is looked for, in this order: the file named by TARQ_LIBRARY;
libtarq.so* next to this package; lib/ (and lib64/, lib/<multiarch>/) under
the Python prefix, /usr/local and /usr; then the system loader. When none
loads, the error lists every place tried and why it failed.
"""
import ctypes
import ctypes.util
import glob
import os
import sys
import sysconfig

_NAMES = ("libtarq.so.0", "libtarq.so")


def _candidates():
    env = os.environ.get("TARQ_LIBRARY")
    if env:
        yield env
    here = os.path.dirname(os.path.abspath(__file__))
    yield from sorted(glob.glob(os.path.join(here, "libtarq.so*")))
    multiarch = sysconfig.get_config_var("MULTIARCH") or ""
    prefixes = []
    for p in (sys.prefix, sys.base_prefix, "/usr/local", "/usr"):
        if p not in prefixes:
            prefixes.append(p)
    for p in prefixes:
        for sub in ("lib", "lib64", os.path.join("lib", multiarch) if multiarch else None):
            if sub:
                for name in _NAMES:
                    yield os.path.join(p, sub, name)


def load():
    tried = []
    for path in _candidates():
        if not os.path.exists(path):
            tried.append(f"{path}: no such file")
            continue
        try:
            return ctypes.CDLL(path), path
        except OSError as e:
            tried.append(f"{path}: {e}")
    # The system loader: LD_LIBRARY_PATH, the ld.so cache and its directories.
    found = ctypes.util.find_library("tarq")
    for name in ([found] if found else []) + list(_NAMES):
        try:
            return ctypes.CDLL(name), name
        except OSError as e:
            tried.append(f"system loader, {name}: {e}")
    raise ImportError("tarq: libtarq.so not found; set TARQ_LIBRARY to its path. Tried:\n  "
                      + "\n  ".join(tried))


lib, path = load()

_i = ctypes.c_int32
_P = ctypes.POINTER(ctypes.c_void_p)
for _name, _args in {
    "TQ_ALLOCVAR": [_i], "TQ_UNALLOCVAR": [_i], "TQ_COPYVAR": [_i, _i], "TQ_GETGLOBALERROR": [],
    "TQ_SETPRECISION": [_i, _i], "TQ_GETPRECISION": [_i], "TQ_GETOPTION": [_i], "TQ_SETOPTION": [_i, _i],
    "TQ_GET_STRING": [_i, _i, _i, _P], "TQ_PUTSTRING_FROMADD": [ctypes.c_char_p, _i, _i],
    "TQ_CONVERTDT": [_i, _i], "TQ_COMPARE": [_i, _i], "TQ_ISZERO": [_i],
    "TQ_DIVINT": [_i, _i, _i, _i], "TQ_ROOT": [_i, _i, _i, _i, _i], "TQ_POWMOD": [_i, _i, _i, _i],
    "TQ_GETCONST": [_i, _i], "TQ_CONVERTUNITS": [_i, _i, _i], "TQ_PUTLONG": [_i, _i],
}.items():
    getattr(lib, _name).argtypes = _args
    getattr(lib, _name).restype = _i
for _name in ("ADD SUB MUL DIV MOD GCD LCM POW MODINV IS_EQ IS_NE IS_L IS_LE IS_G IS_GE").split():
    getattr(lib, "TQ_" + _name).argtypes = [_i, _i, _i] if not _name.startswith("IS_") else [_i, _i]
    getattr(lib, "TQ_" + _name).restype = _i
for _name in ("ABS REVSIGN FIX FRAC SQR RECIPROCAL SQRT EXP EXP2 EXP10 LOG LOG2 LOG10 "
              "SIN COS TAN ATAN ASIN INCR DECR").split():
    getattr(lib, "TQ_" + _name).argtypes = [_i, _i]
    getattr(lib, "TQ_" + _name).restype = _i
lib.TQ_DS_FREE.argtypes = [ctypes.c_void_p]
lib.TQ_DS_FREE.restype = None
