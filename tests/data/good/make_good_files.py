#!/usr/bin/env python3
"""Writes the well-formed diary files of this folder and EXPECTED.txt.

Each line of EXPECTED.txt is
  name<TAB>records<TAB>digits<TAB>unit (UTF-8)<TAB>same|upgraded
where "same" means saving the loaded file gives back its exact bytes and
"upgraded" that it comes out as version 101 with the wide unit form.
"""
import datetime
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

def i32(v):
    return struct.pack('<i', v)

def record(weight, y, m, d, reserved=b'\0\0'):
    return struct.pack('<dhhh', weight, y, m, d) + reserved

def wide(text):
    units = text.encode('utf-16-le')
    n = len(units) // 2
    if n < 255:
        length = bytes([n])
    elif n < 0xfffe:
        length = b'\xff' + struct.pack('<H', n)
    else:
        length = b'\xff\xff\xff' + struct.pack('<I', n)
    return b'\xff\xfe\xff' + length + units

def diary(records, unit='k', digits=0, version=101):
    data = i32(version) + i32(len(records)) + b''.join(records)
    if version > 100 or version < 0:
        data += wide(unit) + i32(digits)
    return data

def days(start, count, weight):
    first = datetime.date(*start)
    out = []
    for i in range(count):
        d = first + datetime.timedelta(days=i)
        out.append(record(round(weight(i), 1), d.year, d.month, d.day))
    return out

CASES = [
    ('empty', diary([]), 0, 0, 'k', 'same'),
    ('one-record-kg', diary([record(65.5, 2002, 8, 30)], 'kg', 2), 1, 2, 'kg', 'same'),
    ('version-100-two-records', i32(100) + i32(2) + record(65.5, 2002, 8, 30, b'\x12\x34') + record(66.0, 2002, 8, 31),
     2, 1, 'k', 'upgraded'),
    ('version-102', diary([record(60.0, 2010, 1, 1)], 'kg', 1, 102), 1, 1, 'kg', 'upgraded'),
    ('shift-jis-unit', i32(101) + i32(1) + record(65.5, 2002, 8, 30) + b'\x04\xb7\xdb\x82\xa9' + i32(1),
     1, 1, '\uff77\uff9b\u304b', 'upgraded'),
    ('japanese-unit', diary(days((2002, 8, 1), 10, lambda i: 64 + i / 10), '\u30ad\u30ed', 1), 10, 1, '\u30ad\u30ed', 'same'),
    ('long-unit-300', diary([record(1.0, 2002, 1, 1)], 'g' * 300, 3), 1, 3, 'g' * 300, 'same'),
    ('year-2003', diary(days((2003, 1, 1), 365, lambda i: 70 - i * 0.01 + math.sin(i / 5)), 'kg', 1), 365, 1, 'kg', 'same'),
    ('decade-with-gaps', diary([r for i, r in enumerate(days((1996, 1, 1), 3653, lambda i: 80 - i * 0.003 + math.sin(i / 30)))
                                if i % 7 != 3], 'kg', 1), 3653 - 522, 1, 'kg', 'same'),
    ('leap-days', diary([record(60, 1900, 2, 28), record(61, 1900, 3, 1), record(62, 2000, 2, 29),
                         record(63, 2004, 2, 29), record(64, 2100, 3, 1)]), 5, 0, 'k', 'same'),
    ('unsorted-and-duplicate-days', diary([record(62, 2002, 8, 31), record(61, 2002, 8, 30), record(63, 2002, 8, 30)]),
     3, 0, 'k', 'same'),
    ('zero-and-negative-weights', diary([record(0.0, 2002, 8, 1), record(-5.0, 2002, 8, 2), record(0.0, 2002, 8, 3)]),
     3, 0, 'k', 'same'),
    ('reserved-bytes', diary([record(65.5, 2002, 8, 30, b'\xff\xee'), record(65.0, 2002, 8, 31, b'\x01\x00')]),
     2, 0, 'k', 'same'),
    ('empty-unit-five-digits', diary([record(65.12345, 2002, 8, 30)], '', 5), 1, 5, '', 'same'),
]

def main():
    for name in os.listdir(HERE):
        if name.endswith('.tlg'):
            os.remove(os.path.join(HERE, name))
    lines = []
    for name, data, records, digits, unit, resave in CASES:
        with open(os.path.join(HERE, name + '.tlg'), 'wb') as f:
            f.write(data)
        lines.append('\t'.join([name + '.tlg', str(records), str(digits), unit, resave]))
    with open(os.path.join(HERE, 'EXPECTED.txt'), 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')
    print('wrote %d files' % len(CASES))

if __name__ == '__main__':
    main()
