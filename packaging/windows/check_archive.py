#!/usr/bin/env python3
"""Lists the Windows release ZIP and checks it: exactly the release files
under the top folder, each DLL and the calculator a PE file for its processor
(x86 in x86\\, x64 in x64\\), the import libraries archives naming tarq.dll,
the VBA module with the VBA editor's CRLF line ends.

Usage: check_archive.py ARCHIVE TOP_FOLDER   Prints "N passed, M failed".
"""
import struct
import sys
import zipfile

archive, top = sys.argv[1:3]
I386, AMD64 = 0x14C, 0x8664
# path -> check of the content (None: present and not empty)
EXPECTED = {
    "x86/tarq.dll": I386, "x64/tarq.dll": AMD64, "tarq.exe": AMD64,
    "x86/tarq.lib": "lib", "x64/tarq.lib": "lib",
    "include/tarq.h": None, "include/tarq.hpp": None, "vba/Tarq.bas": "crlf", "README.txt": None,
}
passed, failed = 0, []


def check(ok, what):
    global passed
    if ok:
        passed += 1
    else:
        failed.append(what)


def pe_machine(data):
    if data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, pe + 4)[0]


with zipfile.ZipFile(archive) as z:
    files = {i.filename[len(top) + 1:]: i for i in z.infolist()
             if not i.is_dir() and i.filename.startswith(top + "/")}
    others = [i.filename for i in z.infolist() if not i.is_dir() and not i.filename.startswith(top + "/")]
    for name in sorted(files):
        print(f"{files[name].file_size:>10}  {top}/{name}")
    check(not others, f"files outside {top}/: {others}")
    check(sorted(files) == sorted(EXPECTED), f"the archive holds {sorted(files)}, expected {sorted(EXPECTED)}")
    for name, want in EXPECTED.items():
        if name not in files:
            continue
        data = z.read(files[name])
        check(len(data) > 0, f"{name} is empty")
        if isinstance(want, int):
            got = pe_machine(data)
            check(got == want, f"{name}: PE machine {got and hex(got)}, expected {hex(want)}")
        elif want == "lib":
            check(data.startswith(b"!<arch>\n") and b"tarq.dll" in data, f"{name}: not an import library of tarq.dll")
        elif want == "crlf":
            lines = data.split(b"\n")[:-1]
            check(lines and all(line.endswith(b"\r") for line in lines), f"{name}: not CRLF line ends")

for f in failed:
    print("FAIL  " + f)
print(f"{passed} passed, {len(failed)} failed")
sys.exit(1 if failed else 0)
