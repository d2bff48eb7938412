#!/bin/sh
# reproducible_release.sh SOURCE WIN32_BUILD WORK: builds the 32-bit release a
# second time, later and from a copy of the sources in another folder, and
# expects the same exe and the same release zip, byte for byte; then checks
# what the zip holds and that SHA256SUMS vouches for it.
set -eu
top=$1 first=$2 work=$3
rm -rf "$work"
mkdir -p "$work/source"
# The sources as a clone has them, with any change not yet committed.
(cd "$top" && git ls-files -z -co --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2>/dev/null) |
    tar -xf - -C "$work/source"
second=$work/source/build/win32
cmake -S "$work/source" -B "$second" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release >"$work/build.log" 2>&1
cmake --build "$second" >>"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
"$top/scripts/make_release.sh" "$first" "$work/first" >/dev/null
"$work/source/scripts/make_release.sh" "$second" "$work/second" >/dev/null

status=0
same() {
    if cmp -s "$2" "$3"; then echo "ok   $1: the same bytes"; else echo "FAIL $1 differs: $(cmp "$2" "$3" 2>&1)"; status=1; fi
}
same "Parlyte.exe built twice" "$first/Parlyte.exe" "$second/Parlyte.exe"
same "fxt.exe built twice" "$first/fxt.exe" "$second/fxt.exe"
zip=$(cd "$work/first" && ls Parlyte-*.zip)
same "$zip made twice" "$work/first/$zip" "$work/second/$zip"
same "SHA256SUMS made twice" "$work/first/SHA256SUMS" "$work/second/SHA256SUMS"
if (cd "$work/first" && sha256sum -c SHA256SUMS >/dev/null); then echo "ok   sha256sum -c SHA256SUMS"; else
    echo "FAIL sha256sum -c SHA256SUMS"; status=1; fi
python3 - "$work/first/$zip" "$first" <<'PYTHON' || status=1
import os
import sys
import zipfile

archive = zipfile.ZipFile(sys.argv[1])
failed = False
def expect(condition, what):
    global failed
    print(("ok   " if condition else "FAIL ") + what)
    failed |= not condition
names = archive.namelist()
expect(names == ["Parlyte.exe", "fxt.exe", "README.txt"],
       "the zip holds Parlyte.exe, fxt.exe and README.txt at its top: %s" % names)
for exe in ("Parlyte.exe", "fxt.exe"):
    with open(os.path.join(sys.argv[2], exe), "rb") as f:
        expect(exe in names and archive.read(exe) == f.read(), "its %s is the release's" % exe)
guide = archive.read("README.txt") if "README.txt" in names else b""
expect(guide.count(b"\n") > 10 and guide.count(b"\n") == guide.count(b"\r\n") and b"\r\r" not in guide,
       "README.txt has Windows line ends")
sys.exit(1 if failed else 0)
PYTHON
exit $status
