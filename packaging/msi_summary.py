"""What wixl leaves to chance in an MSI package, made to follow from its content: the
summary information's times (wixl writes the clock's) and its package code (wixl draws a
random one). The times become the commit's; the package code is derived from the package's
bytes, so that Windows Installer sees one package code for one content, and a new one for
any change.

The summary information is a property set in a stream of the package's compound file; it
is rewritten in place at the same length, so nothing else in the file moves."""
import hashlib
import struct
import uuid

SIGNATURE = bytes.fromhex("D0CF11E0A1B11AE1")
STREAM = "\x05SummaryInformation"
FREE, END_OF_CHAIN = 0xFFFFFFFF, 0xFFFFFFFE
DIRECTORY_ENTRY = 128
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
UNSET_CODE = b"{00000000-0000-0000-0000-000000000000}"
FILETIME_1970 = 116444736000000000  # 100 ns ticks from 1601 to 1970


class CompoundFile:
    """Just enough of a compound file to find one stream's bytes in it."""

    def __init__(self, data):
        if data[:8] != SIGNATURE:
            raise ValueError("not a compound file")
        self.data = data
        self.sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
        self.cutoff, first_mini_fat = struct.unpack_from("<II", data, 0x38)
        first_difat, difat_count = struct.unpack_from("<II", data, 0x44)
        fat_sectors = list(struct.unpack_from("<109I", data, 0x4C))
        at = first_difat
        for _ in range(difat_count):
            entries = struct.unpack_from(f"<{self.sector // 4}I", data, self.offset(at))
            fat_sectors += entries[:-1]
            at = entries[-1]
        self.fat = [n for s in fat_sectors if s not in (FREE, END_OF_CHAIN)
                    for n in struct.unpack_from(f"<{self.sector // 4}I", data, self.offset(s))]
        self.mini_fat = [n for s in self.chain(first_mini_fat)
                         for n in struct.unpack_from(f"<{self.sector // 4}I", data, self.offset(s))]
        directory = b"".join(self.read_sector(s) for s in self.chain(struct.unpack_from("<I", data, 0x30)[0]))
        self.entries = [directory[i:i + DIRECTORY_ENTRY] for i in range(0, len(directory), DIRECTORY_ENTRY)]
        root_start = struct.unpack_from("<I", self.entries[0], 116)[0]
        self.mini_stream = [self.offset(s) for s in self.chain(root_start)]

    def offset(self, sector):
        return (sector + 1) * self.sector

    def read_sector(self, sector):
        return self.data[self.offset(sector):self.offset(sector) + self.sector]

    def chain(self, start, table=None):
        table = self.fat if table is None else table
        sectors, at = [], start
        while at not in (END_OF_CHAIN, FREE):
            if at >= len(table) or len(sectors) > len(table):
                raise ValueError("broken sector chain")
            sectors.append(at)
            at = table[at]
        return sectors

    def stream_spans(self, name):
        """[(file offset, length)] of the named stream's bytes, in order."""
        for entry in self.entries:
            length = struct.unpack_from("<H", entry, 64)[0]
            if length and entry[:length - 2].decode("utf-16-le") == name:
                start, size = struct.unpack_from("<IQ", entry, 116)
                if self.sector == 512:  # version 3 files keep only the low half of a size
                    size &= 0xFFFFFFFF
                break
        else:
            raise ValueError(f"no stream {name!r}")
        if size < self.cutoff:
            spans = []
            for mini in self.chain(start, self.mini_fat):
                at = mini * self.mini
                spans.append((self.mini_stream[at // self.sector] + at % self.sector, self.mini))
        else:
            spans = [(self.offset(s), self.sector) for s in self.chain(start)]
        out, left = [], size
        for offset, length in spans:
            out.append((offset, min(length, left)))
            left -= out[-1][1]
        return out


def read(data, spans):
    return b"".join(bytes(data[o:o + n]) for o, n in spans)


def write(data, spans, stream):
    at = 0
    for offset, length in spans:
        data[offset:offset + length] = stream[at:at + length]
        at += length


def property_offsets(stream):
    """{property id: offset of its typed value} in the stream's first section."""
    section = struct.unpack_from("<I", stream, 28 + 16)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    pairs = struct.unpack_from(f"<{2 * count}I", stream, section + 8)
    return {pairs[i]: section + pairs[i + 1] for i in range(0, len(pairs), 2)}


def set_value(stream, properties, pid, kind, value):
    at = properties.get(pid)
    if at is None or struct.unpack_from("<I", stream, at)[0] != kind:
        raise ValueError(f"the summary information has no property {pid} of type {kind}")
    if kind == VT_LPSTR:
        length = struct.unpack_from("<I", stream, at + 4)[0]
        if length != len(value) + 1:
            raise ValueError(f"property {pid} is {length - 1} characters long, not {len(value)}")
        stream[at + 8:at + 8 + len(value)] = value
    else:
        stream[at + 4:at + 12] = value


def settle(path, epoch):
    """Dates the package with `epoch` and gives it the package code its content makes."""
    data = bytearray(path.read_bytes())
    spans = CompoundFile(bytes(data)).stream_spans(STREAM)
    stream = bytearray(read(data, spans))
    properties = property_offsets(stream)
    filetime = struct.pack("<Q", FILETIME_1970 + int(epoch) * 10_000_000)
    set_value(stream, properties, PID_CREATE_DTM, VT_FILETIME, filetime)
    set_value(stream, properties, PID_LASTSAVE_DTM, VT_FILETIME, filetime)
    set_value(stream, properties, PID_REVNUMBER, VT_LPSTR, UNSET_CODE)
    write(data, spans, stream)
    code = uuid.UUID(bytes=hashlib.sha256(data).digest()[:16], version=5)
    set_value(stream, properties, PID_REVNUMBER, VT_LPSTR, f"{{{str(code).upper()}}}".encode("ascii"))
    write(data, spans, stream)
    path.write_bytes(data)
    return code
