#!/usr/bin/env python3
"""Writes the archives the extraction tests unpack: members no archive program would
write (links leading out, "../", absolute paths), a stored RAR (no free program writes
RAR), and damaged archives. Run it in this folder; the files are kept in the repository."""
import io, struct, tarfile, zipfile, zlib

OUTSIDE = "/tmp/kestrel-outside"  # the tests' own folder, which must stay empty


def tgz(path, members):
    with tarfile.open(path, "w:gz", format=tarfile.GNU_FORMAT) as archive:
        for name, data, kind in members:
            info = tarfile.TarInfo(name)
            if kind == "l":
                info.type, info.linkname = tarfile.SYMTYPE, data
                archive.addfile(info)
            else:
                info.size = len(data)
                archive.addfile(info, io.BytesIO(data))


class CodePage437Info(zipfile.ZipInfo):
    """A name stored in code page 437 without the UTF-8 flag, as DOS programs write it."""
    def _encodeFilenameFlags(self):
        return self.filename.encode("cp437"), self.flag_bits


def zip_(path, members):
    with zipfile.ZipFile(path, "w") as archive:
        for name, data, kind in members:
            info = (CodePage437Info if kind == "c" else zipfile.ZipInfo)(name)
            info.create_system = 3
            info.external_attr = (0o120777 if kind == "l" else 0o100644) << 16
            archive.writestr(info, data.encode() if kind == "l" else data)


def rar(path, members):
    """RAR 4, stored: the marker, the archive header, a header per member, the end."""
    def block(body):
        return struct.pack("<H", zlib.crc32(body) & 0xFFFF) + body
    out = b"Rar!\x1a\x07\x00" + block(struct.pack("<BHHHI", 0x73, 0, 13, 0, 0))
    for name, data, kind in members:
        name = name.encode()
        flags = 0x8000 | 0x0200 | (0x00E0 if kind == "d" else 0)
        mode = 0o40755 if kind == "d" else 0o100644
        rest = struct.pack("<IIBIIBBHI", len(data), len(data), 3, zlib.crc32(data), 0x5A210000, 29, 0x30,
                           len(name), mode) + name
        out += block(struct.pack("<BHH", 0x74, flags, 7 + len(rest)) + rest) + data
    open(path, "wb").write(out + block(struct.pack("<BHH", 0x7B, 0x4000, 7)))


f = lambda name, data=b"x": (name, data, "f")
link = lambda name, target: (name, target, "l")
for make, ext in ((tgz, "tgz"), (zip_, "zip")):
    make("dotdot." + ext, [f("../../x"), f("ok")])
    make("abs." + ext, [f(OUTSIDE + "/abs")])
    make("link." + ext, [link("l", OUTSIDE), f("l/x")])
    make("first." + ext, [link("l", OUTSIDE)])
    make("second." + ext, [f("l/x")])
zip_("up.zip", [link("d", "."), link("up", "d/../.."), f("up/x")])
zip_("names.zip", [("filename_with_\u00e6o\u00e5.txt", b"x", "c"), f("flagged_\u00e6o\u00e5_\u65e5\u672c.txt")])

# The test's own names, except "\", which RAR takes for its folder separator.
names = ["two words", "it's", 'say "hi"', "$HOME", "$(touch INJECTED)", "`touch INJECTED`", "new\nline", "-rf",
         "--checkpoint=1", "star*", "caf\u00e9 \u65e5\u672c", "\u00e9" * 127 + "x"]
rar("Photos.RAR", [("shots", b"", "d")] + [f("shots/" + n, n.encode() + b"\n") for n in names]
    + [f("shots/deep/er/file", b"r" * 70000)])

open("broken.tgz", "wb").write(b"\x1f\x8b\x08 not really gzip")
open("broken.zip", "wb").write(b"PK\x03\x04 cut short")
open("broken.rar", "wb").write(b"Rar!\x1a\x07\x00 cut short")
open("data.bin", "wb").write(b"q" * 600)
