#!/usr/bin/env python3
"""fuzz/seed_images.py KIND FOLDER: small hand-made seeds for the formats the
shared test images lack (CloneCD sheets, Alcohol descriptors). Both describe
a disc of one Mode 1 track of 40 sectors, the size of the fuzz targets' fixed
data file, and optionally an audio track after it."""
import struct
import sys

SECTORS = 40


def msf(lba):
    frames = lba + 150
    return frames // 4500, frames // 75 % 60, frames % 75


def clonecd(tracks):
    """tracks: list of (control, mode, start)."""
    entries = [(0xA0, tracks[0][0], (1, 0, 0), 0), (0xA1, tracks[-1][0], (len(tracks), 0, 0), 0),
               (0xA2, tracks[-1][0], msf(SECTORS), SECTORS)]
    entries += [(n + 1, t[0], msf(t[2]), t[2]) for n, t in enumerate(tracks)]
    text = "[CloneCD]\r\nVersion=3\r\n[Disc]\r\nTocEntries=%d\r\nSessions=1\r\n" \
           "DataTracksScrambled=0\r\nCDTextLength=0\r\n[Session 1]\r\nPreGapMode=1\r\nPreGapSubC=0\r\n" % len(entries)
    for n, (point, control, (m, s, f), lba) in enumerate(entries):
        text += ("[Entry %d]\r\nSession=1\r\nPoint=0x%02x\r\nADR=0x01\r\nControl=0x%02x\r\nTrackNo=0\r\n"
                 "AMin=0\r\nASec=0\r\nAFrame=0\r\nALBA=-150\r\nZero=0\r\nPMin=%d\r\nPSec=%d\r\nPFrame=%d\r\n"
                 "PLBA=%d\r\n") % (n, point, control, m, s, f, lba)
    for n, (control, mode, start) in enumerate(tracks):
        text += "[TRACK %d]\r\nMODE=%d\r\nINDEX 1=%d\r\n" % (n + 1, mode, start)
    return text.encode()


def alcohol(tracks):
    """tracks: list of (control, mode byte, start)."""
    header, session, track, extra, footer = 88, 24, 80, 8, 16
    blocks = len(tracks) + 3
    track_at = header + session
    extras_at = track_at + track * blocks
    footer_at = extras_at + extra * len(tracks)
    name_at = footer_at + footer
    mds = bytearray(name_at + 6)
    mds[0:16] = b"MEDIA DESCRIPTOR"
    mds[16], mds[17] = 1, 3
    struct.pack_into("<HH", mds, 18, 0, 1)
    struct.pack_into("<I", mds, 80, header)
    struct.pack_into("<iiHBBHH", mds, header, -150, SECTORS, 1, blocks, 3, 1, len(tracks))
    struct.pack_into("<I", mds, header + 20, track_at)
    block = track_at

    def write(mode, control, point, lba, m, s, f):
        nonlocal block
        at = block
        mds[at], mds[at + 2], mds[at + 4] = mode, 0x10 | control, point
        mds[at + 9], mds[at + 10], mds[at + 11] = m, s, f
        struct.pack_into("<i", mds, at + 36, lba)
        block += track
        return at

    write(0, tracks[0][0], 0xA0, 0, 1, 0, 0)
    write(0, tracks[-1][0], 0xA1, 0, len(tracks), 0, 0)
    write(0, tracks[-1][0], 0xA2, 0, *msf(SECTORS))
    for n, (control, mode, start) in enumerate(tracks):
        at = write(mode, control, n + 1, start, *msf(start))
        struct.pack_into("<IH", mds, at + 12, extras_at + extra * n, 2352)
        struct.pack_into("<QII", mds, at + 40, start * 2352, 1, footer_at)
        struct.pack_into("<II", mds, extras_at + extra * n, 150 if n == 0 else 0,
                         (tracks[n + 1][2] if n + 1 < len(tracks) else SECTORS) - start)
    struct.pack_into("<I", mds, footer_at, name_at)
    mds[name_at:name_at + 5] = b"*.mdf"
    return bytes(mds)


def main():
    kind, folder = sys.argv[1], sys.argv[2]
    one = [(4, 1, 0)]
    two = [(4, 1, 0), (0, 0, 30)]
    if kind == "clonecd":
        for name, tracks in (("one", one), ("two", two)):
            with open("%s/%s.ccd" % (folder, name), "wb") as f:
                f.write(clonecd(tracks))
    elif kind == "alcohol":
        for name, tracks in (("one", [(4, 0xAA, 0)]), ("two", [(4, 0xAA, 0), (0, 0xA9, 30)])):
            with open("%s/%s.mds" % (folder, name), "wb") as f:
                f.write(alcohol(tracks))


main()
