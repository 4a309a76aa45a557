#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its Wine tests need, only when some are
# missing. The 32-bit build runs under the 32-bit Wine, so the i386 architecture is enabled.
# Wine's ODBC reaches the host's unixODBC driver manager (libodbc2, which Wine opens at run time,
# so no package dependency brings it), where the mdbtools driver reads Access files; the 32-bit
# Wine needs the 32-bit driver manager.
set -euo pipefail

packages=(
    cmake ninja-build make gcc dpkg-dev tcl googletest ccache
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-i686-dev mingw-w64-x86-64-dev
    wine wine64 wine32:i386 fonts-wine
    xvfb xauth imagemagick x11-apps x11-utils
    odbc-mdbtools odbcinst libodbc2 libodbc2:i386
    fonts-liberation2  # Wine draws "MS Shell Dlg" with it: the widths the window was laid out for
    nsis
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
