#!/usr/bin/env python3
"""Test vectors of the SHA-based password hash, computed independently of
the library: SHA-1's rounds, constants and initial state; bytes packed into
32-bit words least significant first; no w[t-16] term in the schedule; the
padding byte 0x01; the last word of the final block holds the length in
bytes; each result word written as six characters of the crypt(3) alphabet
(bits 0-5, ..., 24-29, then the top two bits sign-extended).

Usage: bo_sha_vectors.py  (prints "text" -> hash lines for the test table)
"""

ALPHABET = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
M32 = 0xFFFFFFFF


def rotl(x, n):
    return ((x << n) | (x >> (32 - n))) & M32


def compress(block, state):
    w = [int.from_bytes(block[4 * i:4 * i + 4], "little") for i in range(16)]
    for t in range(16, 80):
        w.append(rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14], 1))
    a, b, c, d, e = state
    for t in range(80):
        if t < 20:
            f, k = (b & c) | (~b & d), 0x5A827999
        elif t < 40:
            f, k = b ^ c ^ d, 0x6ED9EBA1
        elif t < 60:
            f, k = (b & c) | (b & d) | (c & d), 0x8F1BBCDC
        else:
            f, k = b ^ c ^ d, 0xCA62C1D6
        a, b, c, d, e = (rotl(a, 5) + (f & M32) + e + w[t] + k) & M32, a, rotl(b, 30), c, d
    return [(s + v) & M32 for s, v in zip(state, (a, b, c, d, e))]


def secure_hash(data):
    state = [0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0]
    full = len(data) // 64
    for i in range(full):
        state = compress(data[64 * i:64 * i + 64], state)
    rest = data[64 * full:] + b"\x01"
    length = len(data).to_bytes(4, "little")
    if len(rest) <= 56:
        last = rest + bytes(60 - len(rest)) + length
        state = compress(last, state)
    else:
        state = compress(rest + bytes(64 - len(rest)), state)
        state = compress(bytes(60) + length, state)
    out = ""
    for v in state:
        for k in range(5):
            out += ALPHABET[(v >> (6 * k)) & 63]
        top = v >> 30
        out += ALPHABET[top if top < 2 else 64 - 4 + top]
    return out


if __name__ == "__main__":
    texts = [b"", b"a", b"abc", b"password", b"x" * 55, b"x" * 56, b"y" * 63, b"z" * 64,
             b"q" * 65, b"The quick brown fox jumps over the lazy dog" * 3, bytes([0xC3, 0xA9, 0x80, 0xFF])]
    for t in texts:
        print(t, secure_hash(t))
