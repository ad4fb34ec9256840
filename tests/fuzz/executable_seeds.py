#!/usr/bin/env python3
"""Writes the ELF seeds of the executable_file fuzz target into
corpus/executable_file/ and mends the hand-made PE seeds there, so that every
seed the reader accepts is laid out as the system's loader needs it: small shared
objects with a loadable segment over the whole file, a dynamic segment, a
symbol hash table (classic or GNU), dynamic symbols and needed libraries, in
both classes and byte orders.  The doctor's test lays some of them out too.

Usage: executable_seeds.py   (rewrites the seeds; run it when the reader's
notion of a well-formed file changes, and commit what it writes)
"""

import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus', 'executable_file')
SEVEN = ['RfcCall', 'RfcClose', 'RfcEnvironment', 'RfcLastError', 'RfcOpen', 'RfcOpenEx', 'RfcReceive']

ET_DYN, PT_LOAD, PT_DYNAMIC = 3, 1, 2
DT_NULL, DT_NEEDED, DT_HASH, DT_STRTAB, DT_SYMTAB, DT_STRSZ, DT_SYMENT, DT_RUNPATH = 0, 1, 4, 5, 6, 10, 11, 29
DT_GNU_HASH = 0x6ffffef5
STB_GLOBAL_FUNC = (1 << 4) | 2


class Layout:
    def __init__(self, bits, big_endian):
        self.bits = bits
        self.order = '>' if big_endian else '<'
        self.word = 'Q' if bits == 64 else 'I'
        self.header_size = 64 if bits == 64 else 52
        self.program_header_size = 56 if bits == 64 else 32
        self.symbol_size = 24 if bits == 64 else 16

    def pack(self, fields, *values):
        return struct.pack(self.order + fields, *values)


def strings_of(names):
    table, offsets = b'\0', {}
    for name in names:
        offsets[name] = len(table)
        table += name.encode() + b'\0'
    return table, offsets


def symbol(layout, name_offset, value):
    if layout.bits == 64:
        return layout.pack('IBBHQQ', name_offset, STB_GLOBAL_FUNC, 0, 1, value, 0)
    return layout.pack('IIIBBH', name_offset, value, 0, STB_GLOBAL_FUNC, 0, 1)


def classic_hash(layout, count):
    # One bucket holding the first symbol, each chained to the next.
    chains = [0] + [index + 1 if index + 1 < count else 0 for index in range(1, count)]
    return layout.pack('II', 1, count) + layout.pack('I', 1 if count > 1 else 0) + layout.pack('I' * count, *chains)


def gnu_hash(layout, count):
    # One bucket from symbol 1; the chain's last entry has its lowest bit set.
    chain = [2 if index + 1 < count else 3 for index in range(1, count)]
    return (layout.pack('IIII', 1, 1, 1, 6) + layout.pack(layout.word, ~0 & ((1 << layout.bits) - 1)) +
            layout.pack('I', 1) + layout.pack('I' * len(chain), *chain))


def shared_object(bits=64, big_endian=False, machine=62, exports=SEVEN, needed=('libc.so.6',), runpath=None,
                  hash_kind='classic'):
    layout = Layout(bits, big_endian)
    names = list(needed) + list(exports) + ([runpath] if runpath else [])
    strings, offsets = strings_of(names)
    data_start = layout.header_size + 2 * layout.program_header_size
    symbols_at = data_start
    symbols = b'\0' * layout.symbol_size + b''.join(
        symbol(layout, offsets[name], 0x100 + index) for index, name in enumerate(exports))
    count = len(exports) + 1
    hash_at = symbols_at + len(symbols)
    hash_table = classic_hash(layout, count) if hash_kind == 'classic' else gnu_hash(layout, count)
    strings_at = hash_at + len(hash_table)
    dynamic_at = (strings_at + len(strings) + 7) // 8 * 8
    entries = [(DT_HASH if hash_kind == 'classic' else DT_GNU_HASH, hash_at), (DT_STRTAB, strings_at),
               (DT_SYMTAB, symbols_at), (DT_STRSZ, len(strings)), (DT_SYMENT, layout.symbol_size)]
    entries += [(DT_NEEDED, offsets[name]) for name in needed]
    entries += [(DT_RUNPATH, offsets[runpath])] if runpath else []
    dynamic = b''.join(layout.pack(layout.word * 2, tag, value) for tag, value in entries + [(DT_NULL, 0)])
    size = dynamic_at + len(dynamic)
    if bits == 64:
        header = layout.pack('16sHHIQQQIHHHHHH', b'\x7fELF\x02' + (b'\x02' if big_endian else b'\x01') + b'\x01' +
                             b'\0' * 9, ET_DYN, machine, 1, 0, layout.header_size, 0, 0, layout.header_size,
                             layout.program_header_size, 2, 64, 0, 0)
        programs = (layout.pack('IIQQQQQQ', PT_LOAD, 5, 0, 0, 0, size, size, 0x1000) +
                    layout.pack('IIQQQQQQ', PT_DYNAMIC, 6, dynamic_at, dynamic_at, dynamic_at, len(dynamic),
                                len(dynamic), 8))
    else:
        header = layout.pack('16sHHIIIIIHHHHHH', b'\x7fELF\x01' + (b'\x02' if big_endian else b'\x01') + b'\x01' +
                             b'\0' * 9, ET_DYN, machine, 1, 0, layout.header_size, 0, 0, layout.header_size,
                             layout.program_header_size, 2, 40, 0, 0)
        programs = (layout.pack('IIIIIIII', PT_LOAD, 0, 0, 0, size, size, 5, 0x1000) +
                    layout.pack('IIIIIIII', PT_DYNAMIC, dynamic_at, dynamic_at, dynamic_at, len(dynamic),
                                len(dynamic), 6, 4))
    body = header + programs + symbols + hash_table + strings
    return body + b'\0' * (dynamic_at - len(body)) + dynamic


def mend_pe(path):
    """Gives a hand-made PE seed the image size and header size its sections
    need, as the system's loader checks them."""
    data = bytearray(open(path, 'rb').read())
    header = struct.unpack_from('<I', data, 0x3C)[0]
    sections, optional_size = struct.unpack_from('<H', data, header + 6)[0], struct.unpack_from('<H', data,
                                                                                               header + 20)[0]
    optional = header + 24
    table = optional + optional_size
    if table + 40 * sections > len(data):
        return
    end = 0x1000
    for index in range(sections):
        virtual_size, address, raw_size = struct.unpack_from('<III', data, table + 40 * index + 8)
        end = max(end, address + max(virtual_size, raw_size))
    struct.pack_into('<I', data, optional + 32, 0x1000)  # SectionAlignment
    struct.pack_into('<I', data, optional + 36, 0x200)  # FileAlignment
    struct.pack_into('<I', data, optional + 56, (end + 0xFFF) // 0x1000 * 0x1000)  # SizeOfImage
    struct.pack_into('<I', data, optional + 60, min(0x200, len(data)))  # SizeOfHeaders
    open(path, 'wb').write(bytes(data))


def main():
    seeds = {
        'elf64_library_with_seven_exports': shared_object(runpath='$ORIGIN'),
        'elf64_library_with_gnu_hash': shared_object(hash_kind='gnu', needed=('libc.so.6', 'libstdc++.so.6')),
        'elf32_x86_library': shared_object(bits=32, machine=3),
        'elf32_big_endian_library': shared_object(bits=32, big_endian=True, machine=8, hash_kind='gnu'),
    }
    seeds['elf64_library_cut_inside_its_segment'] = seeds['elf64_library_with_seven_exports'][:200]
    for name, data in seeds.items():
        with open(os.path.join(CORPUS, name), 'wb') as seed:
            seed.write(data)
    for name in sorted(os.listdir(CORPUS)):
        if name.startswith('pe') and 'cut' not in name and 'stub' not in name:
            mend_pe(os.path.join(CORPUS, name))


if __name__ == '__main__':
    main()
