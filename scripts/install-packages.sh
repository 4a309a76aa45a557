#!/usr/bin/env bash
# Installs those of the Debian packages named that are missing, and nothing when none is.
# A package of another architecture (name:i386) enables that architecture first.
#
# usage: install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

for package in "${missing[@]}"; do
    if [[ "$package" == *:* ]]; then
        arch=${package##*:}
        if [ "$arch" != "$(dpkg --print-architecture)" ] &&
            ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
            $sudo dpkg --add-architecture "$arch"
        fi
    fi
done

echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
