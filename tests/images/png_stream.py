#!/usr/bin/python3
"""Checks the chunks and the zlib stream of each PNG file named on the
command line, with Python's zlib.

One line a file: the chunk types in order, separated by commas; "crc-ok", or
"crc-bad" and the types whose CRC-32 is wrong; the zlib stream's first two
bytes as hex; and "complete" when the joined IDAT chunks inflate to the end
of the stream with nothing after it, else "incomplete". What they inflate to
is written to the file's name with ".rows" added, for the test to compare
with the rows it expects.
"""
import struct
import sys
import zlib


def chunks(data):
    at = 8  # the signature
    while at + 12 <= len(data):
        (length,) = struct.unpack(">I", data[at : at + 4])
        kind = data[at + 4 : at + 8]
        body = data[at + 8 : at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length : at + 12 + length])
        yield kind.decode("latin-1"), body, zlib.crc32(kind + body) == crc
        at += 12 + length


def describe(path):
    with open(path, "rb") as file:
        data = file.read()
    kinds, bad, stream = [], [], b""
    for kind, body, crc_ok in chunks(data):
        kinds.append(kind)
        if not crc_ok:
            bad.append(kind)
        if kind == "IDAT":
            stream += body
    inflater = zlib.decompressobj()
    try:
        rows = inflater.decompress(stream)
        complete = inflater.eof and not inflater.unused_data
    except zlib.error:
        rows, complete = b"", False
    with open(path + ".rows", "wb") as file:
        file.write(rows)
    crc = "crc-ok" if not bad else "crc-bad " + ",".join(bad)
    return f"{','.join(kinds)} {crc} {stream[:2].hex()} {'complete' if complete else 'incomplete'}"


def main():
    for path in sys.argv[1:]:
        print(describe(path))


if __name__ == "__main__":
    main()
