#!/usr/bin/env python3
"""Writes the seed corpora of the two fuzz targets into fuzz/corpus/{reader,analysis}/.

Reader seeds: 3 header bytes (unit index, decimal-separator selector, begin-line text
length), the begin-line text, then the record file's bytes (see fuzz_record_reader.cpp).
Analysis seeds: bytes laid out the way FuzzedDataProvider consumes them in
fuzz_analysis.cpp (integers and floating-point values are taken from the end of the input).
"""
import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")

# ---------------------------------------------------------------- reader seeds

SEP_DOT, SEP_COMMA = 0, 200  # selector bytes for '.' and ','


def reader_seed(body, begin=b"2", unit=0, sep=SEP_DOT):
    if isinstance(body, str):
        body = body.encode("latin-1")
    return bytes([unit & 0xFF, sep, len(begin)]) + begin + body


def record_text(n=6, dt=0.01, eol="\n", sep=" ", header="Time(s) Acc(g)\n"):
    lines = [f"{i * dt:.4f}{sep}{0.3 * math.sin(7.0 * i * dt):.6f}" for i in range(n)]
    return header + eol.join(lines) + eol


def at2_text(unit, npts_line, quantity_line=None):
    """A small PEER NGA file: two title lines, the unit line, the NPTS line, seven values."""
    quantity_line = quantity_line or f"ACCELERATION TIME SERIES IN UNITS OF {unit}"
    return ("PEER NGA STRONG MOTION DATABASE RECORD\n14383980, 7/29/2008, Anaheim, 90\n"
            f"{quantity_line}\n{npts_line}\n"
            "  8.6900441E-08  8.6365636E-08 -8.5833483E-08  8.6615244E-08  8.7723305E-08\n"
            "  1.2500000E-01 -2.5E-1\n")


READER_SEEDS = {
    "plain_lf": reader_seed(record_text()),
    "crlf": reader_seed(record_text(eol="\r\n")),
    "cr_only": reader_seed(record_text(eol="\r")),
    "no_final_break": reader_seed(record_text().rstrip("\n")),
    "comma_separated": reader_seed(record_text(sep=",")),
    "comma_blanks": reader_seed(record_text(sep=" , ")),
    "tab_separated": reader_seed(record_text(sep="\t")),
    "two_commas": reader_seed("h\n0,,1\n0.01,,2\n"),
    "trailing_comma": reader_seed("h\n0,1,\n0.01,2,\n"),
    "quoted_fields": reader_seed('h\n"0","1.5"\n"0.01","2""5"\n'),
    "unclosed_quote": reader_seed('h\n"0,1\n0.01,2\n'),
    "exponents": reader_seed("h\n0 1e-3\n1E-2 -2.5E+1\n2e-2 +3.\n"),
    "bad_number": reader_seed("h\n0 1\n0.01 abc\n"),
    "letter_time_later": reader_seed("h\n0 1\n0.01 2\nx 0.5\n"),
    "blank_line_after": reader_seed("h\n0 1\n0.01 2\n\n"),
    "one_field": reader_seed("h\n0 1\n0.01\n"),
    "one_data_line": reader_seed("h\n0 1\n"),
    "empty_file": reader_seed(""),
    "only_header": reader_seed("header only\n"),
    "begin_line_1": reader_seed("0 1\n0.01 2\n0.02 3\n", begin=b"1"),
    "begin_line_0": reader_seed("0 1\n0.01 2\n", begin=b"0"),
    "begin_line_neg": reader_seed("0 1\n0.01 2\n", begin=b"-0.5"),
    "begin_line_frac": reader_seed("a\nb\n0 1\n0.01 2\n", begin=b"3.9"),
    "begin_line_text": reader_seed("0 1\n0.01 2\n", begin=b"abc"),
    "begin_line_huge": reader_seed("0 1\n0.01 2\n", begin=b"1e300"),
    "begin_line_blank": reader_seed("0 1\n0.01 2\n", begin=b"  4  "),
    "begin_line_int_max": reader_seed("0 1\n0.01 2\n", begin=b"2147483647.9"),
    "begin_line_int_min": reader_seed("0 1\n0.01 2\n", begin=b"-2147483648"),
    "begin_line_past_int": reader_seed("0 1\n0.01 2\n", begin=b"2147483648"),
    "unit_ms2": reader_seed("h\n0 9.8\n0.01 -9.8\n", unit=1),
    "unit_cms2": reader_seed("h\n0 980\n0.01 -980\n", unit=2),
    "unit_mms2": reader_seed("h\n0 9800\n0.01 -9800\n", unit=3),
    "unit_empty_item": reader_seed("h\n0 1\n0.01 2\n", unit=4),
    "unit_none": reader_seed("h\n0 1\n0.01 2\n", unit=-1),
    "decimal_comma": reader_seed("h\n0 1,5\n0,01 2,5\n", sep=SEP_COMMA),
    "equal_times": reader_seed("h\n0 1\n0 2\n0 3\n"),
    "falling_times": reader_seed("h\n1 1\n0.5 2\n"),
    "huge_values": reader_seed("h\n0 1e308\n1e308 -1e308\n2e308 1\n"),
    "tiny_values": reader_seed("h\n0 4.9e-324\n1e-320 -1e-310\n"),
    "bom_utf8": reader_seed(b"\xef\xbb\xbf" + record_text().encode()),
    "bom_utf16le": reader_seed(b"\xff\xfe" + record_text().encode("utf-16-le")),
    "bom_utf16be": reader_seed(b"\xfe\xff" + record_text().encode("utf-16-be")),
    "utf16le_odd": reader_seed(b"\xff\xfe" + "h\n0 1\n".encode("utf-16-le") + b"\x30"),
    "utf16_lone_surrogate": reader_seed(b"\xff\xfe" + "h\n0 1\n0.01 2\n".encode("utf-16-le")
                                        + b"\x00\xd8\x0a\x00"),
    "utf16_pair": reader_seed(b"\xff\xfe" + "h\U0001F600\n0 1\n0.01 2\n".encode("utf-16-le")),
    "nul_in_line": reader_seed(b"h\n0 1\x002\n0.01 2\n"),
    "latin1_header": reader_seed("Zeit (s) Beschl. (m/s\xb2) \xe9\n0 1\n0.01 2\n", unit=1),
    "control_chars": reader_seed("h\n\x010\x1f1\x7f\n0.01\x0b2\n"),
    "at2_nga": reader_seed(at2_text("G", "NPTS=      7, DT=   0.005 SEC")),
    "at2_older": reader_seed(at2_text("G", "     7    0.00500    NPTS, DT", quantity_line=
                                      "ACCELERATION TIME HISTORY IN UNITS OF G")),
    "at2_cms2": reader_seed(at2_text("CM/S/S", "NPTS=      7, DT=   0.01 SEC")),
    "at2_npts_short": reader_seed(at2_text("G", "NPTS=      9, DT=   0.005 SEC")),
    "at2_npts_long": reader_seed(at2_text("G", "NPTS=      5, DT=   0.005 SEC")),
    "at2_velocity": reader_seed(at2_text("CM/S", "NPTS=      7, DT=   0.005 SEC",
                                         quantity_line="VELOCITY TIME SERIES IN UNITS OF CM/S")),
    "at2_bad_npts": reader_seed(at2_text("G", "NPTS=  seven, DT=   0.005 SEC")),
    "mentions_npts": reader_seed("time acc NPTS=3 DT=0.01\n0 1\n0.01 2\n0.02 3\n"),
}

# ---------------------------------------------------------------- analysis seeds

EDGES = [0.0, -0.0, 1.0, -1.0, math.inf, -math.inf, math.nan, 5e-324,
         2.2250738585072014e-308, 1.7976931348623157e308, -1.7976931348623157e308,
         2.220446049250313e-16]
U64_MAX = 2 ** 64 - 1


class Provider:
    """Emits bytes in the order FuzzedDataProvider consumes them from the end."""

    def __init__(self):
        self.tail = []

    def integral(self, value, low, high):
        span, offset, out = high - low, 0, []
        while offset < 64 and (span >> offset) > 0:
            out.append(0)
            offset += 8
        value -= low
        for i in range(len(out) - 1, -1, -1):
            out[i] = value & 0xFF
            value >>= 8
        self.tail.extend(out)

    def boolean(self, flag):
        self.tail.append(1 if flag else 0)

    def probability(self, p):
        self.integral(min(U64_MAX, max(0, round(p * U64_MAX))), 0, U64_MAX)

    def in_range(self, value, low, high):
        self.probability((value - low) / (high - low))

    def value(self, v, low, high):
        for i, edge in enumerate(EDGES):
            if (math.isnan(v) and math.isnan(edge)) or (v == edge and
                                                        math.copysign(1, v) == math.copysign(1, edge)):
                self.integral(2, 0, 3)
                self.integral(i, 0, len(EDGES) - 1)
                return
        if low <= v <= high:
            self.integral(0, 0, 3)
            self.in_range(v, low, high)
        else:  # any finite double: lowest + (sign ? max : 0) + max * p
            self.integral(1, 0, 3)
            self.boolean(v >= 0)
            self.probability(abs(v) / 1.7976931348623157e308 if v >= 0 else
                             1 - abs(v) / 1.7976931348623157e308)

    def data(self):
        return bytes(reversed(self.tail))


def analysis_seed(grid, damping, dt, samples, tight_limit=None):
    p = Provider()
    p.value(grid[0], -1.0, 5.0)
    p.value(grid[1], 0.0, 10.0)
    p.value(grid[2], -0.1, 2.0)
    p.value(damping, -1.5, 1.5)
    p.value(dt, -0.01, 0.1)
    p.boolean(tight_limit is not None)
    p.integral(len(samples), 0, 64)
    p.value(4.0, 0.0, 4.0)  # amplitude
    for s in samples:
        p.boolean(True)
        p.value(s, -4.0, 4.0)
    if tight_limit is not None:
        p.tail.extend(tight_limit)
    return p.data()


def sine(n, dt, freq=2.0, amp=0.3):
    return [amp * math.sin(2 * math.pi * freq * i * dt) for i in range(n)]


ANALYSIS_SEEDS = {
    "worked_one_step": analysis_seed((1.0, 1.05, 1.0), 0.05, 0.01, [0.0, 1.0]),
    "worked_two_substeps": analysis_seed((0.5, 0.52, 1.0), 0.05, 0.01, [0.0, 1.0, 0.0]),
    "coarse_grid": analysis_seed((0.02, 6.0, 1.0), 0.05, 0.01, sine(40, 0.01)),
    "half_step_grid": analysis_seed((0.02, 6.0, 0.5), 0.05, 0.02, sine(32, 0.02)),
    "negative_minimum": analysis_seed((-1.0, 3.0, 0.5), 0.05, 0.01, sine(20, 0.01)),
    "empty_grid": analysis_seed((5.0, 1.0, 0.1), 0.05, 0.01, sine(10, 0.01)),
    "zero_period": analysis_seed((0.0, 1.0, 0.25), 0.05, 0.01, sine(10, 0.01)),
    "zero_step": analysis_seed((0.1, 1.0, 0.0), 0.05, 0.01, sine(10, 0.01)),
    "negative_step": analysis_seed((0.1, 1.0, -0.1), 0.05, 0.01, sine(10, 0.01)),
    "tiny_step": analysis_seed((0.1, 1.0, 5e-324), 0.05, 0.01, sine(10, 0.01)),
    "nan_grid": analysis_seed((math.nan, 1.0, 0.1), 0.05, 0.01, sine(10, 0.01)),
    "infinite_max": analysis_seed((0.1, math.inf, 0.5), 0.05, 0.01, sine(10, 0.01)),
    "no_damping": analysis_seed((0.1, 2.0, 0.3), 0.0, 0.01, sine(30, 0.01)),
    "high_damping": analysis_seed((0.1, 2.0, 0.3), 0.99, 0.01, sine(30, 0.01)),
    "critical_damping": analysis_seed((0.1, 2.0, 0.3), 1.0, 0.01, sine(10, 0.01)),
    "overdamped": analysis_seed((0.1, 2.0, 0.3), 1.5, 0.01, sine(10, 0.01)),
    "negative_damping": analysis_seed((0.1, 2.0, 0.3), -0.5, 0.01, sine(60, 0.01)),
    "nan_damping": analysis_seed((0.1, 2.0, 0.3), math.nan, 0.01, sine(10, 0.01)),
    "zero_time_step": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.0, sine(10, 0.01)),
    "negative_time_step": analysis_seed((0.1, 2.0, 0.3), 0.05, -0.01, sine(10, 0.01)),
    "nan_time_step": analysis_seed((0.1, 2.0, 0.3), 0.05, math.nan, sine(10, 0.01)),
    "long_time_step": analysis_seed((0.02, 0.5, 0.1), 0.05, 0.1, sine(8, 0.1)),
    "no_samples": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, []),
    "one_sample": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, [0.5]),
    "two_samples": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, [0.0, 0.5]),
    "all_zero": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, [0.0] * 20),
    "impulse": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, [0.0, 1.0] + [0.0] * 30),
    "infinite_sample": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, [0.0, math.inf, 0.0]),
    "nan_sample": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, [0.0, 0.1, math.nan, 0.0]),
    "huge_sample": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, [0.0, 1e300, -1e300]),
    "tight_store_limit": analysis_seed((0.1, 2.0, 0.3), 0.05, 0.01, sine(20, 0.01),
                                       tight_limit=[0x10, 0x00]),
    "full_record": analysis_seed((0.05, 3.0, 0.25), 0.05, 0.02, sine(64, 0.02, 1.3, 2.0)),
}


def write(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def main():
    write(os.path.join(CORPUS, "reader"), READER_SEEDS)
    write(os.path.join(CORPUS, "analysis"), ANALYSIS_SEEDS)
    print(f"{len(READER_SEEDS)} reader seeds, {len(ANALYSIS_SEEDS)} analysis seeds in {CORPUS}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
