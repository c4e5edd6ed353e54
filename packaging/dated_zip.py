"""Zips whose bytes follow from their contents alone: the entries in the order given, each
dated with the commit's time and carrying the same attributes, whatever the clock, the time
zone, the umask or the file system of the machine that made them."""
import time
import zipfile

OLDEST = (1980, 1, 1, 0, 0, 0)  # a zip entry can carry no earlier time
FILE_ATTRIBUTE_ARCHIVE = 0x20


def entry_time(epoch):
    """A zip entry has no time zone: the commit's time in UTC, the same on every machine."""
    return max(tuple(time.gmtime(int(epoch))[:6]), OLDEST)


def write(zip_path, entries, epoch):
    """entries: (name inside the zip, bytes), in the order they go in."""
    with zipfile.ZipFile(zip_path, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, entry_time(epoch))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # as Windows' own zips say: attributes in the MS-DOS form
            info.external_attr = FILE_ATTRIBUTE_ARCHIVE
            archive.writestr(info, data, compresslevel=9)
