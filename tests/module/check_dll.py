#!/usr/bin/env python3
"""Reads a built PE file back with pefile and checks it against the sources it was made from.

check_dll.py exports DLL NAME...        the export table holds exactly these names
check_dll.py machine FILE... x64|x86    each file is built for that machine
check_dll.py imports FILE...            only the system's own DLLs are imported
check_dll.py version DLL RESOURCE_DIR   the version record
check_dll.py strings DLL RESOURCE_DIR   the string table equals strings.txt
check_dll.py dialog DLL RESOURCE_DIR    dialog 1000 equals dialog.txt
"""
import os
import re
import struct
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "comctl32.dll", "shell32.dll",
               "ole32.dll", "oleaut32.dll", "advapi32.dll", "msvcrt.dll", "ucrtbase.dll", "shlwapi.dll",
               "ntdll.dll", "ws2_32.dll", "uxtheme.dll"}
RT_STRING, RT_DIALOG, RT_MANIFEST = 6, 5, 24
# Win32 values of the style words of dialog.txt
WIN32_STYLE = {"popup": 0x80000000, "caption": 0x00C00000, "sysmenu": 0x00080000, "modalframe": 0x80,
               "multiline": 0x4, "readonly": 0x800, "vscroll": 0x00200000, "autovscroll": 0x40,
               "autohscroll": 0x80, "tabstop": 0x00010000, "border": 0x00800000, "left": 0, "group": 0x00020000,
               "hidden": 0}
WS_VISIBLE, WS_CHILD, DS_SETFONT, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX = 0x10000000, 0x40000000, 0x40, 0x1, 0x3
CBS_DROPDOWNLIST = 0x3
PBS_SMOOTH = 0x1
# window class: the predefined atom, or its name (windres writes the name)
CLASS = {"button": (0x80, "BUTTON"), "defbutton": (0x80, "BUTTON"), "checkbox": (0x80, "BUTTON"),
         "edit": (0x81, "EDIT"), "static": (0x82, "STATIC"), "droplist": (0x85, "COMBOBOX"),
         "progress": ("msctls_progress32", "MSCTLS_PROGRESS32")}

failures = []


def expect(cond, what):
    if not cond:
        failures.append(what)


def unescape(text):
    return re.sub(r"\\(.)", lambda m: "\n" if m.group(1) == "n" else m.group(1), text)


def source_lines(path):
    with open(path, encoding="utf-8") as f:
        return [l.rstrip("\n") for l in f if l.strip() and not l.startswith("#")]


def resource_data(pe, type_id, res_id):
    """The raw bytes of every language of one resource."""
    found = []
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if t.id != type_id:
            continue
        for r in t.directory.entries:
            if r.id != res_id:
                continue
            for lang in r.directory.entries:
                d = lang.data.struct
                found.append(pe.get_data(d.OffsetToData, d.Size))
    return found


def check_exports(dll, names):
    pe = pefile.PE(dll)
    got = sorted(e.name.decode() for e in getattr(pe, "DIRECTORY_ENTRY_EXPORT", None).symbols if e.name)
    expect(got == sorted(names), f"exports of {dll}: {got}")


def check_imports(files):
    for f in files:
        pe = pefile.PE(f)
        for entry in pe.DIRECTORY_ENTRY_IMPORT:
            name = entry.dll.decode().lower()
            expect(name in SYSTEM_DLLS or name.startswith("api-ms-win-"), f"{f} imports {name}")


def check_version(dll, res_dir):
    pe = pefile.PE(dll)
    fixed = pe.VS_FIXEDFILEINFO[0]
    v130 = (0x00010003, 0)
    expect((fixed.FileVersionMS, fixed.FileVersionLS) == v130, "file version is not 1.3.0.0")
    expect((fixed.ProductVersionMS, fixed.ProductVersionLS) == v130, "product version is not 1.3.0.0")
    tables = [st for fi in pe.FileInfo for e in fi if hasattr(e, "StringTable") for st in e.StringTable]
    expect(len(tables) == 1 and tables[0].LangID.lower() == b"040704b0", "one German (0407, Unicode) block")
    if not tables:
        return
    values = {k.decode(): v.decode("utf-8") for k, v in tables[0].entries.items()}
    with open(os.path.join(res_dir, "lvp_hdr.rc"), encoding="utf-8") as f:
        description = re.search(r'#define LVP_MODULE_DESCRIPTION "(.*)"', f.read()).group(1)
    strings = dict(l.split("\t", 2)[::2] for l in source_lines(os.path.join(res_dir, "strings.txt")))
    want = {"FileVersion": "1.3.0.0", "ProductVersion": "1.3.0.0", "OriginalFilename": "lvp_hdr.dll",
            "InternalName": "lvp_hdr.dll", "FileDescription": description, "Comments": unescape(strings["101"])}
    for key, value in want.items():
        expect(values.get(key) == value, f"version value {key}: {values.get(key)!r}, want {value!r}")
    manifest = b"".join(resource_data(pe, RT_MANIFEST, 2))
    expect(b'level="asInvoker"' in manifest and b'uiAccess="false"' in manifest, "manifest: asInvoker, no uiAccess")


def check_strings(dll, res_dir):
    pe = pefile.PE(dll)
    got = {}
    for block_id in range(1, 4097):
        for data in resource_data(pe, RT_STRING, block_id):
            pos = 0
            for i in range(16):
                (n,) = struct.unpack_from("<H", data, pos)
                pos += 2
                if n:
                    got[(block_id - 1) * 16 + i] = data[pos:pos + 2 * n].decode("utf-16-le")
                pos += 2 * n
    want = {int(i): unescape(t) for i, _name, t in (l.split("\t", 2) for l in source_lines(os.path.join(res_dir, "strings.txt")))}
    expect(got == want, f"string table differs: {sorted(set(got.items()) ^ set(want.items()))}")


class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self):
        self.pos = (self.pos + 3) & ~3

    def sz_or_ord(self):
        if struct.unpack_from("<H", self.data, self.pos)[0] == 0xFFFF:
            return self.take("HH")[1]
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        text = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return text


def styles_of(words):
    value = 0
    for w in words.split():
        value |= WIN32_STYLE[w]
    return value


def check_dialog(dll, res_dir):
    pe = pefile.PE(dll)
    datas = resource_data(pe, RT_DIALOG, 1000)
    expect(len(datas) == 1, "dialog 1000 exists once")
    if not datas:
        return
    r = Reader(datas[0])
    ver, sig, _help, _exstyle, style, count, x, y, cx, cy = r.take("HHIIIHhhhh")
    expect((ver, sig) == (1, 0xFFFF), "dialog 1000 is an extended template")
    menu, cls, caption = r.sz_or_ord(), r.sz_or_ord(), r.sz_or_ord()
    points, weight, italic, charset = r.take("HHBB")
    face = r.sz_or_ord()
    lines = [l.split("\t") for l in source_lines(os.path.join(res_dir, "dialog.txt"))]
    # without the NAME column of dialog and control lines
    lines = [l[:2] + l[3:] if l[0] in ("dialog", "control") else l for l in lines]
    dialog = next(l for l in lines if l[0] == "dialog" and l[1] == "1000")
    font = lines[lines.index(dialog) + 1]
    controls = [l for l in lines[lines.index(dialog) + 2:] if l[0] == "control"]
    expect([x, y, cx, cy] == [int(v) for v in dialog[2:6]], "dialog rectangle")
    expect(style == styles_of(dialog[6]) | DS_SETFONT, f"dialog style {style:#x}")
    expect((menu, cls, caption) == ("", "", unescape(dialog[7])), f"dialog caption {caption!r}")
    expect((points, weight, italic, charset, face) == (int(font[1]), int(font[2]), 0, int(font[3]), font[4]),
           f"dialog font {face!r} {points} {weight} {charset}")
    expect(count == len(controls), f"dialog has {count} controls")
    for want in controls[:count]:
        r.align()
        _help, _exstyle, cstyle, x, y, cx, cy, cid = r.take("IIIhhhhI")
        cclass, text = r.sz_or_ord(), r.sz_or_ord()
        extra = r.take("H")
        r.pos += extra
        what = f"control {want[1]}"
        kind, words = want[2], want[7]
        base = {"defbutton": BS_DEFPUSHBUTTON, "checkbox": BS_AUTOCHECKBOX, "droplist": CBS_DROPDOWNLIST,
                "progress": PBS_SMOOTH}.get(kind, 0)
        visible = 0 if "hidden" in words.split() else WS_VISIBLE
        expect(cid == int(want[1]), f"{what}: found id {cid}")
        expect(cclass in CLASS[kind], f"{what}: class {cclass}")
        expect([x, y, cx, cy] == [int(v) for v in want[3:7]], f"{what}: rectangle")
        expect(cstyle == WS_CHILD | visible | base | styles_of(words), f"{what}: style {cstyle:#x}")
        expect(text == unescape(want[8]), f"{what}: text {text!r}")


def check_machine(paths, machine):
    want = {"x64": 0x8664, "x86": 0x14C}[machine]
    for path in paths:
        found = pefile.PE(path, fast_load=True).FILE_HEADER.Machine
        expect(found == want, f"{os.path.basename(path)}: machine {found:#x}, wanted {machine}")


def main(argv):
    mode, args = argv[1], argv[2:]
    if mode == "machine":
        check_machine(args[:-1], args[-1])
    elif mode == "exports":
        check_exports(args[0], args[1:])
    elif mode == "imports":
        check_imports(args)
    elif mode in ("version", "strings", "dialog"):
        globals()["check_" + mode](args[0], args[1])
    else:
        sys.exit(f"unknown mode {mode}")
    for f in failures:
        print("FAILED:", f)
    print("ok" if not failures else f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
