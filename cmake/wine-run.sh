#!/bin/sh
# Runs a Windows program under Wine for ctest: wine-run.sh 32|64 PROGRAM [ARGS...]
# The first Wine process of a prefix starts helpers (services.exe, explorer.exe, ...) that
# outlive it and inherit its output; if they held ctest's pipe, ctest would wait forever. So the
# output goes through files, standard output and standard error each through its own, so that
# Wine's own messages never mix into what a caller reads from the program. The exit status
# passes through.
bits=$1
shift
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEDEBUG WINEDLLOVERRIDES
if [ -z "$WINEPREFIX" ]; then
    # A prefix of the build's own rather than the user's ~/.wine.
    WINEPREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/vantrell/wine$bits"
    # Wine makes the prefix, but not the folders above it.
    mkdir -p "${WINEPREFIX%/*}"
fi
export WINEPREFIX

# Debian's wine script always starts the 32-bit loader when wine32 is installed; a 64-bit
# program is started by the 64-bit loader directly, which also works where 32-bit programs
# cannot run at all.
wine=wine
if [ "$bits" = 64 ]; then
    for loader in /usr/lib/wine/wine64 "$(command -v wine64 2>/dev/null)"; do
        if [ -n "$loader" ] && [ -x "$loader" ]; then
            wine=$loader
            export WINELOADER="$loader"
            break
        fi
    done
fi

out=$(mktemp) || exit 1
err=$(mktemp) || exit 1
"$wine" "$@" >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
