#!/usr/bin/env python3
"""Points a 32-bit PE executable's load configuration directory at its _load_config_used symbol,
which the GNU linker (before binutils 2.42) leaves unset, so that Windows reads the
DependentLoadFlags in it. Fails when the symbol is missing.

Usage: set_load_config.py NM EXECUTABLE
"""
import struct
import subprocess
import sys


def main():
    nm, executable = sys.argv[1], sys.argv[2]
    symbols = subprocess.run([nm, executable], check=True, capture_output=True, text=True).stdout
    address = None
    for line in symbols.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[2] == "__load_config_used":
            address = int(parts[0], 16)
    if address is None:
        sys.exit(f"{executable}: no _load_config_used symbol")
    with open(executable, "r+b") as f:
        image = bytearray(f.read())
        header = struct.unpack_from("<I", image, 0x3C)[0]
        optional = header + 24
        if struct.unpack_from("<H", image, optional)[0] != 0x10B:
            sys.exit(f"{executable}: not a 32-bit PE image")
        image_base = struct.unpack_from("<I", image, optional + 28)[0]
        size = struct.unpack_from("<I", image, optional + 96 + 10 * 8 + 4)[0]
        rva = address - image_base
        # The directory's size is the structure's own Size field, read from the section's file data.
        sections = header + 24 + struct.unpack_from("<H", image, header + 20)[0]
        for i in range(struct.unpack_from("<H", image, header + 6)[0]):
            entry = sections + 40 * i
            virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from(
                "<IIII", image, entry + 8)
            if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
                size = struct.unpack_from("<I", image, raw_offset + rva - virtual_address)[0]
                break
        else:
            sys.exit(f"{executable}: _load_config_used lies in no section")
        struct.pack_into("<II", image, optional + 96 + 10 * 8, rva, size)
        f.seek(0)
        f.write(image)


if __name__ == "__main__":
    main()
