#!/usr/bin/env python3
"""Tests of the lngtool command on the program's own executables.

The program's texts are read here independently of lngtool: windres turns the
executable's resources into a .res file, which this script decodes itself, and the
keys are computed with zlib's CRC-32. The template must hold exactly those texts under
exactly those keys, pass lngtool's own check, and the example language file must pass
it too. Exits 77 (skipped) when no executable has been built yet.
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

STRING_IDS = range(5101, 5113)
DIALOGS = ("SETUPDLG", "CONTEXTITEMS", "DONEDLG")
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def key(kind, context, text):
    return "%08x" % zlib.crc32(kind.encode() + context.encode("cp1252") + text)


def read_id(data, at):
    """A resource type or name (number or UTF-16 text) in a .res header."""
    if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def read_res(path):
    data = open(path, "rb").read()
    at = 0
    resources = []
    while at + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, at)
        rtype, p = read_id(data, at + 8)
        name, p = read_id(data, p)
        resources.append((rtype, name, data[at + header:at + header + size]))
        at = (at + header + size + 3) & ~3
    return resources


def ansi(units):
    return units.encode("cp1252", errors="replace")


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def word(self):
        v = struct.unpack_from("<H", self.data, self.at)[0]
        self.at += 2
        return v

    def dword(self):
        v = struct.unpack_from("<I", self.data, self.at)[0]
        self.at += 4
        return v

    def sz_or_ord(self):
        if struct.unpack_from("<H", self.data, self.at)[0] == 0xFFFF:
            self.at += 2
            return self.word()
        end = self.at
        while struct.unpack_from("<H", self.data, end)[0] != 0:
            end += 2
        text = self.data[self.at:end].decode("utf-16-le")
        self.at = end + 2
        return text

    def align(self):
        self.at = (self.at + 3) & ~3


def dialog_texts(data):
    """The title and the control texts of a dialog template, as the program reads them."""
    r = Reader(data)
    extended = struct.unpack_from("<HH", data, 0) == (1, 0xFFFF)
    if extended:
        r.at = 12
        style = r.dword()
    else:
        style = r.dword()
        r.dword()
    count = r.word()
    r.at += 8
    r.sz_or_ord()
    r.sz_or_ord()
    texts = [r.sz_or_ord()]
    if style & 0x40:
        r.at += 6 if extended else 2
        r.sz_or_ord()
    for _ in range(count):
        r.align()
        r.at += 24 if extended else 18  # styles, rectangle, id
        r.sz_or_ord()
        texts.append(r.sz_or_ord())
        extra = r.word()  # creation data
        r.at += extra
    return [ansi(t)[:1023] for t in texts if isinstance(t, str) and t]


def program_texts(windres, exe, work):
    res = os.path.join(work, os.path.basename(os.path.dirname(os.path.dirname(exe))) + ".res")
    subprocess.run([windres, "-i", exe, "-O", "res", "-o", res], check=True)
    strings, dialogs = {}, {}
    for rtype, name, data in read_res(res):
        if rtype == 6:
            at = 0
            for i in range(16):
                n = struct.unpack_from("<H", data, at)[0]
                if n:
                    strings[(name - 1) * 16 + i] = ansi(data[at + 2:at + 2 + 2 * n].decode("utf-16-le"))[:255]
                at += 2 + 2 * n
        elif rtype == 5 and isinstance(name, str):
            dialogs[name] = dialog_texts(data)
    return strings, dialogs


def unescape(text):
    return re.sub(rb'\\(["\\nrt])', lambda m: {b'"': b'"', b'\\': b'\\', b'n': b'\n', b'r': b'\r', b't': b'\t'}[m.group(1)], text)


def template_entries(path):
    body = open(path, "rb").read().split(b"***messages***", 1)[1]
    entries = {}
    for line in re.split(rb"[\r\n\f]+", body):
        m = re.match(rb'([0-9a-f]{8})="(.*)"$', line)
        if m:
            if m.group(1).decode() in entries:
                fail("%s: key %s twice" % (path, m.group(1).decode()))
            entries[m.group(1).decode()] = unescape(m.group(2))
    return entries


def run(args, expect_code):
    result = subprocess.run(args, capture_output=True)
    if result.returncode != expect_code:
        fail("%s: exit code %d, expected %d\n%s%s" % (" ".join(args), result.returncode, expect_code,
                                                      result.stdout.decode(errors="replace"),
                                                      result.stderr.decode(errors="replace")))
    return result.stdout.decode("cp1252")


def test_key_command(lngtool):
    cases = [
        (["s", "Uninstall completed"], key("s", "", b"Uninstall completed")),
        (["$", "SETUPDLG", "OK"], "a8604cfa"),
        (["$", "SETUPDLG", ""], "9b889d24"),
        (["dialog", "LTR", "LTR"], "50a17ae8"),
        (["s", r"a\r\nb \"q\" c:\dir\\"], key("s", "", b'a\r\nb "q" c:\\dir\\')),
    ]
    for args, expected in cases:
        out = run([lngtool, "key"] + args, 0).strip()
        if out != expected:
            fail("key %s gave %s, expected %s" % (args, out, expected))
    run([lngtool, "key", "x", "text"], 2)
    run([lngtool, "key"], 2)


def test_check_command(lngtool, fixtures, module):
    """The exit code and the line numbers of check; the checker's findings themselves
    are the unit tests' business."""
    faults = os.path.join(fixtures, "faults.lng")
    out = run([lngtool, "check", faults, module], 1)
    lines = sorted({int(m) for m in re.findall(r"faults\.lng:(\d+): error:", out)})
    if lines != [6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20]:
        fail("check %s reported errors on lines %s" % (faults, lines))
    warnings = sorted({int(m) for m in re.findall(r"faults\.lng:(\d+): warning:", out)})
    if warnings != [21, 23]:
        fail("check %s gave warnings on lines %s" % (faults, warnings))
    run([lngtool, "check", faults], 2)
    run([lngtool, "check", faults, faults], 2)


def test_program(lngtool, windres, exe, docs, work):
    already = len(failures)
    strings, dialogs = program_texts(windres, exe, work)
    for i in STRING_IDS:
        if i not in strings:
            fail("%s: string %d missing from the resources" % (exe, i))
    for d in DIALOGS:
        if d not in dialogs:
            fail("%s: dialog %s missing from the resources" % (exe, d))
    expected = {}
    for i, text in strings.items():
        expected[key("s", "", text)] = text
    for d, texts in dialogs.items():
        for text in texts:
            expected[key("$", d, text)] = text

    template = os.path.join(work, "template.lng")
    run([lngtool, "template", exe, "-o", template], 0)
    entries = template_entries(template)
    for k, text in sorted(expected.items()):
        if k not in entries:
            fail("%s: no entry %s for %r" % (exe, k, text))
        elif entries[k] != text:
            fail("%s: entry %s holds %r, expected %r" % (exe, k, entries[k], text))
    for k in sorted(set(entries) - set(expected)):
        fail("%s: entry %s (%r) is no text of the program" % (exe, k, entries[k]))
    out = run([lngtool, "check", template, exe], 0)
    if out:
        fail("%s: the template does not check clean:\n%s" % (exe, out))
    example = os.path.join(docs, "examples", "german.lng")
    out = run([lngtool, "check", example, exe], 0)
    if out:
        fail("%s: %s does not check clean:\n%s" % (exe, example, out))
    if len(failures) == already:
        print("%s: %d strings, %d dialog texts, all keys agree" % (exe, len(strings), len(expected) - len(strings)))
    return entries


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lngtool", required=True)
    parser.add_argument("--windres", required=True)
    parser.add_argument("--docs", required=True)
    parser.add_argument("--fixtures", required=True)
    parser.add_argument("--module", required=True, help="the test module built from fixtures/fixture.rc")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    test_key_command(args.lngtool)
    test_check_command(args.lngtool, args.fixtures, args.module)
    programs = [p for p in args.programs if os.path.exists(p)]
    if not programs:
        print("no uninstall.exe built yet")
        return 77
    with tempfile.TemporaryDirectory() as work:
        templates = [test_program(args.lngtool, args.windres, p, args.docs, work) for p in programs]
        run([args.lngtool, "template", os.path.join(work, "missing.exe")], 2)
        run([args.lngtool, "template", os.path.join(args.fixtures, "faults.lng")], 2)
    if len(templates) == 2 and templates[0] != templates[1]:
        fail("the two architectures' templates differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
