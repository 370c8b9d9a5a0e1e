#!/usr/bin/env python3
"""Points a PE executable's load configuration directory (PE32 or PE32+) at its _load_config_used
variable, which the GNU linker (before binutils 2.42) leaves unset, so that Windows reads the
DependentLoadFlags in it. Fails when the symbol is missing.

Usage: set_load_config.py NM EXECUTABLE
"""
import struct
import subprocess
import sys

# The C name _load_config_used, as each architecture spells it in the symbol table: i686 puts an
# underscore before every C name, x86_64 does not.
SYMBOL_NAMES = ("__load_config_used", "_load_config_used")
# Optional header magic -> (offset and format of ImageBase, offset of the data directories).
LAYOUTS = {0x10B: (28, "<I", 96), 0x20B: (24, "<Q", 112)}
LOAD_CONFIG_DIRECTORY = 10


def find_symbol(nm, executable, name_wanted):
    symbols = subprocess.run([nm, executable], check=True, capture_output=True, text=True).stdout
    for line in symbols.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[2] == name_wanted:
            return int(parts[0], 16)
    return None


def main():
    nm, executable = sys.argv[1], sys.argv[2]
    with open(executable, "r+b") as f:
        image = bytearray(f.read())
        header = struct.unpack_from("<I", image, 0x3C)[0]
        optional = header + 24
        magic = struct.unpack_from("<H", image, optional)[0]
        if magic not in LAYOUTS:
            sys.exit(f"{executable}: neither a PE32 nor a PE32+ image (magic {magic:#x})")
        base_offset, base_format, directories = LAYOUTS[magic]
        name = SYMBOL_NAMES[0] if magic == 0x10B else SYMBOL_NAMES[1]
        address = find_symbol(nm, executable, name)
        if address is None:
            sys.exit(f"{executable}: no {name} symbol")
        image_base = struct.unpack_from(base_format, image, optional + base_offset)[0]
        entry = optional + directories + LOAD_CONFIG_DIRECTORY * 8
        rva = address - image_base
        # The directory's size is the structure's own Size field, read from the section's file data.
        sections = optional + struct.unpack_from("<H", image, header + 20)[0]
        for i in range(struct.unpack_from("<H", image, header + 6)[0]):
            section = sections + 40 * i
            virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from(
                "<IIII", image, section + 8)
            if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
                size = struct.unpack_from("<I", image, raw_offset + rva - virtual_address)[0]
                break
        else:
            sys.exit(f"{executable}: {name} lies in no section")
        struct.pack_into("<II", image, entry, rva, size)
        f.seek(0)
        f.write(image)


if __name__ == "__main__":
    main()
