#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into OUT/<target>/: settings files from the
settings tests (the golden file and every string literal holding "<Settings>"), byte strings
from the stream tests, and a few hand-made values for the other targets."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def c_bytes(body):
    """The bytes of one C string literal's body (the escapes the tests use)."""
    out = bytearray()
    i = 0
    simple = {"n": 10, "r": 13, "t": 9, "0": 0, "\\": 92, '"': 34, "'": 39}
    while i < len(body):
        c = body[i]
        if c != "\\":
            out += c.encode("utf-8")
            i += 1
        elif body[i + 1] == "x":
            m = re.match(r"[0-9a-fA-F]+", body[i + 2:])
            out.append(int(m.group(0), 16) & 0xFF)
            i += 2 + len(m.group(0))
        else:
            out.append(simple.get(body[i + 1], ord(body[i + 1])))
            i += 2
    return bytes(out)


def literals(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    # Adjacent literals ("a" "b") are one string in C++.
    text = re.sub(r'"\s*\n\s*"', "", text)
    return [c_bytes(m.group(1)) for m in LITERAL.finditer(text)]


def write(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for n, data in enumerate(dict.fromkeys(seeds)):
        with open(os.path.join(folder, f"seed{n:03d}"), "wb") as f:
            f.write(data)


def main(out):
    tests = os.path.join(ROOT, "tests", "settings")
    settings = []
    data = os.path.join(tests, "data")
    for name in sorted(os.listdir(data)):
        with open(os.path.join(data, name), "rb") as f:
            settings.append(f.read())
    streams = []
    for name in sorted(os.listdir(tests)):
        if name.endswith("_test.cpp"):
            for lit in literals(os.path.join(tests, name)):
                if b"<Settings>" in lit:
                    settings += [lit, b"\xEF\xBB\xBF" + lit]
                elif name == "stream_test.cpp" and len(lit) > 1:
                    streams.append(lit)
    write(os.path.join(out, "settings_load_fuzz"), settings)
    write(os.path.join(out, "settings_roundtrip_fuzz"), settings)
    write(os.path.join(out, "utf_fuzz"), streams + settings[:8])
    write(os.path.join(out, "hex_fuzz"), [b"\x00007fA5", b"\x00abc", b"\x00a", b"\x000123456789abcdef",
                                          b"\x01\x30\x00\x37\x00\x66\x00\xff\xfe"])
    q95 = b"\x5f\x00\x00\x00"
    write(os.path.join(out, "command_line_fuzz"),
          [q95 + b"C:\\Tools\\enfuse.exe\0D:\\Bilder\\a-c.jpg\0D:\\Bilder\\a.jpg\0D:\\Bilder\\b.jpg",
           b"\xff\xff\xff\xff/usr/bin/enfuse\0/tmp/B\xc3\xa4ume.jpg\0\x01\0in 1.jpg\0\xf0\x9f\x98\x80"])
    write(os.path.join(out, "output_name_fuzz"),
          [b"\x00D:\\Bilder\\IMG_1.jpg\0D:\\Bilder\\IMG_3.jpg", b"\x01/home/u/a.b/IMG\0/x/y.tar.gz",
           b"\x01.hidden\0name.", b"\x00C:\\\0C:\\a\\"])


if __name__ == "__main__":
    main(sys.argv[1])
