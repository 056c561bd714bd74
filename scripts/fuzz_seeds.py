#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into OUT/<target>/: settings files from the
settings tests (the golden file and every string literal holding "<Settings>"), byte strings
from the stream tests, a few hand-made values for the other targets, and for the metadata
carrier pairs of photo and output (hand-made JPEG and TIFF structures, and small real photos
tagged by exiftool where ImageMagick and exiftool are installed)."""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

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
    write(os.path.join(out, "metadata_fuzz"), metadata_seeds())
    write(os.path.join(out, "xmp_fuzz"), xmp_seeds())



def segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack(">H", len(payload) + 2) + payload


def tiny_jpeg(*segments, width=16, height=8):
    body = segment(0xDB, bytes(65)) + segment(0xC0, bytes([8]) + struct.pack(">HH", height, width) + b"\x01\x01\x11\x00")
    return (b"\xff\xd8" + b"".join(segments) + body + segment(0xC4, bytes(17)) +
            segment(0xDA, b"\x01\x01\x00\x00\x3f\x00") + b"\x12\xff\x00\x34\xff\xd9")


def exif_block(order):
    """IFD0 (Make, Orientation, Exif pointer, IFD1), an Exif IFD (PixelX/Y, maker note), IFD1."""
    e = "<" if order == b"II" else ">"
    def ifd(entries, nxt):
        return struct.pack(e + "H", len(entries)) + b"".join(entries) + struct.pack(e + "I", nxt)
    def entry(tag, typ, count, value):
        return struct.pack(e + "HHI", tag, typ, count) + value
    exif_at, ifd1_at = 8 + 2 + 36 + 4, 8 + 50 + 2 + 36 + 4
    ifd0 = ifd([entry(271, 2, 4, b"Cam\0"), entry(274, 3, 1, struct.pack(e + "HH", 6, 0)),
                entry(34665, 4, 1, struct.pack(e + "I", exif_at))], ifd1_at)
    exif = ifd([entry(37500, 7, 4, b"MKNT"), entry(40962, 3, 1, struct.pack(e + "HH", 400, 0)),
                entry(40963, 4, 1, struct.pack(e + "I", 300))], 0)
    thumb_at = ifd1_at + 2 + 24 + 4
    ifd1 = ifd([entry(513, 4, 1, struct.pack(e + "I", thumb_at)), entry(514, 4, 1, struct.pack(e + "I", 10))], 0)
    return order + struct.pack(e + "HI", 42, 8) + ifd0 + exif + ifd1 + tiny_jpeg()[:10]


def tiny_tiff(order, extra=b""):
    e = "<" if order == b"II" else ">"
    entries = [(256, 3, 1, 2), (257, 3, 1, 2), (259, 3, 1, 1), (262, 3, 1, 1), (273, 4, 1, 8), (279, 4, 1, 4)]
    body = b"".join(struct.pack(e + "HHI", t, ty, c) + (struct.pack(e + "HH", v, 0) if ty == 3 else struct.pack(e + "I", v))
                    for t, ty, c, v in entries)
    return order + struct.pack(e + "HI", 42, 12) + b"\x10\x20\x30\x40" + struct.pack(e + "H", len(entries)) + body + bytes(4) + extra


def pair(photo, output):
    return struct.pack("<H", len(photo) & 0xFFFF) + photo + output


def real_photos():
    """Small tagged photos made with ImageMagick and exiftool, when both are there."""
    if not (shutil.which("convert") and shutil.which("exiftool")):
        return []
    out = []
    with tempfile.TemporaryDirectory() as d:
        jpg, tif = os.path.join(d, "p.jpg"), os.path.join(d, "p.tif")
        tags = ["-Make=Cam", "-Orientation#=6", "-DateTimeOriginal=2024:05:01 10:20:30", "-GPSLatitude=47.5",
                "-XMP-xmp:Rating=4", "-IPTC:Keywords=Alpen", "-ExifImageWidth=24", "-Model=LV-1",
                "-SerialNumber=0042", "-SubSecTimeOriginal=05", "-ExposureTime=1/250", "-FNumber=8", "-ISO=200",
                "-ExposureCompensation=-2/3"]
        try:
            subprocess.run(["convert", "-size", "24x16", "gradient:", jpg], check=True, capture_output=True)
            subprocess.run(["convert", jpg, "-compress", "none", tif], check=True, capture_output=True)
            for f in (jpg, tif):
                subprocess.run(["exiftool", "-q", "-overwrite_original", *tags, f], check=True, capture_output=True)
                with open(f, "rb") as fh:
                    out.append(fh.read())
        except (OSError, subprocess.CalledProcessError):
            return []
    return out


def metadata_seeds():
    fused = tiny_jpeg(segment(0xE0, b"JFIF\0\x01\x01\0\0\x01\0\x01\0\0"))
    xmp = segment(0xE1, b"http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>")
    icc = segment(0xE2, b"ICC_PROFILE\0\x01\x01" + bytes(40))
    iptc = segment(0xED, b"Photoshop 3.0\08BIM\x04\x04\0\0\0\0\0\x05\x1c\x02\x19\x00\x00\0")
    photos = [tiny_jpeg(segment(0xE1, b"Exif\0\0" + exif_block(o)), xmp, icc, iptc) for o in (b"II", b"MM")]
    photos += [tiny_jpeg(), tiny_tiff(b"MM")] + real_photos()
    outputs = [fused, tiny_tiff(b"II"), tiny_tiff(b"MM")]
    return [pair(p, o) for p in photos for o in outputs]


def xmp_seeds():
    packet = (b"<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta xmlns:x='adobe:ns:meta/'>"
              b"<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description rdf:about=''"
              b" xmlns:dc='http://purl.org/dc/elements/1.1/' xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmp:Rating='4'>"
              b"<dc:subject><rdf:Bag><rdf:li>Berge</rdf:li></rdf:Bag></dc:subject><dc:description>" + b"h" * 300 +
              b"</dc:description></rdf:Description></rdf:RDF></x:xmpmeta>" + b" " * 100 + b"<?xpacket end='w'?>")
    named = packet.replace(b"xmp:Rating", b"xmpNote:HasExtendedXMP='" + b"A" * 32 + b"' xmp:Rating")
    return [b"\x00\x01" + packet, b"\x40\x01" + packet + b"\0" + packet, b"\xff\xff" + named + b"\0" + packet,
            b"\x80\x00" + named]


if __name__ == "__main__":
    main(sys.argv[1])
