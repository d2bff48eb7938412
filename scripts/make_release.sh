#!/bin/sh
# make_release.sh BUILD FOLDER: writes FOLDER/Parlyte-VERSION.zip, holding
# BUILD's Parlyte.exe and fxt.exe and the user's guide as README.txt with
# Windows line ends, and FOLDER/SHA256SUMS for it. The zip's entries have
# fixed dates, order and attributes, so that the same exes always give the
# same zip.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
folder=$2
major=$(sed -n 's/^#define PARLYTE_VERSION_MAJOR //p' "$top/res/version.h")
minor=$(sed -n 's/^#define PARLYTE_VERSION_MINOR //p' "$top/res/version.h")
zip=Parlyte-$major.$minor.zip
mkdir -p "$folder"
rm -f "$folder/$zip" "$folder/SHA256SUMS"
python3 - "$folder/$zip" "$build" "$top/release/README.txt" <<'PYTHON'
import os
import sys
import zipfile

zip_path, build, guide = sys.argv[1:]
entries = []
for exe in ("Parlyte.exe", "fxt.exe"):
    with open(os.path.join(build, exe), "rb") as f:
        entries.append((exe, f.read()))
with open(guide, "rb") as f:
    entries.append(("README.txt", f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")))
with zipfile.ZipFile(zip_path, "w") as archive:
    for name, data in entries:
        # The earliest date a zip can hold, and no owner or permissions.
        entry = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
        entry.create_system = 0
        entry.external_attr = 0
        entry.compress_type = zipfile.ZIP_DEFLATED
        archive.writestr(entry, data, compresslevel=9)
PYTHON
(cd "$folder" && sha256sum "$zip" >SHA256SUMS)
echo "$folder/$zip"
cat "$folder/SHA256SUMS"
