#!/usr/bin/env python3
"""Prints the width, height and SHA-256 of the 8-bit RGB pixels of a PNG file,
so that two encoders' files can be compared by what they show."""
import hashlib
import struct
import sys
import zlib


def pixels(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG file")
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 2, 0):
        raise ValueError(path + ": not 8-bit RGB without interlacing")
    raw, stride = zlib.decompress(idat), 3 * width
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = row[x - 3] if x >= 3 else 0
            up = previous[x]
            upleft = previous[x - 3] if x >= 3 else 0
            if kind == 1:
                row[x] = (row[x] + left) & 255
            elif kind == 2:
                row[x] = (row[x] + up) & 255
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upleft
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else upleft
                row[x] = (row[x] + predictor) & 255
        rows.append(bytes(row))
        previous = row
    return width, height, hashlib.sha256(b"".join(rows)).hexdigest()


if __name__ == "__main__":
    print("%d %d %s" % pixels(sys.argv[1]))
