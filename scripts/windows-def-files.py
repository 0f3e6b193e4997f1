#!/usr/bin/env python3
"""Writes, or checks, the module-definition files that give QUILLET.dll its exports.

A program built with Microsoft's compiler against quillet.h asks the DLL for the names
that compiler gives the declarations (?QuilletGetVersion@@YAXPEAD@Z on x64,
?QuilletGetVersion@@YAXPAD@Z on x86); mingw gives them other names
(_Z17QuilletGetVersionPc). Each .def file exports every function of quillet.h under
both names, and every function of quillet_c.h under its plain name. The names are not
written by hand: clang prints them for any declaration, with --target=...-msvc for
Microsoft's and --target=...-windows-gnu for mingw's.

    python3 scripts/windows-def-files.py          # rewrites both .def files
    python3 scripts/windows-def-files.py --check  # exit 1 when either is out of date

Needs clang (Debian's clang package).
"""
import argparse
import difflib
import json
import os
import shutil
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
DEF_DIR = os.path.join(ROOT, "src", "platform", "win32")
# Architecture name in the file name -> (Microsoft target, mingw target, description).
ARCHITECTURES = {
    "x64": ("x86_64-pc-windows-msvc", "x86_64-w64-windows-gnu", "64-bit Windows"),
    "x86": ("i686-pc-windows-msvc", "i686-w64-windows-gnu", "32-bit Windows"),
}


def def_path(arch):
    return os.path.join(DEF_DIR, f"QUILLET-{arch}.def")


def declarations(clang, target, header):
    """[(name, mangled name)] of the functions `header` declares, in header order."""
    command = [clang, f"--target={target}", "-std=c++17", "-fsyntax-only", "-nostdinc",
               "-I", os.path.join(ROOT, "include"), "-Xclang", "-ast-dump=json",
               "-Xclang", "-ast-dump-filter=Quillet", "-x", "c++", "-include", header, "-"]
    # The source is empty and comes on standard input: only the header is parsed.
    text = subprocess.run(command, check=True, capture_output=True, text=True, input="").stdout
    # The filter prints one JSON object per matching declaration.
    decoder, at, found = json.JSONDecoder(), 0, []
    while True:
        while at < len(text) and text[at].isspace():
            at += 1
        if at == len(text):
            return found
        node, at = decoder.raw_decode(text, at)
        if node.get("kind") == "FunctionDecl":
            found.append((node["name"], node["mangledName"]))


def def_text(clang, arch):
    microsoft, mingw, description = ARCHITECTURES[arch]
    cpp_ms = declarations(clang, microsoft, "quillet/quillet.h")
    c_decls = declarations(clang, mingw, "quillet/quillet_c.h")
    if not c_decls:
        raise SystemExit("windows-def-files: clang found no functions in quillet_c.h")
    # On 32-bit x86 every symbol carries the platform's "_" in front ("_QuilletCInstall"
    # for QuilletCInstall); a .def file names symbols without it.
    symbol_prefix = c_decls[0][1][:-len(c_decls[0][0])]
    cpp_gnu = [(name, mangled[len(symbol_prefix):])
               for name, mangled in declarations(clang, mingw, "quillet/quillet.h")]
    c_names = [name for name, _ in c_decls]
    if [n for n, _ in cpp_ms] != [n for n, _ in cpp_gnu] or not cpp_ms:
        raise SystemExit("windows-def-files: clang listed different functions for the two targets")
    lines = [
        f"; The exports of QUILLET.dll for {description}. Written by scripts/windows-def-files.py",
        "; from include/quillet/quillet.h and quillet_c.h; run it again after changing them.",
        "LIBRARY QUILLET.dll",
        "EXPORTS",
        "; quillet.h under the names Microsoft's compiler gives it (__cdecl), each the same",
        "; function as the name mingw gives it",
    ]
    lines += [f"  {ms} = {gnu}" for (_, ms), (_, gnu) in zip(cpp_ms, cpp_gnu)]
    lines.append("; quillet.h under mingw's names")
    lines += [f"  {gnu}" for _, gnu in cpp_gnu]
    lines.append("; quillet_c.h, undecorated")
    lines += [f"  {name}" for name in c_names]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    parser.add_argument("--clang", default=os.environ.get("CLANG", "clang++"))
    args = parser.parse_args()
    clang = shutil.which(args.clang)
    if clang is None:
        raise SystemExit(f"windows-def-files: {args.clang} not found (apt-get install clang)")
    stale = False
    for arch in ARCHITECTURES:
        wanted, path = def_text(clang, arch), def_path(arch)
        current = open(path, encoding="ascii").read() if os.path.exists(path) else ""
        if current == wanted:
            continue
        if args.check:
            stale = True
            sys.stdout.writelines(difflib.unified_diff(current.splitlines(True), wanted.splitlines(True),
                                                       path, "what clang gives"))
        else:
            with open(path, "w", encoding="ascii", newline="\n") as f:
                f.write(wanted)
            print(f"wrote {os.path.relpath(path, ROOT)}")
    if stale:
        print("windows-def-files: out of date; run python3 scripts/windows-def-files.py", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
