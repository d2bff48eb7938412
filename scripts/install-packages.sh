#!/bin/sh
# Installs the Debian packages the build and the tests need, when missing;
# GNU gettext, and its reader as a library (libgettextpo), are the oracles
# of the tests of fxt's PO files, and translate-toolkit (po2csv, csv2po) a
# tool translators take them through.
# Wine's 32-bit part (wine32:i386) runs the 32-bit release; it needs the i386
# architecture added to dpkg first.
set -eu
packages="cmake make clang libclang-rt-dev libgtest-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
          binutils-mingw-w64-x86-64 wine64 wine32:i386 xvfb x11-utils imagemagick python3 gettext libgettextpo-dev
          translate-toolkit"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
