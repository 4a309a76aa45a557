#!/usr/bin/env bash
# Checks that Wine can load, from this machine, every Linux library that the Wine part of a
# DLL the Windows programs import loads at run time, so that a missing package fails here, once
# and clearly, rather than as test failures. Wine's unix modules open these libraries with
# dlopen, so no package dependency brings them in (odbc32 needs the host's unixODBC driver
# manager, libodbc.so.2, for one).
#
# usage: check-wine-host-libraries.sh 32|64 FOLDER...
# Looks at every .exe and .dll under the folders; exits 1 naming each library that is missing.
set -euo pipefail

bits=$1
shift
case "$bits" in
    64) objdump=x86_64-w64-mingw32-objdump; unix_dir=/usr/lib/x86_64-linux-gnu/wine/x86_64-unix
        abi='x86-64' ;;
    32) objdump=i686-w64-mingw32-objdump; unix_dir=/usr/lib/i386-linux-gnu/wine/i386-unix
        abi='' ;;
    *) echo "usage: $0 32|64 FOLDER..." >&2; exit 2 ;;
esac

# True when the dynamic loader knows `soname` for this architecture.
installed() {
    local line
    while read -r line; do
        case "$line" in
            "$1 ("*)
                if [ -n "$abi" ]; then
                    [[ "$line" == *"$abi"* ]] && return 0
                else
                    [[ "$line" != *x86-64* && "$line" != *x32* ]] && return 0
                fi ;;
        esac
    done < <(ldconfig -p)
    return 1
}

mapfile -t programs < <(find "$@" \( -name '*.exe' -o -name '*.dll' \) -not -path '*/CMakeFiles/*')
declare -A users=()
for program in "${programs[@]}"; do
    while read -r dll; do
        dll=${dll,,}
        users[${dll%.dll}]+=" ${program##*/}"
    done < <("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
done

missing=0
for dll in "${!users[@]}"; do
    module=$unix_dir/$dll.so
    [ -f "$module" ] || continue
    for soname in $(strings "$module" | grep -E '^lib[A-Za-z0-9_+-]+\.so(\.[0-9]+)*$' | sort -u); do
        if ! installed "$soname"; then
            # Debian names a library's package after its soname: libodbc.so.2 is in libodbc2.
            package=${soname%%.so*}${soname##*.so.}
            [[ "$soname" == *.so ]] && package=${soname%.so}
            read -r -a importers <<<"${users[$dll]}"
            echo "Wine's $dll (imported by ${importers[*]:0:3}) loads $soname from this" \
                "machine, and it is not installed ($bits-bit). Add its Debian" \
                "package (probably $package$([ "$bits" = 32 ] && echo ':i386')) to" \
                "scripts/install-windows-deps.sh." >&2
            missing=1
        fi
    done
done
exit $missing
