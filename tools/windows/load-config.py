#!/usr/bin/env python3
"""Points a PE32+ program's load configuration directory entry at its
_load_config_used symbol, as Microsoft's linker does and GNU ld 2.44 does
not: python3 load-config.py PROGRAM.exe. Run before stripping, while the
symbol table is there."""
import struct
import sys

LOAD_CONFIG_ENTRY = 10


def main(path):
    with open(path, 'r+b') as exe:
        image = bytearray(exe.read())
        pe = struct.unpack_from('<I', image, 0x3C)[0]
        if image[pe:pe + 4] != b'PE\0\0':
            sys.exit(f'load-config: {path} is not a PE file')
        sections, = struct.unpack_from('<H', image, pe + 6)
        symbols, symbol_count, optional_size = struct.unpack_from('<IIH', image, pe + 12)
        optional = pe + 24
        if struct.unpack_from('<H', image, optional)[0] != 0x20B:
            sys.exit(f'load-config: {path} is not PE32+')
        table = optional + optional_size
        addresses = [struct.unpack_from('<I', image, table + 40 * i + 12)[0] for i in range(sections)]
        strings = symbols + 18 * symbol_count
        i = 0
        while i < symbol_count:
            entry = symbols + 18 * i
            i += 1 + image[entry + 17]  # and its auxiliary entries
            name = bytes(image[entry:entry + 8])
            if name[:4] == b'\0\0\0\0':
                start = strings + struct.unpack_from('<I', name, 4)[0]
                name = bytes(image[start:image.index(b'\0', start)])
            value, section = struct.unpack_from('<Ih', image, entry + 8)
            if name.rstrip(b'\0') == b'_load_config_used' and section > 0:
                address = addresses[section - 1] + value
                size = struct.unpack_from('<I', image, _file_offset(image, table, sections, address))[0]
                struct.pack_into('<II', image, optional + 112 + 8 * LOAD_CONFIG_ENTRY, address, size)
                exe.seek(0)
                exe.write(image)
                return
        sys.exit(f'load-config: {path} has no _load_config_used')


def _file_offset(image, table, sections, address):
    for i in range(sections):
        size, start, _, raw = struct.unpack_from('<IIII', image, table + 40 * i + 8)
        if start <= address < start + size:
            return raw + address - start
    sys.exit('load-config: _load_config_used lies in no section')


main(sys.argv[1])
