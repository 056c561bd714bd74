#!/usr/bin/env python3
"""A small display profile for the metadata tests, written byte by byte (no profile ships with the
test machine). Usage: make_icc.py OUT [PADDING]"""
import struct
import sys


def icc_profile(padding):
    """A display profile (sRGB's primaries adapted to D50, gamma 2.2) whose description exiftool
    reads and with which a colour engine (enfuse's) can work, padded to need several chunks."""
    text = b"Lumivant Test RGB\0"
    desc = b"desc" + bytes(4) + struct.pack(">I", len(text)) + text + bytes(8 + 3 + 67)
    desc += bytes(-len(desc) % 4)

    def xyz(x, y, z):
        return b"XYZ " + bytes(4) + struct.pack(">3i", *(round(v * 65536) for v in (x, y, z)))

    gamma = b"curv" + bytes(4) + struct.pack(">IH", 1, 0x0233) + bytes(2)
    tags = [(b"desc", desc), (b"wtpt", xyz(0.9642, 1.0, 0.8249)), (b"rXYZ", xyz(0.4361, 0.2225, 0.0139)),
            (b"gXYZ", xyz(0.3851, 0.7169, 0.0971)), (b"bXYZ", xyz(0.1431, 0.0606, 0.7141)),
            (b"rTRC", gamma), (b"gTRC", gamma), (b"bTRC", gamma),
            (b"zzzz", b"zzzz" + bytes(4) + bytes(i % 251 for i in range(padding)))]
    offset, table, data = 128 + 4 + 12 * len(tags), b"", b""
    for sig, body in tags:
        table += sig + struct.pack(">II", offset + len(data), len(body))
        data += body + bytes(-len(body) % 4)
    head = (struct.pack(">I", offset + len(data)) + b"lcms" + bytes([2, 0x10, 0, 0]) + b"mntrRGB XYZ " +
            struct.pack(">6H", 2024, 1, 1, 0, 0, 0) + b"acspAPPL" + bytes(24) + struct.pack(">3i", 63190, 65536, 54061) +
            b"lcms" + bytes(44))
    return head + struct.pack(">I", len(tags)) + table + data


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(icc_profile(int(sys.argv[2]) if len(sys.argv) > 2 else 0))
