#!/usr/bin/env python3
# Writes the fuzzer's seeds into corpus/: one small sound bitmap for each kind
# of info header and each depth it may have, with bit fields and top-down rows
# where they apply, so that mutation starts from every path of the rules and
# the reader. Run it again only to change the seeds; its output is kept.
import os
import struct

WIDTH, HEIGHT = 5, 3  # an odd width, so that rows are padded
HERE = os.path.dirname(os.path.abspath(__file__))
UNCOMPRESSED, BIT_FIELDS = 0, 3
MASKS = {16: (0xF800, 0x07E0, 0x001F), 32: (0xFF0000, 0x00FF00, 0x0000FF)}


def info_header(kind, depth, compression, height):
    if kind == 12:  # OS/2's first: 16-bit sizes
        return struct.pack('<IhhHH', 12, WIDTH, height, 1, depth)
    header = struct.pack('<IiiHHIIiiII', kind, WIDTH, height, 1, depth, compression, 0,
                         2835, 2835, 0, 0)
    if kind >= 108 and compression == BIT_FIELDS:
        header += struct.pack('<IIII', *MASKS[depth], 0)
    return header.ljust(kind, b'\0')


def bitmap(kind, depth, compression=UNCOMPRESSED, top_down=False):
    header = info_header(kind, depth, compression, -HEIGHT if top_down else HEIGHT)
    masks = b''
    if kind < 108 and compression == BIT_FIELDS:
        masks = struct.pack('<III', *MASKS[depth])
    table = b''
    if depth <= 8:
        entry = 3 if kind == 12 else 4
        table = b''.join(bytes([i * 255 // ((1 << depth) - 1)] * 3).ljust(entry, b'\0')
                         for i in range(1 << depth))
    row_bytes = (WIDTH * depth + 31) // 32 * 4
    pixels = bytes((x * 37 + y * 11) & 0xFF for y in range(HEIGHT) for x in range(row_bytes))
    offset = 14 + len(header) + len(masks) + len(table)
    size = offset + len(pixels)
    return b'BM' + struct.pack('<IHHI', size, 0, 0, offset) + header + masks + table + pixels


def main():
    out = os.path.join(HERE, 'corpus')
    os.makedirs(out, exist_ok=True)
    seeds = {}
    for kind in (12, 40, 64, 108, 124):
        for depth in (1, 4, 8, 16, 24, 32):
            seeds[f'header-{kind}-{depth}bit.bmp'] = bitmap(kind, depth)
            if kind != 12 and depth in MASKS:
                seeds[f'header-{kind}-{depth}bit-bitfields.bmp'] = bitmap(kind, depth, BIT_FIELDS)
        if kind != 12:
            seeds[f'header-{kind}-24bit-top-down.bmp'] = bitmap(kind, 24, top_down=True)
    for name, data in seeds.items():
        with open(os.path.join(out, name), 'wb') as file:
            file.write(data)


main()
