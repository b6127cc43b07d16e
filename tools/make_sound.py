#!/usr/bin/env python3
"""Writes the reminder sound shipped with the program: a short two-tone
chime (about 0.9 s, 22050 Hz, 16-bit mono PCM WAV). The build runs it and
puts the file into Sounds/ beside the program; the output is deterministic.

Usage: python3 tools/make_sound.py OUTPUT.wav
"""
import math
import struct
import sys

RATE = 22050


def tone(frequency, seconds, volume):
    """A sine tone with a quick attack and an exponential decay, so it
    sounds like a small bell and ends without a click."""
    count = int(RATE * seconds)
    samples = []
    for i in range(count):
        t = i / RATE
        envelope = min(1.0, t / 0.005) * math.exp(-5.0 * t)
        partials = math.sin(2 * math.pi * frequency * t) + 0.3 * math.sin(4 * math.pi * frequency * t)
        samples.append(volume * envelope * partials / 1.3)
    return samples


def main():
    out = sys.argv[1]
    samples = tone(880.0, 0.35, 0.6) + tone(1318.5, 0.55, 0.6)
    data = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, 1,
                         RATE, RATE * 2, 2, 16, b"data", len(data))
    with open(out, "wb") as f:
        f.write(header + data)


if __name__ == "__main__":
    main()
