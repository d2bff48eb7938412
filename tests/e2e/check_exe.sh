#!/bin/sh
# check_exe.sh EXE ARCH KIND: a Windows exe for ARCH (i686 or x86_64) that
# needs nothing but the system beside it. KIND parlyte: a GUI program under
# 32 KB that starts at ProgramEntry (by the linker's map beside it) and
# imports from KERNEL32, USER32, SHELL32 and OLE32 only. KIND fxt: a console
# program under 600 KB, the C++ library linked in, that imports from KERNEL32
# and the C library only.
set -eu
exe=$1
arch=$2
kind=$3
objdump=$arch-w64-mingw32-objdump
case $arch in
i686) format=pei-i386 ;;
x86_64) format=pei-x86-64 ;;
*) echo "unknown arch $arch" >&2; exit 2 ;;
esac
case $kind in
parlyte) subsystem="00000002	(Windows GUI)" imports="KERNEL32.DLL OLE32.DLL SHELL32.DLL USER32.DLL " largest=32768 ;;
fxt) subsystem="00000003	(Windows CUI)" imports="KERNEL32.DLL MSVCRT.DLL " largest=614400 ;;
*) echo "unknown kind $kind" >&2; exit 2 ;;
esac
status=0
check() {
    if [ "$2" = "$3" ]; then echo "ok   $1: $2"; else echo "FAIL $1: $2, expected $3"; status=1; fi
}

check "file format" "$($objdump -f "$exe" | sed -n 's/.*file format //p')" "$format"
check "subsystem" "$($objdump -p "$exe" | sed -n 's/^Subsystem[[:space:]]*//p')" "$subsystem"
check "imports" "$($objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr a-z A-Z | sort | tr '\n' ' ')" "$imports"
if [ "$kind" = parlyte ]; then
    entry=$(sed -n 's/^ *0x0*\([0-9a-f]*\) *_\{0,1\}ProgramEntry\(@0\)\{0,1\}$/\1/p' "$(dirname "$exe")/Parlyte.map")
    start=$($objdump -f "$exe" | sed -n 's/^start address 0x0*//p')
    check "start address" "$start" "${entry:-no ProgramEntry in the map}"
fi
size=$(wc -c <"$exe")
check "under $((largest / 1024)) KB" "$([ "$size" -lt $largest ] && echo yes || echo no)" yes
echo "size: $size bytes"
exit $status
