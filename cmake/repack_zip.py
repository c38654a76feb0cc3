"""Packs a zip again so that its bytes depend on nothing but the files' contents and names.

Usage: repack_zip.py ARCHIVE.zip EPOCH

Entries in name order, each with the time EPOCH (UTC), permissions rw-r--r-- or, for files
that were executable, rwxr-xr-x, no owner and no extra fields.
"""

import io
import sys
import time
import zipfile

path, epoch = sys.argv[1], int(sys.argv[2])
date_time = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
with zipfile.ZipFile(path) as archive:
    entries = [(info.filename, info.external_attr >> 16 & 0o111, archive.read(info))
               for info in archive.infolist() if not info.is_dir()]
out = io.BytesIO()
with zipfile.ZipFile(out, "w") as archive:
    for name, executable, data in sorted(entries):
        info = zipfile.ZipInfo(name, date_time)
        info.create_system = 3  # Unix, so that the permissions below are read
        info.external_attr = (0o100755 if executable else 0o100644) << 16
        archive.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
with open(path, "wb") as f:
    f.write(out.getvalue())
