# Sourced by the end-to-end scripts: where the tests' own X display, Wine
# prefix and HOME live. E2E_ROOT is a folder under build/.
: "${E2E_ROOT:?}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$E2E_ROOT/prefix"
export HOME="$E2E_ROOT/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
if [ -f "$E2E_ROOT/display" ]; then DISPLAY=$(cat "$E2E_ROOT/display"); export DISPLAY; fi

# Z:\ is the Unix root in every Wine prefix.
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}
