# Sourced by the end-to-end scripts: where the tests' own X display, Wine
# prefix and HOME live. E2E_ROOT is a folder under build/.
: "${E2E_ROOT:?}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# Wine's 32-bit loader, which runs the 32-bit release. WINE32 may name
# another, to see how a machine that cannot run it fares.
WINE32=${WINE32:-/usr/lib/wine/wine}
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

# Whether this machine runs 32-bit Windows programs: 1, with the reason in
# no_32bit_reason, where Wine's 32-bit part is not installed (the install
# script notes why, build/wine32-not-installed) or the kernel cannot start
# 32-bit processes (its loader fails with "Exec format error"). Any other
# failure of the loader ends the script.
can_run_32bit() {
    if [ ! -e "$WINE32" ]; then
        no_32bit_reason="Wine's 32-bit part (wine32:i386) is not installed"
        note=${E2E_ROOT%/build/*}/build/wine32-not-installed
        if [ -f "$note" ]; then no_32bit_reason="$no_32bit_reason: $(cat "$note")"; fi
        return 1
    fi
    if probe=$("$WINE32" --version 2>&1); then return 0; fi
    case $probe in
    *"Exec format error"*)
        no_32bit_reason="this machine cannot run 32-bit processes: $probe"
        return 1
        ;;
    esac
    echo "Wine's 32-bit loader fails: $probe" >&2
    exit 1
}

# Ends the script as skipped (77), saying why, when BITS-bit programs cannot
# run here.
exit_if_cannot_run() {
    if [ "$1" = 32 ] && ! can_run_32bit; then
        echo "skipped: $no_32bit_reason"
        exit 77
    fi
}

# A FAIL line for a Wine run that a timeout (124) or a signal ended, after
# the lines it printed last: say_how_it_ended STATUS LIMIT.
say_how_it_ended() {
    case $1 in
    124) echo "FAIL Wine did not end within $2 s and was stopped; above is what it printed last" ;;
    129 | 1[3-8][0-9] | 19[0-2]) echo "FAIL Wine was ended by SIG$(kill -l $(($1 - 128))); above is what it printed last" ;;
    esac
}
