#!/bin/sh
# Installs Vantrell-setup.exe silently into a fresh folder of the Wine prefix, checks the
# programs, the Start-menu entry and the uninstall entry, runs the installed vantrell-cli.exe,
# then uninstalls and checks that the programs went and the clerk's data stayed.
#
# usage: installer-roundtrip.sh WINE-RUN BITS VANTRELL-SETUP.EXE
set -eu
wine_run=$1 bits=$2 setup=$3
win() { "$wine_run" "$bits" "$@"; }
fail() {
    echo "$*" >&2
    exit 1
}

# The folder of the prefix that a Windows path names; the test fails unless it is an absolute
# path ending in the path's last part, since it is removed below.
unix_path() {
    path=$(win winepath.exe -u "$1" | tr -d '\r' | tail -n 1)
    case "$path" in
        /*"/${1##*\\}") echo "$path" ;;
        *) fail "winepath gave '$path' for $1" ;;
    esac
}

# NSIS takes /D= unquoted, so the test folder has no space.
folder='C:\VantrellSetupTest'
unix_folder=$(unix_path "$folder")
rm -rf "$unix_folder"
win "$setup" /S "/D=$folder" || fail "the setup failed"

for file in vantrell.exe vantrell-cli.exe "Uninstall Vantrell.exe"; do
    [ -f "$unix_folder/$file" ] || fail "not installed: $file"
done
start_menu=$(unix_path 'C:\users')
ls "$start_menu"/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Vantrell/Vantrell.lnk \
    >/dev/null 2>&1 || fail "no Start-menu entry"
win reg.exe query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrell' \
    /v UninstallString >/dev/null || fail "no uninstall entry"
win "$unix_folder/vantrell-cli.exe" --help | grep -q "usage: vantrell-cli" ||
    fail "the installed vantrell-cli.exe does not run"

# The clerk's data in the program's folder.
printf 'stage' >"$unix_folder/Vantrell.mdb"
# "_?=" runs the uninstaller in place and waits for it; it then cannot delete itself.
win "$unix_folder/Uninstall Vantrell.exe" /S "_?=$folder" || fail "the uninstaller failed"
for file in vantrell.exe vantrell-cli.exe; do
    [ ! -e "$unix_folder/$file" ] || fail "left behind: $file"
done
[ -f "$unix_folder/Vantrell.mdb" ] || fail "the uninstaller removed the clerk's Vantrell.mdb"
if win reg.exe query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrell' \
    >/dev/null 2>&1; then
    fail "the uninstall entry stayed"
fi
rm -rf "$unix_folder"
echo "installed, ran and uninstalled"
