#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt for the Windows DLLs to standard output: what of the toolchain
is linked into them, and the licence texts of those parts as the Debian packages that provide
them state them (their copyright files, quoted whole)."""
import sys

PARTS = [
    ("GCC runtime libraries (libgcc, libstdc++), linked statically into lvp_hdr.dll and lvphost.exe",
     "GPL-3.0 with the GCC Runtime Library Exception, which permits distributing the compiled program under "
     "terms of its own choice",
     "/usr/share/doc/gcc-mingw-w64-base/copyright"),
    ("MinGW-w64 runtime (start-up code, C runtime glue) and winpthreads (POSIX threads), linked statically",
     "the MinGW-w64 runtime's permissive licences (ZPL-2.1, public domain) and, for winpthreads, the expat "
     "(MIT) licence",
     "/usr/share/doc/mingw-w64-common/copyright"),
]


def main():
    out = sys.stdout
    out.write("Third-party notices for lvp_hdr.dll and lvphost.exe (x64 and x86)\n")
    out.write("=" * 66 + "\n\n")
    out.write("lvp_hdr itself is under the MIT licence (LICENSE). The Windows binaries are built with\n"
              "MinGW-w64 and contain the following parts of that toolchain:\n\n")
    for name, terms, _ in PARTS:
        out.write(f"- {name}: {terms}.\n")
    for name, _, path in PARTS:
        out.write("\n\n" + "-" * 78 + f"\n{name}\n(from {path})\n" + "-" * 78 + "\n\n")
        with open(path, encoding="utf-8") as f:
            out.write(f.read())
    return 0


if __name__ == "__main__":
    sys.exit(main())
