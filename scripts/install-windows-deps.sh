#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its Wine tests need, only when some are
# missing. The 32-bit build runs under the 32-bit Wine, so the i386 architecture is enabled.
# Wine's ODBC reaches the host's unixODBC, where the mdbtools driver reads Access files.
set -euo pipefail

packages=(
    cmake ninja-build make gcc dpkg-dev tcl googletest ccache
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-i686-dev mingw-w64-x86-64-dev
    wine wine64 wine32:i386 fonts-wine
    xvfb xauth imagemagick x11-apps x11-utils
    odbc-mdbtools odbcinst
    nsis
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
