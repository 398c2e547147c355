#!/usr/bin/env python3
"""Checks the export list everywhere it is spelled out: the export table
against tarq.h (names, order, argument and result types), the .def files and
the Linux export map made from it, and every Declare of the VBA module
against them, in the three builds the module serves (VBA7 64-bit, VBA7
32-bit, VB6): the exported name exists, each argument is marshalled as its C
type needs, the 32-bit argument bytes equal the @N of the stdcall export, a
pointer is LongPtr under VBA7.

Usage: check_vba_module.py TABLE HEADER X86_DEF X64_DEF MAP MODULE
Prints one line per failure and "N passed, M failed".
"""
import re
import sys

table_path, header_path, def86_path, def64_path, map_path, module_path = sys.argv[1:7]
failures = []
passes = 0


def check(ok, what):
    global passes
    if ok:
        passes += 1
    else:
        failures.append(what)


# ---- the export table and tarq.h ----
table = []  # (name, result, [argument types])
for line in open(table_path):
    if re.match(r"[A-Z]", line):
        name, result, *args = line.split()
        table.append((name, result, [] if args == ["-"] else args))
names = [t[0] for t in table]

C_TYPES = {"int32_t": "i32", "uint32_t": "u32", "double": "f64", "tq_ext": "ext", "void *": "ptr",
           "const void *": "ptr", "const char *": "cstr", "tq_dstr": "dstr", "tq_dstr *": "pdstr",
           "tq_az100": "az100", "void": "void"}


def c_type(decl, named=True):
    """The table type of a C declaration: 'const char *text' (named) or 'tq_dstr *' (a result)."""
    decl = decl.strip()
    if named:
        decl = re.sub(r"\w+$", "", decl).strip()
    decl = re.sub(r"\s*\*$", " *", decl)
    return C_TYPES.get(decl, "?" + decl)


header = []
for result, name, args in re.findall(r"^(.*?)\s*\bTQ_CALL\s+(\w+)\((.*)\);", open(header_path).read(), re.M):
    arg_list = [] if args.strip() == "void" else [c_type(a) for a in args.split(",")]
    header.append((name, c_type(result, named=False), arg_list))
check([h[0] for h in header] == names, "tarq.h declares the exports of the table, in its order")
for row, decl in zip(table, header):
    check(row == decl, f"tarq.h declares {decl} where the table has {row}")

# ---- the files made from the table ----
def86 = dict(re.findall(r"^\s+(\w+)@(\d+)\s*$", open(def86_path).read(), re.M))
def64 = re.findall(r"^\s+(\w+)\s*$", open(def64_path).read(), re.M)
exported = re.findall(r"^\s+(\w+);", open(map_path).read(), re.M)
check(list(def86) == names, "the 32-bit .def lists the table's exports")
check(def64 == names, "the 64-bit .def lists the table's exports")
check(exported == names, "the Linux export map lists the table's exports")

# ---- the VBA module ----
# Each build: (label, VBA7, Win64).
BUILDS = [("VBA7 64-bit", True, True), ("VBA7 32-bit", True, False), ("VB6 / VBA6 32-bit", False, False)]


def active_lines(text, vba7, win64):
    """The module's lines that the conditional compilation keeps in one build."""
    consts = {"VBA7": vba7, "WIN64": win64, "WIN32": True}

    def value(cond):
        cond = cond.strip().upper()
        neg = cond.startswith("NOT ")
        v = consts[cond[4:].strip() if neg else cond]
        return not v if neg else v

    out, stack = [], []  # stack entries: [taking now, some branch taken]
    for line in text:
        s = line.strip()
        m = re.match(r"#If\s+(.*?)\s+Then$", s, re.I)
        m2 = re.match(r"#ElseIf\s+(.*?)\s+Then$", s, re.I)
        outer = all(e[0] for e in stack)
        if m:
            v = value(m.group(1))
            stack.append([v, v])
        elif m2:
            v = not stack[-1][1] and value(m2.group(1))
            stack[-1] = [v, stack[-1][1] or v]
        elif re.match(r"#Else$", s, re.I):
            stack[-1] = [not stack[-1][1], True]
        elif re.match(r"#End If$", s, re.I):
            stack.pop()
        elif outer:
            out.append(line)
    return out


def statements(lines):
    """Logical statements: continuation lines (ending in ' _') joined."""
    joined, part = [], ""
    for line in lines:
        line = line.rstrip("\r\n")
        if line.endswith(" _"):
            part += line[:-2] + " "
            continue
        joined.append(part + line)
        part = ""
    return joined


DECLARE = re.compile(r'^\s*(?:Public|Private)?\s*Declare\s+(PtrSafe\s+)?(Function|Sub)\s+(\w+)\s+Lib\s+"([^"]+)"'
                     r'(?:\s+Alias\s+"([^"]+)")?\s*\((.*)\)\s*(?:As\s+(\w+))?\s*$', re.I)
PARAM = re.compile(r"^(ByVal|ByRef)?\s*(\w+)\s+As\s+(\w+)$", re.I)
# Raw dynamic-string helpers: VBA must not hand them its own String copy
# (TQ_DS_FREE would free VBA's temporary); they take and give addresses.
RAW = {"TQ_DS_NEW", "TQ_DS_FREE", "TQ_DS_LEN"}


def expected_params(name, t, vba7, win64):
    """What one argument of table type t must look like: a list of (ByVal|ByRef, type)."""
    ptr = "LONGPTR" if vba7 else "LONG"
    if t in ("i32", "u32"):
        return [("BYVAL", "LONG")]
    if t == "f64" or (t == "ext" and win64):
        return [("BYVAL", "DOUBLE")]
    if t == "ext":  # the 80-bit value as significand (Currency bits) and sign-exponent word
        return [("BYVAL", "CURRENCY"), ("BYVAL", "LONG")]
    if t == "ptr" or (t == "dstr" and name in RAW):
        return [("BYVAL", ptr)]
    if t in ("cstr", "dstr"):
        return [("BYVAL", "STRING")]
    if t == "pdstr":
        return [("BYREF", "STRING")]
    if t == "az100":
        return [("BYREF", "TQTEXT100")] if win64 else [("BYVAL", "LONG")] * 25
    raise ValueError(t)


def expected_result(name, r, vba7):
    ptr = "LONGPTR" if vba7 else "LONG"
    if r == "dstr" and name in RAW:
        return ptr
    return {"void": None, "i32": "LONG", "u32": "LONG", "f64": "DOUBLE", "ext": "DOUBLE", "dstr": "STRING",
            "pdstr": ptr, "cstr": ptr}[r]


X86_BYTES = {"LONG": 4, "LONGPTR": 4, "DOUBLE": 8, "CURRENCY": 8, "STRING": 4}
module = open(module_path, newline="").read().splitlines(True)
check(module and module[0].startswith('Attribute VB_Name = "Tarq"'), "the module names itself Tarq")
check(all(line.endswith("\r\n") for line in module), "the module has CRLF line ends (the VBA editor's import)")
rows = {t[0]: t for t in table}
for label, vba7, win64 in BUILDS:
    seen = {}
    for st in statements(active_lines(module, vba7, win64)):
        m = DECLARE.match(st)
        if not m or m.group(4).lower() != "tarq.dll":
            continue
        ptrsafe, kind, vname, _, alias, params, result = m.groups()
        name = alias or vname
        seen[name] = seen.get(name, 0) + 1
        where = f"{label}: {name}"
        check(bool(ptrsafe) == vba7, f"{where}: PtrSafe exactly under VBA7")
        if name not in rows:
            check(False, f"{where}: no such export")
            continue
        _, r, args = rows[name]
        plist = [p.strip() for p in params.split(",")] if params.strip() else []
        got = []
        for p in plist:
            pm = PARAM.match(p)
            check(pm is not None, f"{where}: argument '{p}' not of the form ByVal|ByRef name As Type")
            if pm:
                got.append(((pm.group(1) or "ByRef").upper(), pm.group(3).upper()))
        want = [e for t in args for e in expected_params(name, t, vba7, win64)]
        check(got == want, f"{where}: arguments {got}, expected {want}")
        want_r = expected_result(name, r, vba7)
        check((kind.upper() == "SUB") == (want_r is None) and (result or "").upper() == (want_r or ""),
              f"{where}: {kind} As {result}, expected {'Sub' if want_r is None else 'Function As ' + want_r}")
        if not win64:
            size = sum(4 if how == "BYREF" else X86_BYTES.get(t, 0) for how, t in got)
            check(str(size) == def86.get(name), f"{where}: {size} argument bytes, the export is @{def86.get(name)}")
        if vba7:
            check("LONG" != (result or "").upper() or r in ("i32", "u32"), f"{where}: a pointer result is LongPtr")
    for name in names:
        check(seen.get(name) == 1, f"{label}: {name} declared {seen.get(name, 0)} times")
    check(len(seen) == len(names), f"{label}: {len(seen)} exports declared, the table has {len(names)}")

for f in failures:
    print("FAIL  " + f)
print(f"{len(table)} exports; {passes} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
