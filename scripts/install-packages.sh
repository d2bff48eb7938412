#!/bin/sh
# install-packages.sh build|run|test: installs the Debian packages that
# `make`, `make run` or `make test` needs and this machine lacks; each
# level takes the ones before it.
#
# A package mirror in the middle of a sync fails some of its indexes for a
# while. apt-get update is tried three times; then the packages come from
# the indexes there are. Wine's 32-bit part (wine32:i386), which runs the
# 32-bit release, comes last and alone: where it cannot be had, the reason
# goes to build/wine32-not-installed, the release's tests report themselves
# skipped with it, and the 64-bit build runs their cases.
set -u
level=${1:-test}
top=$(cd "$(dirname "$0")/.." && pwd)
missing_wine32_note=$top/build/wine32-not-installed

# package, the first level that needs it, and what for
package_table() {
    cat <<'TABLE'
cmake                build  every build
make                 build  the Makefile
clang                build  the Linux fxt, with the sanitizers
libclang-rt-dev      build  the sanitizers' and the fuzzers' runtimes
g++-mingw-w64-i686   build  the 32-bit exes (brings its binutils)
g++-mingw-w64-x86-64 build  the 64-bit exes (brings its binutils)
python3              build  make release writes the zip
wine64               run    runs the exes
xvfb                 run    the virtual display Wine draws in
imagemagick          run    screenshots as PNG
libgtest-dev         test   the unit tests
gettext              test   msgfmt, msgcat and the rest, the PO files' oracles
libgettextpo-dev     test   gettext's own PO reader, in the table fuzzer
translate-toolkit    test   po2csv and csv2po, a translator's round trip
x11-utils            test   xprop reads the window's icon
TABLE
}

case $level in
build) levels="build" ;;
run) levels="build run" ;;
test) levels="build run test" ;;
*) echo "usage: $0 build|run|test" >&2; exit 2 ;;
esac

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
# The last line of apt's error report; apt-get's output is in $1.
apt_error() {
    printf '%s\n' "$1" | grep '^E:' | tail -n 1
}

missing=""
for wanted in $levels; do
    for package in $(package_table | awk -v level="$wanted" '$2 == level { print $1 }'); do
        installed "$package" || missing="$missing $package"
    done
done
want_wine32=no
if [ "$level" != build ] && ! installed wine32:i386; then want_wine32=yes; fi
if [ -z "$missing" ] && [ $want_wine32 = no ]; then
    rm -f "$missing_wine32_note"
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    [ -n "$missing" ] || exit 0 # the 32-bit part only makes skipped tests run
    echo "missing packages:$missing; as root, install them with:" >&2
    echo "    apt-get install$missing" >&2
    exit 1
fi
apt_get() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -qq "$@"
}

[ $want_wine32 = no ] || dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
for try in 1 2 3; do
    if update=$(apt_get update 2>&1); then break; fi
    if [ $try -eq 3 ]; then
        echo "apt-get update failed 3 times; installing from the indexes there are: $(printf '%s\n' "$update" |
            grep '^E:' | head -n 1)"
    else
        sleep 5
    fi
done

if [ -n "$missing" ]; then
    echo "installing:$missing"
    if ! output=$(apt_get install $missing 2>&1); then
        printf '%s\n' "$output" | tail -n 20 >&2
        for package in $missing; do
            if ! trial=$(apt_get install --simulate "$package" 2>&1); then
                echo "cannot install $package: $(apt_error "$trial")" >&2
            fi
        done
        exit 1
    fi
fi

if [ $want_wine32 = yes ]; then
    echo "installing: wine32:i386"
    if output=$(apt_get install wine32:i386 2>&1); then
        rm -f "$missing_wine32_note"
    else
        reason=$(apt_error "$output")
        mkdir -p "$(dirname "$missing_wine32_note")"
        echo "${reason:-apt-get install wine32:i386 failed}" >"$missing_wine32_note"
        echo "Wine's 32-bit part was not installed ($(cat "$missing_wine32_note")): the 64-bit build runs the release's cases"
    fi
fi
exit 0
