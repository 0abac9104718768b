#!/usr/bin/env python3
"""Gives resources in a compiled resource file (.res) the names that the
resource compiler cannot spell.

  python3 tools/fix_res_names.py INPUT.res OUTPUT.res

The program loads its bitmaps as "planets(96)", "planets(192)" and so on;
wrc takes no parentheses in a resource name, so resources/bitmaps.rc writes
PLANETS_96_ and this tool renames every string-named resource whose name
ends in "_<digits>_" to end in "(<digits>)" instead. The new name has the
same length, so nothing else in the file moves. Type names and numbered
resources are left alone.

The whole file is checked before anything is written: a damaged or
truncated file, or a rename that would give two resources of one type the
same name, ends the tool with an error message and exit code 1, and no
output file is written.
"""

import os
import re
import struct
import sys

SUFFIX = re.compile(r"^(.+)_([0-9]+)_$")


class ResError(Exception):
    pass


def read_id(data, pos, end, what):
    """A type or name field: (value, position after it, offset of a string
    or None). value is an int for a numbered id, else the text."""
    if pos + 2 > end:
        raise ResError("%s runs past the header at offset %d" % (what, pos))
    first, = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        if pos + 4 > end:
            raise ResError("%s runs past the header at offset %d" % (what, pos))
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4, None
    start = pos
    while True:
        if pos + 2 > end:
            raise ResError("%s at offset %d has no end" % (what, start))
        ch, = struct.unpack_from("<H", data, pos)
        pos += 2
        if ch == 0:
            break
    try:
        text = data[start:pos - 2].decode("utf-16-le")
    except UnicodeDecodeError:
        raise ResError("%s at offset %d is not valid UTF-16" % (what, start))
    return text, pos, start


def fix_names(data):
    """The file with its names fixed, and the number of renamed resources."""
    data = bytearray(data)
    pos = 0
    renamed = 0
    seen = set()
    while pos < len(data):
        if pos + 8 > len(data):
            raise ResError("truncated resource header at offset %d" % pos)
        data_size, header_size = struct.unpack_from("<II", data, pos)
        if header_size < 16 or header_size % 4 or pos + header_size > len(data):
            raise ResError("bad header size %d at offset %d" % (header_size, pos))
        header_end = pos + header_size
        if data_size > len(data) - header_end:
            raise ResError("resource data at offset %d runs past the end of the file" % pos)
        rtype, p, _ = read_id(data, pos + 8, header_end, "resource type")
        name, p, name_at = read_id(data, p, header_end, "resource name")
        if name_at is not None:
            m = SUFFIX.match(name)
            if m:
                name = "%s(%s)" % (m.group(1), m.group(2))
                new = name.encode("utf-16-le")
                data[name_at:name_at + len(new)] = new
                renamed += 1
            key = (rtype, name.upper())
            if key in seen:
                raise ResError("two resources of type %r are named %s" % (rtype, name))
            seen.add(key)
        pos = header_end + ((data_size + 3) & ~3)
    return bytes(data), renamed


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: fix_res_names.py INPUT.res OUTPUT.res\n")
        return 2
    source, target = argv
    try:
        with open(source, "rb") as f:
            data = f.read()
        fixed, _ = fix_names(data)
    except (OSError, ResError) as e:
        sys.stderr.write("fix_res_names: %s: %s\n" % (source, e))
        return 1
    temp = target + ".tmp"
    try:
        with open(temp, "wb") as f:
            f.write(fixed)
        os.replace(temp, target)
    except OSError as e:
        sys.stderr.write("fix_res_names: %s: %s\n" % (target, e))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
