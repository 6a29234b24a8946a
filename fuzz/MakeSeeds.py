#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into <Target>/seeds. Run it again after a target
changes how it reads its input; the seeds are small and kept in the repository.

A target takes its choices from the back of the input and its data from the front (FuzzInput.h), so
a seed is the data followed by the choices, last choice first."""

import os
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def choice(value, low, high):
    """The bytes that c_FuzzInput::TakeInt(low, high) reads back as value, in the order taken."""
    span, count, covered = high - low, 0, 0
    while covered < span:
        covered = covered << 8 | 0xFF
        count += 1
    value -= low
    return [(value >> (8 * (count - 1 - i))) & 0xFF for i in range(count)]


def seed(data, *choices):
    taken = []
    for value, low, high in choices:
        taken += choice(value, low, high)
    return bytes(data) + bytes(reversed(taken))


def deflated(data, wbits, level=6):
    compressor = zlib.compressobj(level, zlib.DEFLATED, wbits)
    return compressor.compress(data) + compressor.flush()


def literal_block(data):
    """One LZ4 block of literals only."""
    n = len(data)
    token = (min(n, 15) << 4)
    extra = []
    if n >= 15:
        rest = n - 15
        while rest >= 255:
            extra.append(255)
            rest -= 255
        extra.append(rest)
    return bytes([token] + extra) + data


def framed(*blocks):
    out = b""
    for block in blocks:
        out += len(block).to_bytes(2, "little") + block
    return out


def write(target, name, data):
    folder = os.path.join(HERE, target, "seeds")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as file:
        file.write(data)


TEXT = b"".join(b"price %d volume %d chart DovrikChart\n" % (i * 7, i * 13) for i in range(200))
U32 = (0, 0xFFFFFFFF)

# ZlibInflateStream: raw, form, limit flag (and limit), slice seed, largest slice.
for form in range(4):
    write("ZlibInflateStream", "zlib-form%d" % form,
          seed(deflated(TEXT, 15), (0, 0, 255), (form, 0, 3), (0, 0, 255), (1234 + form, *U32), (97, 1, 4096)))
write("ZlibInflateStream", "gzip", seed(deflated(TEXT, 31), (0, 0, 255), (0, 0, 3), (0, 0, 255), (5, *U32), (1, 1, 4096)))
write("ZlibInflateStream", "raw", seed(deflated(TEXT, -15), (1, 0, 255), (2, 0, 3), (0, 0, 255), (6, *U32), (300, 1, 4096)))
write("ZlibInflateStream", "limited",
      seed(deflated(TEXT, 31), (0, 0, 255), (0, 0, 3), (1, 0, 255), (1000, 0, 1 << 20), (7, *U32), (50, 1, 4096)))
write("ZlibInflateStream", "trailing", seed(deflated(b"abc", 15) + b"after", (0, 0, 255), (1, 0, 3), (0, 0, 255), (8, *U32), (3, 1, 4096)))

# DecompressBlock: limit flag, then the block.
abc = b"\x00" + deflated(b"abc", -15) + zlib.adler32(b"abc").to_bytes(4, "little")
write("DecompressBlock", "abc", seed(abc, (0, 0, 255)))
write("DecompressBlock", "text", seed(b"\x00" + deflated(TEXT, -15) + zlib.adler32(TEXT).to_bytes(4, "little"), (0, 0, 255)))

# LZ4StreamDecompressor: slice seed, largest slice, capacity seed, largest capacity.
blocks = framed(literal_block(b"hello, world"), b"", literal_block(TEXT[:1000]), literal_block(b"x" * 20))
write("LZ4StreamDecompressor", "literals", seed(blocks, (11, *U32), (7, 1, 4096), (12, *U32), (100, 1, 3000)))
match = bytes([0x44]) + b"abcd" + (4).to_bytes(2, "little") + bytes([0x50]) + b"efghi"
write("LZ4StreamDecompressor", "match", seed(framed(match, match), (13, *U32), (4096, 1, 4096), (14, *U32), (3000, 1, 3000)))

# CompressedBlocks: mode, slice seed, largest slice; the data is blocks of an 8-byte header
# {whole length, uncompressed length} and one LZ4 block (mode 1) or framed stream blocks (mode 2).
def compressed_block(data, payload):
    return (len(payload) + 8).to_bytes(4, "little") + len(data).to_bytes(4, "little") + payload
write("CompressedBlocks", "blocks", seed(compressed_block(b"hello", literal_block(b"hello")) +
                                         compressed_block(TEXT[:300], literal_block(TEXT[:300])),
                                         (1, 1, 2), (31, *U32), (5, 1, 4096)))
write("CompressedBlocks", "stream", seed(compressed_block(TEXT[:100], framed(literal_block(TEXT[:100]))) +
                                         compressed_block(b"x" * 20, framed(literal_block(b"x" * 20))),
                                         (2, 1, 2), (32, *U32), (3, 1, 4096)))

one_shot = compressed_block(b"hello, world", literal_block(b"hello, world")) + \
    compressed_block(TEXT[:500], literal_block(TEXT[:500]))
write("CompressedBlocks", "oneshot-waiting", seed(one_shot + one_shot[:10], (1, 1, 2), (15, *U32), (9, 1, 4096)))
write("CompressedBlocks", "stream-match", seed(compressed_block(b"abcdabcdefghi", framed(literal_block(b"abcd"), match)),
                                               (2, 1, 2), (16, *U32), (4096, 1, 4096)))

# LZ4RoundTrip: repeats, form, then the form's choices, then the data.
write("LZ4RoundTrip", "stream", seed(TEXT[:2000], (40, 1, 40), (0, 0, 3), (21, *U32), (3000, 1, 20000), (22, *U32), (700, 1, 5000), (1, 0, 255)))
write("LZ4RoundTrip", "high", seed(TEXT[:2000], (40, 1, 40), (1, 0, 3), (1024, 1, 70000), (65536, 1, 140000), (23, *U32), (5000, 1, 20000), (24, *U32), (100, 0, 70000)))
write("LZ4RoundTrip", "block", seed(TEXT[:3000], (30, 1, 40), (2, 0, 3), (64000, 1, 70000), (1, 1, 64)))
write("LZ4RoundTrip", "oneshot", seed(TEXT[:500], (3, 1, 40), (3, 0, 3)))

# ZlibDecompressor2: round trip, piece count and pieces, last piece, read seed, largest read, write
# seed, largest write, level + 1.
def decompressor_seed(data, round_trip, pieces, level):
    choices = [(1 if round_trip else 0, 0, 255), (len(pieces), 1, 8)]
    choices += [(piece, 0, 70000) for piece in pieces]
    choices += [(1000, 1, 70000), (31, *U32), (5000, 1, 300000), (32, *U32), (3000, 1, 300000), (level + 1, 0, 10)]
    return seed(data, *choices)

write("ZlibDecompressor2", "zlib", decompressor_seed(deflated(TEXT, 15), False, [0, 100, 7], -1))
write("ZlibDecompressor2", "gzip", decompressor_seed(deflated(TEXT, 31), False, [1], -1))
write("ZlibDecompressor2", "roundtrip", decompressor_seed(TEXT, True, [500, 0], 9))

# HTTPResponse: close, body-limit flag (1 takes a limit), slice seed, largest slice.
RESPONSE = b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello"
CHUNKED = b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;x=1\r\nhello\r\n0\r\nT: 1\r\n\r\n"
GZIP_BODY = deflated(TEXT[:300], 31)
GZIPPED = b"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n\r\n" + GZIP_BODY
write("HTTPResponse", "length", seed(RESPONSE, (0, 0, 255), (0, 0, 255), (41, *U32), (7, 1, 4096)))
write("HTTPResponse", "chunked", seed(CHUNKED, (0, 0, 255), (1, 0, 255), (64, 0, 1 << 16), (42, *U32), (3, 1, 4096)))
write("HTTPResponse", "gzip-close", seed(GZIPPED, (1, 0, 255), (0, 0, 255), (43, *U32), (100, 1, 4096)))

# HTTPChunkedGzip: form, cut, cut point, change, change point, chunk seed, largest chunk, slice seed,
# largest slice.
for form in range(3):
    write("HTTPChunkedGzip", "form%d" % form, seed(TEXT[:2000], (form, 0, 2), (0, 0, 255), (0, *U32), (0, 0, 255),
                                                   (0, *U32), (50 + form, *U32), (300, 1, 1024), (60, *U32), (500, 1, 4096)))
write("HTTPChunkedGzip", "cut", seed(TEXT[:500], (0, 0, 2), (1, 0, 255), (77, *U32), (0, 0, 255), (0, *U32),
                                     (5, *U32), (17, 1, 1024), (6, *U32), (9, 1, 4096)))

# HTTPURL: the text itself.
for name, url in [("plain", b"https://example.com:8443/a/b?c=1#frag"), ("noscheme", b"example.com/x"),
                  ("userinfo", b"http://user:pw@example.com/"), ("query", b"http://example.com?u=http://x")]:
    write("HTTPURL", name, url)

# HTTPProxyChallenge: the "Proxy-Authenticate" value itself.
for name, value in [("basic", b'Basic realm="proxy"'), ("several", b'Negotiate, Basic realm="a,\\"b", charset=x'),
                    ("alone", b"Basic"), ("unclosed", b'Digest realm="x, Basic realm=y')]:
    write("HTTPProxyChallenge", name, value)

# URLReference: the base, then the reference; choices: redirect count, base length.
for name, base, reference, count in [("relative", b"http://a/b/c/d;p?q", b"../g?y#s", 0),
                                     ("absolute", b"https://127.0.0.2:8443/a", b"http://127.0.0.3/./b/../c", 3),
                                     ("authority", b"https://h/x", b"//other:8443/p", 9),
                                     ("limit", b"http://h/", b"/next", 10)]:
    write("URLReference", name, seed(base + reference, (len(base), 0, 255), (count, 0, 15)))

# Socks5Reply: the proxy's bytes, then start state, host length, port, user length, slice seed,
# largest slice.
IPV4_REPLY = b"\x05\x00\x00\x01\x7f\x00\x00\x01\x04\x38"
NAME_REPLY = b"\x05\x00\x00\x03\x04name\x04\x38"
IPV6_REPLY = b"\x05\x00\x00\x04" + bytes(16) + b"\x04\x38"
for name, start, answer in [("method", 2, b"\x05\x00" + IPV4_REPLY + b"data"),
                            ("password", 2, b"\x05\x02\x01\x00" + NAME_REPLY + b"data"),
                            ("status", 3, b"\x01\x00" + IPV6_REPLY),
                            ("reply", 4, NAME_REPLY + b"after"),
                            ("refused", 4, b"\x05\x05\x00\x01")]:
    write("Socks5Reply", name, seed(answer, (start, 2, 4), (10, 0, 255), (443, 0, 65535), (4, 0, 300), (start, *U32),
                                    (3, 1, 64)))

# ShellLinkFile: a shortcut as the shell link object writes it, and one with an id list, a link info
# without UTF-16 fields and 8-bit string data.
def u32(value):
    return value.to_bytes(4, "little")


def link_header(flags):
    return (u32(0x4C) + bytes.fromhex("0114020000000000c000000000000046") + u32(flags) + u32(0x20) +
            bytes(24) + u32(10) + u32(0) + u32(1) + bytes(12))


def link_info(path, wide):
    header_size = 0x24 if wide else 0x1C
    volume = u32(0x11) + u32(3) + u32(0) + u32(0x10) + b"\0"
    base = header_size + len(volume)
    suffix = base + len(path) + 1
    fields = [1, header_size, base, 0, suffix]
    tail = volume + path + b"\0" + b"\0"
    if wide:
        wide_base = suffix + 1
        fields += [wide_base, wide_base + 2 * len(path) + 2]
        tail += path.decode("latin-1").encode("utf-16-le") + b"\0\0" + b"\0\0"
    body = u32(header_size) + b"".join(u32(f) for f in fields) + tail
    return u32(4 + len(body)) + body


def counted(text, wide):
    return len(text).to_bytes(2, "little") + (text.encode("utf-16-le") if wide else text.encode("latin-1"))


write("ShellLinkFile", "ours", link_header(0x80 | 0x40 | 0x04 | 0x02) + link_info(b"C:\\App\\App_64.exe", True) +
      counted("App_64", True) + counted("C:\\App\\app.ico", True) + u32(0))
write("ShellLinkFile", "foreign", link_header(0x01 | 0x02 | 0x04 | 0x08) + b"\x04\0\x02\0\0\0" +
      link_info(b"C:\\Tools\\x.exe", False) + counted("Doc", False) + counted("..\\x.exe", False) + u32(0))

# DesktopEntry: user-dirs.dirs texts.
write("DesktopEntry", "home", b"XDG_DOWNLOAD_DIR=\"$HOME/Dl\"\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n")
write("DesktopEntry", "absolute", b"XDG_DESKTOP_DIR=\"/srv/desk\"\r\n")

# FileListLine: list bodies with files, folders, a common folder and hostile names.
write("FileListLine", "list", b"alpha.txt=|f1005b52286dd6839ac47182066363b3\r\nMy File.txt=Sub\\Deep|abc|x\r\nCommon\r\n")
write("FileListLine", "hostile", b"..\\..\\evil.txt=\r\nx.txt=../..\r\na:b=\r\nC:\\x.txt=\r\nq=\\/a//b/\\|m\r\n")

# VersionNumbers: one mirror's answer per line.
write("VersionNumbers", "mirrors", b" 2400||2401||x||y||3\r\n2400||2401||x||y||7\n2400||2401||x||y||7\n1||2||3||4")
write("VersionNumbers", "zero", b"1||2||3||4||0\n5||6||7||8||-4\n<html>")
