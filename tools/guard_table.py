#!/usr/bin/env python3
"""Completes the Control Flow Guard function table of a linked 64-bit Windows executable, in place.

LLD lists the functions that guarded objects name as address-taken and, for objects built without
the guard (Debian's mingw-w64 runtime, winpthreads, libstdc++), those that relocations name by a
function symbol. GNU as writes references to a file's local functions against its section instead,
so the TLS callbacks, the C runtime's start-up and exit entries, thread starts and vtables of those
libraries go unlisted, and a Windows that enforces the guard ends the program when the loader,
msvcrt or the shell's own guarded code calls one of them.

This adds, from the image's own facts, every function start that something other than a direct
call reaches: the entry point, the exports, every absolute (DIR64-relocated) pointer into code
(TLS callbacks, start-up and exit tables, vtables) but the guard's own check and dispatch pointers
(the loader replaces those, and the routines they hold must stay invalid targets), every
RIP-relative LEA of a known function start (callbacks handed to atexit, thread starts), and the
exception handlers the unwinder calls. The merged table, sorted as the loader
requires, goes into a section of its own, and the load configuration points at it. An image that
lacks nothing is left as it is.

Usage: guard_table.py EXECUTABLE"""

import re
import struct
import sys

MEM_EXECUTE, MEM_READ, INITIALIZED_DATA = 0x20000000, 0x40000000, 0x40
DIRECTORY_EXPORT, DIRECTORY_EXCEPTION, DIRECTORY_RELOCATIONS, DIRECTORY_LOAD_CONFIG = 0, 3, 5, 10
REL_BASED_DIR64 = 10
UNW_FLAG_EHANDLER, UNW_FLAG_UHANDLER, UNW_FLAG_CHAININFO = 1, 2, 4
# Offsets in IMAGE_LOAD_CONFIG_DIRECTORY64.
LC_CHECK_POINTER, LC_DISPATCH_POINTER, LC_FUNCTION_TABLE, LC_FUNCTION_COUNT, LC_GUARD_FLAGS = 112, 120, 128, 136, 144
GUARD_CF_FUNCTION_TABLE_SIZE_SHIFT = 28
# lea r64, [rip + disp32]: REX.W (with or without REX.R), 8D, ModRM with mod 00 and r/m 101.
LEA_RIP = re.compile(rb"[\x48\x4c]\x8d[\x05\x0d\x15\x1d\x25\x2d\x35\x3d]")


def align(value: int, alignment: int) -> int:
    return (value + alignment - 1) // alignment * alignment


class Image:
    def __init__(self, data: bytearray):
        self.data = data
        self.pe = self.u32(0x3C)
        if data[self.pe:self.pe + 4] != b"PE\0\0" or self.u16(self.pe + 24) != 0x20B:
            raise ValueError("not a 64-bit PE image")
        self.optional = self.pe + 24
        self.section_table = self.optional + self.u16(self.pe + 20)
        self.image_base = self.u64(self.optional + 24)
        self.sections = []
        for i in range(self.u16(self.pe + 6)):
            entry = self.section_table + 40 * i
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, entry + 8)
            self.sections.append((rva, max(size, raw_size), raw, raw_size, self.u32(entry + 36)))

    def u16(self, at: int) -> int:
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at: int) -> int:
        return struct.unpack_from("<I", self.data, at)[0]

    def u64(self, at: int) -> int:
        return struct.unpack_from("<Q", self.data, at)[0]

    def directory(self, index: int) -> tuple[int, int]:
        return struct.unpack_from("<II", self.data, self.optional + 112 + 8 * index)

    def offset(self, rva: int) -> int:
        for start, size, raw, raw_size, _ in self.sections:
            if start <= rva < start + size and rva - start < raw_size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} is in no section's file data")

    def executable(self, rva: int) -> bool:
        return any(s[0] <= rva < s[0] + s[1] and s[4] & MEM_EXECUTE for s in self.sections)

    def load_config(self) -> int:
        return self.offset(self.directory(DIRECTORY_LOAD_CONFIG)[0])

    def guard_table(self) -> tuple[dict[int, bytes], int]:
        """The function table's entries (RVA to metadata bytes) and each entry's size."""
        config = self.load_config()
        stride = 4 + (self.u32(config + LC_GUARD_FLAGS) >> GUARD_CF_FUNCTION_TABLE_SIZE_SHIFT)
        count = self.u64(config + LC_FUNCTION_COUNT)
        at = self.offset(self.u64(config + LC_FUNCTION_TABLE) - self.image_base) if count else 0
        entries = (self.data[at + stride * i:at + stride * (i + 1)] for i in range(count))
        return {struct.unpack_from("<I", e)[0]: bytes(e[4:]) for e in entries}, stride

    def pointers_into_code(self) -> set[int]:
        config = self.load_config()
        replaced = {self.u64(config + f) - self.image_base for f in (LC_CHECK_POINTER, LC_DISPATCH_POINTER)}
        rva, size = self.directory(DIRECTORY_RELOCATIONS)
        at, end, targets = self.offset(rva), self.offset(rva) + size, set()
        while at < end:
            page, block = self.u32(at), self.u32(at + 4)
            for i in range(8, block, 2):
                entry = self.u16(at + i)
                where = page + (entry & 0xFFF)
                if entry >> 12 == REL_BASED_DIR64 and where not in replaced:
                    targets.add(self.u64(self.offset(where)) - self.image_base)
            at += block
        return {t for t in targets if self.executable(t)}

    def exports(self) -> set[int]:
        rva, size = self.directory(DIRECTORY_EXPORT)
        if not size:
            return set()
        at = self.offset(rva)
        functions = self.offset(self.u32(at + 28))
        return {f for f in (self.u32(functions + 4 * i) for i in range(self.u32(at + 20))) if self.executable(f)}

    def unwound_functions(self) -> tuple[set[int], set[int]]:
        """The functions the exception table describes, and the handlers their unwind data names."""
        rva, size = self.directory(DIRECTORY_EXCEPTION)
        starts, handlers = set(), set()
        for entry in range(self.offset(rva), self.offset(rva) + size if size else 0, 12):
            start, _, unwind = struct.unpack_from("<III", self.data, entry)
            starts.add(start)
            info = self.offset(unwind)
            flags, codes = self.data[info] >> 3, self.data[info + 2]
            if flags & (UNW_FLAG_EHANDLER | UNW_FLAG_UHANDLER) and not flags & UNW_FLAG_CHAININFO:
                handlers.add(self.u32(info + 4 + 2 * align(codes, 2)))
        return starts, handlers

    def lea_targets(self) -> set[int]:
        targets = set()
        for start, _, raw, raw_size, flags in self.sections:
            if flags & MEM_EXECUTE:
                code = self.data[raw:raw + raw_size]
                for match in LEA_RIP.finditer(code):
                    if match.start() + 7 <= len(code):
                        targets.add(start + match.start() + 7 + struct.unpack_from("<i", code, match.start() + 3)[0])
        return targets

    def called_indirectly(self) -> set[int]:
        listed, _ = self.guard_table()
        starts, handlers = self.unwound_functions()
        entry = self.u32(self.optional + 16)
        known = {entry} | self.exports() | self.pointers_into_code() | handlers
        return known | (self.lea_targets() & (known | starts | set(listed)))

    def add_section(self, name: bytes, contents: bytes) -> int:
        """Appends a read-only initialised-data section and returns its RVA."""
        count = self.u16(self.pe + 6)
        header = self.section_table + 40 * count
        section_alignment, file_alignment = self.u32(self.optional + 32), self.u32(self.optional + 36)
        last_rva, last_size, last_raw, last_raw_size, _ = max(self.sections)
        if header + 40 > self.u32(self.optional + 60) or len(self.data) != last_raw + last_raw_size:
            raise ValueError("no room for another section header, or data after the last section")
        rva, raw_size = align(last_rva + last_size, section_alignment), align(len(contents), file_alignment)
        struct.pack_into("<8sIIIIIIHHI", self.data, header, name, len(contents), rva, raw_size, len(self.data),
                         0, 0, 0, 0, INITIALIZED_DATA | MEM_READ)
        struct.pack_into("<H", self.data, self.pe + 6, count + 1)
        struct.pack_into("<I", self.data, self.optional + 8, self.u32(self.optional + 8) + raw_size)
        struct.pack_into("<I", self.data, self.optional + 56, align(rva + len(contents), section_alignment))
        self.data += contents.ljust(raw_size, b"\0")
        return rva


def complete_guard_table(image: Image) -> int:
    """Adds what the table lacks and returns how many functions were added."""
    listed, stride = image.guard_table()
    missing = image.called_indirectly() - set(listed)
    if missing:
        table = b"".join(struct.pack("<I", rva) + listed.get(rva, bytes(stride - 4))
                         for rva in sorted(set(listed) | missing))
        rva = image.add_section(b".gfids", table)
        config = image.load_config()
        struct.pack_into("<QQ", image.data, config + LC_FUNCTION_TABLE, image.image_base + rva, len(table) // stride)
    return len(missing)


def main(argv: list[str]) -> int:
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        image = Image(bytearray(f.read()))
    added = complete_guard_table(image)
    if added:
        with open(argv[1], "wb") as f:
            f.write(image.data)
    print(f"{argv[1]}: {added} functions added to the guard function table")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
