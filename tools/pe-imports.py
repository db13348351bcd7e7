#!/usr/bin/python3
"""Prints the DLLs a Windows executable imports, one per line: "static NAME" for the
import table (loaded before the program's first line) and "delay NAME" for the
delay-import descriptors (loaded at the first call).

GNU ld (binutils 2.40) links the descriptors that dlltool's delay-import libraries
bring but leaves the delay-import directory of the header empty (the loader helper
does not need it): then the descriptors are found by their shape, 32 bytes holding
1 (addresses are RVAs), the RVA of a "NAME.dll" string, three more RVAs inside the
image and three zeros.

Usage: tools/pe-imports.py PROGRAM.exe
"""

import re
import struct
import sys


def main(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit("pe-imports: %s is not a PE file" % path)
    sections_count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)  # PE32+ or PE32
    sections = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i)
                for i in range(sections_count)]  # virtual size, address, raw size, raw offset

    def offset(rva):
        for size, address, raw_size, raw in sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError("RVA %#x is in no section" % rva)

    def name_at(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii")

    image_end = max(address + max(size, raw_size) for size, address, raw_size, raw in sections)

    def delay_descriptor_names():
        names = []
        for match in re.finditer(rb"\x01\0\0\0", data):
            at = match.start()
            if at % 4 or at + 32 > len(data):
                continue
            fields = struct.unpack_from("<8I", data, at)
            if fields[5:] != (0, 0, 0) or not all(0 < rva < image_end for rva in fields[1:5]):
                continue
            try:
                name = name_at(fields[1])
            except (ValueError, UnicodeDecodeError):
                continue
            if re.fullmatch(r"[A-Za-z0-9_.-]+\.dll", name, re.I):
                names.append(name)
        return names

    def directory(index):
        return struct.unpack_from("<II", data, directories + 8 * index)

    kinds = (("static", 1, 20, 12), ("delay", 13, 32, 4))  # directory, entry size, name field
    for kind, index, entry_size, name_field in kinds:
        rva, size = directory(index)
        if not rva:
            if kind == "delay":
                for name in delay_descriptor_names():
                    print(kind, name)
            continue
        at = offset(rva)
        while True:
            entry = data[at:at + entry_size]
            if not entry.strip(b"\0"):
                break
            print(kind, name_at(struct.unpack_from("<I", entry, name_field)[0]))
            at += entry_size


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
