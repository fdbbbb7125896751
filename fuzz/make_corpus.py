#!/usr/bin/env python3
"""Writes the seed corpus of the loader fuzz targets: real-shaped diaries."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def rec(weight, y, m, d, reserved=b"\0\0"):
    return struct.pack("<dhhh", weight, y, m, d) + reserved


def wide(text):
    n = len(text)
    if n < 255:
        head = bytes([n])
    elif n < 0xFFFE:
        head = b"\xff" + struct.pack("<H", n)
    else:
        head = b"\xff\xff\xff" + struct.pack("<I", n)
    return b"\xff\xfe\xff" + head + text.encode("utf-16-le")


def v101(records, unit="k", digits=1, version=101):
    return struct.pack("<ii", version, len(records)) + b"".join(records) + wide(unit) + struct.pack("<i", digits)


SEEDS = {
    "empty_doc.tlg": v101([], "k", 0),
    "one_record.tlg": v101([rec(65.5, 2002, 8, 30)]),
    "month.tlg": v101([rec(60 + i * 0.1, 2002, 8, i + 1) for i in range(31)], "kg", 2),
    "v100_two.tlg": struct.pack("<ii", 100, 2) + rec(60, 2002, 8, 1) + rec(61, 2002, 8, 2),
    "out_of_order.tlg": v101([rec(61, 2002, 8, 20), rec(60, 2002, 8, 1), rec(62, 2002, 8, 10, b"\xab\xcd")]),
    "sjis_unit.tlg": struct.pack("<ii", 101, 1) + rec(65, 2002, 8, 30) + bytes([4]) + "キロ".encode("cp932") + struct.pack("<i", 1),
    "long_unit.tlg": v101([rec(65, 2002, 8, 30)], "x" * 300, 3),
    "v102.tlg": v101([rec(65, 2002, 8, 30)], version=102),
    "odd_values.tlg": v101([rec(float("nan"), 2002, 13, 40), rec(float("inf"), -32768, 0, 0), rec(-1e300, 32767, 12, 31)]),
}

if __name__ == "__main__":
    for target in ("load", "load_draw"):
        folder = os.path.join(HERE, "corpus", target)
        os.makedirs(folder, exist_ok=True)
        for name, data in SEEDS.items():
            # The drawing target reads its window and switches from five bytes.
            prefix = b"" if target == "load" else struct.pack("<HHB", 240, 268, 0x0F)
            with open(os.path.join(folder, name), "wb") as f:
                f.write(prefix + data)
