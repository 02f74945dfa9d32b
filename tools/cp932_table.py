#!/usr/bin/env python3
"""Writes src/platform/common/cp932_table.inc: code page 932 as the C
library's iconv converts it (the Windows mapping, best-fit characters
included), so that every platform reads and writes the same bytes.

  tools/cp932_table.py > src/platform/common/cp932_table.inc
"""
import subprocess

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = range(0x40, 0xFD)


def iconv(args, data):
    return subprocess.run(["iconv", "-c"] + args, input=data, capture_output=True).stdout


def main():
    # Decoding: every double-byte code on a line of its own.
    codes = [bytes([lead, trail]) for lead in LEADS for trail in TRAILS]
    text = iconv(["-f", "CP932", "-t", "UTF-16LE"], b"\n".join(codes) + b"\n").decode("utf-16-le")
    decoded = text.split("\n")[:-1]
    assert len(decoded) == len(codes), (len(decoded), len(codes))
    # With -c an invalid code loses its lead byte and leaves its trail byte's
    # own character, which no double-byte character ever is.
    alone = iconv(["-f", "CP932", "-t", "UTF-16LE"], b"\n".join(bytes([t]) for t in TRAILS) + b"\n")
    trail_alone = dict(zip(TRAILS, alone.decode("utf-16-le").split("\n")))
    table = [ord(u) if len(u) == 1 and u != trail_alone[code[1]] else 0
             for code, u in zip(codes, decoded)]
    first = {}
    for code, u in zip(codes, table):
        if u:
            first.setdefault(u, int.from_bytes(code, "big"))
    # Encoding: where the converter's choice is not the first code that
    # decodes to the character (duplicates, best-fit characters).
    points = [cp for cp in range(0x80, 0x10000) if not 0xD800 <= cp <= 0xDFFF]
    src = "\n".join(chr(cp) for cp in points) + "\n"
    out = iconv(["-f", "UTF-16LE", "-t", "CP932"], src.encode("utf-16-le")).split(b"\n")[:-1]
    assert len(out) == len(points)
    extra = []
    for cp, enc in zip(points, out):
        if not enc or (0xFF61 <= cp <= 0xFF9F and enc == bytes([cp - 0xFF61 + 0xA1])):
            continue
        code = int.from_bytes(enc, "big")
        if first.get(cp) != code:
            extra.append((cp, code))
    print("// Code page 932 as tools/cp932_table.py wrote it from the C library's")
    print("// converter; not to be edited by hand.")
    print("// clang-format off")
    print(f"constexpr std::uint16_t kDoubleByteTable[{len(LEADS)}][{len(TRAILS)}] = {{")
    for i in range(len(LEADS)):
        row = table[i * len(TRAILS):(i + 1) * len(TRAILS)]
        print("{" + ",".join(str(u) for u in row) + "},")
    print("};")
    print(f"// Character and code, where encoding differs from the first code decoding to it.")
    print(f"constexpr std::uint16_t kEncodeExceptions[{len(extra)}][2] = {{")
    for i in range(0, len(extra), 12):
        print(",".join(f"{{{cp},{code}}}" for cp, code in extra[i:i + 12]) + ",")
    print("};")
    print("// clang-format on")


if __name__ == "__main__":
    main()
