#!/usr/bin/env python3
"""Reads the export and import tables of Windows programs and DLLs (PE files) and
checks what installers rely on:

- the file is built for the expected architecture (--machine x64 or x86);
- it needs no DLL but those every Windows has (no libstdc++-6.dll, libgcc_s_*.dll or
  libwinpthread-1.dll to ship beside it);
- with --def: the DLL exports every name the .def file lists, each "A = B" alias at the
  address of B (the function mingw compiled), and the names of the C interface exactly
  as written, without a leading "_" or a trailing "@N".

    check_exports.py --machine x64 --def src/platform/win32/QUILLET-x64.def QUILLET.dll quillet.exe

The first file is checked against --def; every file is checked for architecture and
imports. Exit code 0 when all checks pass, 1 otherwise (each failure printed).
"""
import argparse
import os
import struct
import sys

MACHINES = {"x64": 0x8664, "x86": 0x14C}
SYSTEM_DLLS = {"kernel32.dll", "advapi32.dll", "msvcrt.dll", "user32.dll", "shell32.dll"}


class PeFile:
    """The parts of a PE file this check needs: machine, exports and imported DLLs."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        if self.data[:2] != b"MZ":
            raise ValueError(f"{path} is not a Windows program or DLL")
        pe = self.u32(0x3C)
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path} has no PE header")
        self.machine, sections = struct.unpack_from("<HH", self.data, pe + 4)
        optional_size = self.u16(pe + 20)
        optional = pe + 24
        wide = self.u16(optional) == 0x20B  # PE32+
        directories = optional + (112 if wide else 96)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            size, address, raw_size, raw_at = struct.unpack_from("<IIII", self.data, table + 40 * i + 8)
            self.sections.append((address, max(size, raw_size), raw_at))
        self.export_dir = struct.unpack_from("<II", self.data, directories)
        self.import_dir = struct.unpack_from("<II", self.data, directories + 8)

    def u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        for address, size, raw_at in self.sections:
            if address <= rva < address + size:
                return raw_at + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def dll_name(self):
        rva, _ = self.export_dir
        return self.text(self.u32(self.offset(rva) + 12)) if rva else ""

    def exports(self):
        """{name: address of the function}."""
        rva, _ = self.export_dir
        if rva == 0:
            return {}
        at = self.offset(rva)
        count, functions, names, ordinals = struct.unpack_from("<IIII", self.data, at + 24)
        result = {}
        for i in range(count):
            name = self.text(self.u32(self.offset(names) + 4 * i))
            ordinal = self.u16(self.offset(ordinals) + 2 * i)
            result[name] = self.u32(self.offset(functions) + 4 * ordinal)
        return result

    def imported_dlls(self):
        rva, _ = self.import_dir
        dlls = []
        while rva:
            name = self.u32(self.offset(rva) + 12)
            if name == 0:
                break
            dlls.append(self.text(name))
            rva += 20
        return dlls


def def_exports(path):
    """[(export name, the symbol it stands for or None)] of a .def file's EXPORTS."""
    entries, in_exports = [], False
    with open(path, encoding="ascii") as f:
        for raw in f:
            line = raw.split(";", 1)[0].strip()
            if line == "EXPORTS":
                in_exports = True
            elif line and in_exports:
                name, _, symbol = (part.strip() for part in line.partition("="))
                entries.append((name, symbol or None))
    return entries


def check_dll_exports(pe, def_file, fail):
    exports = pe.exports()
    if pe.dll_name() != "QUILLET.dll":
        fail(f"the export table names the DLL {pe.dll_name()!r}, not 'QUILLET.dll'")
    entries = def_exports(def_file)
    kinds = {"Microsoft": 0, "mingw": 0, "C": 0}
    for name, symbol in entries:
        if name not in exports:
            fail(f"{name} is not exported")
        elif symbol is not None and exports.get(symbol) != exports[name]:
            fail(f"{name} is not the same function as {symbol}")
        if name.startswith("?"):
            kinds["Microsoft"] += 1
        elif name.startswith("_Z"):
            kinds["mingw"] += 1
        else:
            kinds["C"] += 1
            decorated = [e for e in exports if e != name and (e.lstrip("_") == name or e.startswith(name + "@"))]
            if decorated:
                fail(f"{name} is also exported decorated: {', '.join(decorated)}")
    if kinds["Microsoft"] == 0 or kinds["Microsoft"] != kinds["mingw"] or kinds["C"] == 0:
        fail(f"{def_file} lists {kinds}: each C++ function needs both names, and the C names must be there")
    print(f"{len(entries)} names checked: {kinds['Microsoft']} C++ functions under both names, {kinds['C']} C functions")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--machine", choices=sorted(MACHINES), required=True)
    parser.add_argument("--def", dest="def_file", help="the .def file the first file must export")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    failures = []
    for index, path in enumerate(args.files):
        name = os.path.basename(path)

        def fail(message, name=name):
            failures.append(f"{name}: {message}")

        pe = PeFile(path)
        if pe.machine != MACHINES[args.machine]:
            fail(f"built for machine {pe.machine:#x}, not {args.machine}")
        foreign = [d for d in pe.imported_dlls() if d.lower() not in SYSTEM_DLLS]
        if foreign:
            fail(f"needs DLLs that Windows does not have: {', '.join(foreign)}")
        print(f"{name}: {args.machine}, needs {', '.join(pe.imported_dlls())}")
        if index == 0 and args.def_file:
            check_dll_exports(pe, args.def_file, fail)
    for failure in failures:
        print(f"FAILED: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
