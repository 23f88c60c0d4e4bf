#!/usr/bin/env python3
"""Writes the seed inputs of each fuzz target into fuzz/corpus/<target>/.

Valid files as the program saves them, plus the edges: empty, one byte, one byte short,
exact size, one byte too long, and values just outside their ranges.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def vfo(freq=0, mode=0, off=0, rdir=0, tmode=0, ctcss=0, dcs=0, clar=0):
    return struct.pack("<ihihhhhi", freq, mode, off, rdir, tmode, ctcss, dcs, clar)


def text(s, n):
    b = s.encode("latin-1")[:n]  # one byte per character, as stored
    return b + b" " * (n - len(b))


def mem(v1=None, v2=None, desc="", bank=0, split=0, skip=0, b1=0, b2=0):
    return (v1 or vfo()) + (v2 or vfo()) + text(desc, 49) + struct.pack("<hhhhh", bank, split, skip, b1, b2)


BAND_FREQ = [43200000, 14420000, 5200000, 2830000, 2490000, 2115000, 1810000, 1415000, 1012500, 712500, 370000, 190000]
BAND_OFF = [500000, 60000, 100000, 10000] + [0] * 8
BAND_MHZ = [430, 144, 50, 28, 24, 21, 18, 14, 10, 7, 3, 1]
BAND_LOW = [42000000, 14400000, 5000000, 2800000, 2489000, 2100000, 1806800, 1400000, 1010000, 700000, 350000, 180000]
BAND_HIGH = [45000000, 14800000, 5400000, 2970000, 2499000, 2145000, 1816800, 1435000, 1015000, 730000, 400000, 200000]
COVER_LOW = [42000000, 7600000, 5000000] + [10000] * 9
COVER_HIGH = [45000000, 15400000, 5400000] + [3700000] * 9


def band_data(mhz=None, last_mb=3, last_sb=3, vfo_override=None):
    vfos = [vfo(BAND_FREQ[i], 1 if i <= 8 else 0, BAND_OFF[i], ctcss=8) for i in range(12)]
    if vfo_override:
        vfos[0] = vfo_override
    out = b"".join(vfos) * 3
    out += struct.pack("<12h", *(mhz or BAND_MHZ))
    for table in (BAND_LOW, BAND_HIGH, COVER_LOW, COVER_HIGH, COVER_LOW, COVER_HIGH, BAND_LOW, BAND_HIGH):
        out += struct.pack("<12i", *table)
    return out + struct.pack("<hh", last_mb, last_sb)


def settings(left=0, top=0, small=(1, 0, 2, 10, 1, 2, 5, 7, 2, -1), dial=None, last=""):
    channel = [250, 250, 250, 250, 500, 500, 250, 500, 0, 0]
    dial = dial or [1] * 8 + [0, 0]
    out = struct.pack("<ii", left, top) + struct.pack("<10h", *small)
    for steps in (dial, channel):
        for m in range(10):
            out += struct.pack("<i", steps[m]) * 12  # band index runs fastest
    return out + struct.pack("<hh", -1, -1) + text(last, 256)


def frame(op, p1=0, p2=0, p3=0, p4=0):
    return bytes([p1, p2, p3, p4, op])


def write(target, name, data):
    d = os.path.join(HERE, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def main():
    s = settings()
    assert len(s) == 1248
    for name, data in {
        "empty": b"", "one-byte": b"\x0a", "default": s, "short": s[:-1], "too-long": s + b"\x01",
        "port-zero": settings(small=(1, 0, 2, 0, 1, 2, 5, 7, 2, -1)),
        "out-of-range": settings(small=(7, -1, 4, 11, 3, 3, 6, 9, 5, 1), dial=[0, 10000001, -5, 1, 1, 1, 1, 1, 7, 7]),
        "off-screen": settings(left=-15, top=999999),
        "last-file": settings(last="/data/log.mem"),
        "last-file-self": settings(last="/data/ft817.kivo"),
        "last-file-dir": settings(last="/data/"),
        "last-file-latin1": settings(last="/data/caf\xe9 \x81.mem"),
    }.items():
        write("settings_file", name, data)

    b = band_data()
    assert len(b) == 1204
    for name, data in {
        "empty": b"", "one-byte": b"\x32", "default": b, "short": b[:-1], "too-long": b + b"\x01",
        "no-50-mark": band_data(mhz=[430, 144, 51] + BAND_MHZ[3:]),
        "bad-last-band": band_data(last_mb=12, last_sb=-1),
        "bad-vfo": band_data(vfo_override=vfo(14420000, 8, 0, 2, 4, 39, 104)),
        "negative-vfo": band_data(vfo_override=vfo(-1, -1, -1, -11, -1, -1, -1, -1)),
    }.items():
        write("band_file", name, data)

    good = mem(vfo(14520000, 5, 60000, -1, 1, 8, 0), vfo(14520000, 5), "Club", -1, 0, 0, 1, 1)
    bad = mem(vfo(700000, 9, 0, 5, 7, 40, 200), vfo(0, -3), "\x80\x9f", 3, 2, 1, 12, -1)
    assert len(good) == 103
    home = good * 12
    for name, data in {
        "empty": b"", "one-byte": b"\x01", "one-record": good, "record-short": good[:-1],
        "full": home, "short": home[:-1], "too-long": home + b"\x01", "bad-values": bad * 12,
        "split-marker": mem(vfo(14520000, 1, 0, -11), vfo(43300000, 5), "split", b1=1, b2=0) * 12,
    }.items():
        write("home_file", name, data)

    zeros = bytes(103 * 1000)
    for name, data in {
        "empty": b"", "one-byte": b"\x01", "record-short": good[:-1], "one-record": good,
        "one-record-plus": good + b"\x01", "two-records": good + bad,
        "old-format": mem(vfo(14520000, 9)) + mem(vfo(700000, 4)) + mem(vfo(2830000, 7)),
        "negative-mode": mem(vfo(14520000, -1)),
        "desc-only": mem(desc="note") + good,
        "full": good + zeros[103:], "too-long": good + zeros[103:] + b"\x01",
    }.items():
        write("memory_file", name, data)

    for name, data in {
        "empty": b"", "one-byte": b"\x08",
        "fm-144": bytes([0x14, 0x42, 0x00, 0x00, 0x08]),
        "lowest": bytes([0x00, 0x01, 0x00, 0x00, 0x01]),
        "below-100k": bytes([0x00, 0x00, 0x99, 0x99, 0x01]),
        "highest": bytes([0x99, 0x99, 0x99, 0x99, 0x8C]),
        "bad-nibble": bytes([0x14, 0x4A, 0x00, 0x00, 0x08]),
        "bad-mode": bytes([0x14, 0x42, 0x00, 0x00, 0x05]),
        "wfm": bytes([0x08, 0x80, 0x00, 0x00, 0x06]),
        "four-bytes": bytes([0x14, 0x42, 0x00, 0x00]),
        "six-bytes": bytes([0x14, 0x42, 0x00, 0x00, 0x08, 0x00]),
        "status": bytes([0x00, 0x1F, 0x20, 0x80, 0xFF, 0x07, 0x08, 0x01, 0x02, 0x05]),
    }.items():
        write("cat_reply", name, data)

    for name, data in {
        "empty": b"", "one-byte": b"\x03", "partial": frame(0x03)[:4],
        "read": frame(0x03),
        "set-and-read": frame(0x01, 0x07, 0x12, 0x50, 0x00) + frame(0x07, 0x01) + frame(0x03),
        "out-of-band": frame(0x01, 0x60, 0x00, 0x00, 0x00) + frame(0x03),
        "bad-digits": frame(0x01, 0xAA, 0x00, 0x00, 0x00) + frame(0x0B, 0x08, 0x8F) + frame(0x0C, 0x0A, 0x23),
        "toggle": frame(0x81) + frame(0x03) + frame(0x81) + frame(0x03),
        "ptt-split": frame(0x08) + frame(0xF7) + frame(0x02) + frame(0xF7) + frame(0x88) + frame(0x82),
        "status": frame(0xE7) + frame(0xF7),
        "tones": frame(0x0A, 0x2A) + frame(0x0B, 0x08, 0x85) + frame(0x0C, 0x00, 0x23) + frame(0x09, 0x49),
        "offset": frame(0xF9, 0x00, 0x60, 0x00, 0x00) + frame(0xF9, 0x99, 0x99, 0x99, 0x99),
        "eeprom": frame(0xBB, 0x1F, 0xFF) + frame(0xBB, 0xFF, 0xFF),
        "frame-and-a-half": frame(0x03) + frame(0xE7)[:2],
        "unknown": frame(0x55, 1, 2, 3, 4),
    }.items():
        write("sim_wire", name, data)

    # First byte: bit 0 the panel is lit, bit 1 every set fails; then the client's lines.
    lit, dark, failing = b"\x01", b"\x00", b"\x03"
    connect = b"\\chk_vfo\n\\dump_state\nv\nf\nf\ns\nm\n\\get_powerstat\n\\get_lock_mode\n"
    for name, data in {
        "empty": b"", "one-byte": lit,
        "connect": lit + connect,
        "poll": lit + b"f\nm\nt\ns\nl STRENGTH\nl RAWSTR\ni\n",
        "sets": lit + b"F 7074000\nF 14074000.000000\nM PKTUSB -1\nV VFOB\nT 1\nT 0\nS 1 VFOB\nI 7076000\n",
        "extended": lit + b"+f\n;m\n|\\get_vfo\n+F 7074000\n;\\set_mode USB 2400\n+\\dump_state\n",
        "long-names": lit + b"\\get_freq\n\\set_freq 7074000\n\\get_split_vfo\n\\set_ptt 1\n\\get_level STRENGTH\n",
        "errors": lit + b"F abc\nM XYZ 0\nX\n\\foo\n+\n\nT 9\nl SWR\nF 60000000\n",
        "crlf": lit + b"f\r\nm\r\n",
        "over-long": lit + b"f" + b" " * 1100 + b"\nf\n",
        "dark": dark + connect + b"F 7074000\nT 1\n",
        "failing": failing + b"F 7074000\n+T 1\nS 1 VFOB\n",
        "quit": lit + b"f\nq\nf\n",
    }.items():
        write("rigctl_line", name, data)


if __name__ == "__main__":
    main()
