#!/usr/bin/env python3
"""Writes the damaged and odd diary files of this folder and EXPECTED.txt.

Each line of EXPECTED.txt is  name<TAB>expectation  where the expectation is
either  error<TAB>text the load error's detail must contain,  or
ok<TAB>records<TAB>digits<TAB>unit (UTF-8)  for files the format says load.
Run it from anywhere; it rewrites the folder's .tlg files.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

def i32(v):
    return struct.pack('<i', v)

def u32(v):
    return struct.pack('<I', v)

def record(weight, y, m, d, reserved=b'\0\0'):
    return struct.pack('<dhhh', weight, y, m, d) + reserved

def wide(text):
    units = text.encode('utf-16-le')
    n = len(units) // 2
    assert n < 255
    return b'\xff\xfe\xff' + bytes([n]) + units

R1 = record(65.5, 2002, 8, 30, b'\xab\xcd')
R2 = record(65.0, 2002, 8, 31)
HEAD1 = i32(101) + i32(1) + R1            # 24 bytes: the unit starts at 24
UNIT = wide('kg')                         # 8 bytes: the digits start at 32
ENDS = 'the file ends inside '
TOO_MANY = 'the record count is larger than the records the file holds (byte 4)'

CASES = [
    # Truncation inside the header.
    ('empty', b'', 'error', ENDS + 'the version number (byte 0)'),
    ('version-1-byte', b'\x65', 'error', ENDS + 'the version number (byte 0)'),
    ('version-3-bytes', b'\x65\0\0', 'error', ENDS + 'the version number (byte 0)'),
    ('count-1-byte', i32(101) + b'\x01', 'error', ENDS + 'the record count (byte 4)'),
    ('count-3-bytes', i32(101) + b'\x01\0\0', 'error', ENDS + 'the record count (byte 4)'),
    # Counts that the bytes after them cannot hold.
    ('count-2-one-record', i32(101) + i32(2) + R1 + UNIT + i32(2), 'error', TOO_MANY),
    ('count-max-no-records', i32(101) + i32(2**31 - 1), 'error', TOO_MANY),
    ('count-max-v100', i32(100) + i32(2**31 - 1) + R1, 'error', TOO_MANY),
    ('record-cut-1-byte', i32(101) + i32(1) + R1[:1], 'error', TOO_MANY),
    ('record-cut-15-bytes', i32(101) + i32(1) + R1[:15], 'error', TOO_MANY),
    ('second-record-cut', i32(100) + i32(2) + R1 + R2[:8], 'error', TOO_MANY),
    ('version-0-record-cut', i32(0) + i32(1) + R1[:10], 'error', TOO_MANY),
    # Counts of zero and below: no records.
    ('count-0-no-unit', i32(101) + i32(0), 'error', ENDS + 'the unit text (byte 8)'),
    ('count-minus-1-no-unit', i32(101) + i32(-1), 'error', ENDS + 'the unit text (byte 8)'),
    ('count-minus-1-v101', i32(101) + i32(-1) + UNIT + i32(2), 'ok', 0, 2, 'kg'),
    ('count-minus-1-v100', i32(100) + i32(-1), 'ok', 0, 1, 'k'),
    ('count-min-v100', i32(100) + i32(-2**31) + R1, 'ok', 0, 1, 'k'),
    # Truncation inside the unit, in every length form.
    ('unit-missing', HEAD1, 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-ff-only', HEAD1 + b'\xff', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-ff-fe-only', HEAD1 + b'\xff\xfe', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-tag-only', HEAD1 + b'\xff\xfe\xff', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-wide-8bit-length-past-end', HEAD1 + b'\xff\xfe\xff\x05k\0g\0', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-wide-odd-byte', HEAD1 + b'\xff\xfe\xff\x01k', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-wide-16bit-length-cut', HEAD1 + b'\xff\xfe\xff\xff\x00', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-wide-16bit-length-past-end', HEAD1 + b'\xff\xfe\xff\xff\x00\x01' + b'k\0' * 4 + i32(1), 'error',
     ENDS + 'the unit text (byte 24)'),
    ('unit-wide-32bit-length-cut', HEAD1 + b'\xff\xfe\xff\xff\xff\xff\x10\x00', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-wide-32bit-length-past-end', HEAD1 + b'\xff\xfe\xff\xff\xff\xff' + u32(0x10000) + b'k\0' * 8, 'error',
     ENDS + 'the unit text (byte 24)'),
    ('unit-wide-32bit-length-max', HEAD1 + b'\xff\xfe\xff\xff\xff\xff' + u32(0xffffffff), 'error',
     ENDS + 'the unit text (byte 24)'),
    ('unit-narrow-8bit-length-past-end', HEAD1 + b'\x05kg', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-narrow-16bit-length-past-end', HEAD1 + b'\xff\x10\x00kg', 'error', ENDS + 'the unit text (byte 24)'),
    ('unit-narrow-32bit-length-past-end', HEAD1 + b'\xff\xff\xff' + u32(0x7fffffff) + b'kg', 'error',
     ENDS + 'the unit text (byte 24)'),
    # One-byte text that is not Shift_JIS.
    ('unit-sjis-bad-trail-byte', HEAD1 + b'\x02\x81\x20' + i32(1), 'error',
     'the unit text is not valid Shift_JIS (byte 24)'),
    ('unit-sjis-lone-lead-byte', HEAD1 + b'\x01\x81' + i32(1), 'error', 'the unit text is not valid Shift_JIS (byte 24)'),
    ('unit-sjis-undefined-byte', HEAD1 + b'\x01\xff' + i32(1), 'error', 'the unit text is not valid Shift_JIS (byte 24)'),
    # Truncation inside the digits.
    ('digits-missing', HEAD1 + UNIT, 'error', ENDS + 'the decimal digits (byte 32)'),
    ('digits-cut-3-bytes', HEAD1 + UNIT + b'\x02\0\0', 'error', ENDS + 'the decimal digits (byte 32)'),
    # Versions: every value loads, those above 100 (unsigned) with unit and digits.
    ('version-0', i32(0) + i32(1) + R1, 'ok', 1, 1, 'k'),
    ('version-0-trailing-bytes', i32(0) + i32(1) + R1 + UNIT + i32(2), 'ok', 1, 1, 'k'),
    ('version-100-trailing-bytes', i32(100) + i32(2) + R1 + R2 + b'trailing bytes', 'ok', 2, 1, 'k'),
    ('version-102', i32(102) + i32(1) + R1 + UNIT + i32(2), 'ok', 1, 2, 'kg'),
    ('version-ffffffff', u32(0xffffffff) + i32(1) + R1 + UNIT + i32(3), 'ok', 1, 3, 'kg'),
    ('version-ffffffff-no-unit', u32(0xffffffff) + i32(1) + R1, 'error', ENDS + 'the unit text (byte 24)'),
    ('version-80000000', u32(0x80000000) + i32(0) + wide('lb') + i32(0), 'ok', 0, 0, 'lb'),
    ('version-101-trailing-bytes', HEAD1 + UNIT + i32(2) + b'\0' * 100, 'ok', 1, 2, 'kg'),
    # Contents that load as they are: nothing but the layout is checked.
    ('records-out-of-order', i32(101) + i32(2) + R2 + R1 + UNIT + i32(1), 'ok', 2, 1, 'kg'),
    ('records-impossible-dates-and-weights', i32(101) + i32(3) + record(float('nan'), 2002, 13, 0)
     + record(float('-inf'), -32768, -1, 99) + record(-0.0, 0, 0, 0) + wide('') + i32(-7), 'ok', 3, -7, ''),
    ('unit-sjis-valid', HEAD1 + b'\x04\x82\xa9\xb7\xdb' + i32(5), 'ok', 1, 5, '\u304b\uff77\uff9b'),
    ('unit-long-digits-huge', HEAD1 + wide('kilograms') + i32(2**31 - 1), 'ok', 1, 2**31 - 1, 'kilograms'),
]

def main():
    for name in os.listdir(HERE):
        if name.endswith('.tlg'):
            os.remove(os.path.join(HERE, name))
    lines = []
    for case in CASES:
        name, data, kind = case[0], case[1], case[2]
        with open(os.path.join(HERE, name + '.tlg'), 'wb') as f:
            f.write(data)
        fields = [name + '.tlg', kind] + [str(v) for v in case[3:]]
        lines.append('\t'.join(fields))
    with open(os.path.join(HERE, 'EXPECTED.txt'), 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')
    print('wrote %d files' % len(CASES))

if __name__ == '__main__':
    main()
