#!/usr/bin/env python3
"""Reads the load configuration of Windows programs, 32-bit (PE32) or 64-bit (PE32+), without running
them: its directory must point at a structure whose DependentLoadFlags asks the loader for the system
directory alone (LOAD_LIBRARY_SEARCH_SYSTEM32). The two layouts place that field at different offsets,
so a structure of the other layout, or a directory left unset, fails here.

Usage: load_config_test.py EXE [EXE...]"""
import struct
import sys

LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800
# Optional header magic -> (name, offset of the data directories, offset of DependentLoadFlags).
LAYOUTS = {0x10B: ("PE32", 96, 0x36), 0x20B: ("PE32+", 112, 0x4E)}


def file_offset(image, header, rva):
    optional_size = struct.unpack_from("<H", image, header + 20)[0]
    sections = header + 24 + optional_size
    for i in range(struct.unpack_from("<H", image, header + 6)[0]):
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from(
            "<IIII", image, sections + 40 * i + 8)
        if virtual_address <= rva < virtual_address + min(max(virtual_size, 1), raw_size):
            return raw_offset + rva - virtual_address
    return None


def check(path):
    with open(path, "rb") as f:
        image = f.read()
    header = struct.unpack_from("<I", image, 0x3C)[0]
    if image[header:header + 4] != b"PE\0\0":
        return "not a PE image"
    magic = struct.unpack_from("<H", image, header + 24)[0]
    if magic not in LAYOUTS:
        return "unknown optional header magic %#x" % magic
    layout, directories, flags_offset = LAYOUTS[magic]
    rva, size = struct.unpack_from("<II", image, header + 24 + directories + 10 * 8)
    if rva == 0:
        return "%s: the load configuration directory is not set" % layout
    offset = file_offset(image, header, rva)
    if offset is None:
        return "%s: the load configuration lies in no section's file data" % layout
    declared = struct.unpack_from("<I", image, offset)[0]
    if declared != size or size < flags_offset + 2:
        return "%s: the structure's size %d (directory: %d) ends before DependentLoadFlags" % (
            layout, declared, size)
    flags = struct.unpack_from("<H", image, offset + flags_offset)[0]
    if flags != LOAD_LIBRARY_SEARCH_SYSTEM32:
        return "%s: DependentLoadFlags is %#x, not LOAD_LIBRARY_SEARCH_SYSTEM32" % (layout, flags)
    return None


def main():
    failed = False
    for path in sys.argv[1:]:
        fault = check(path)
        print("%s: %s" % (path, fault or "ok"))
        failed = failed or fault is not None
    sys.exit(1 if failed or len(sys.argv) < 2 else 0)


if __name__ == "__main__":
    main()
