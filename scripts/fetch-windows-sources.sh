#!/usr/bin/env bash
# Fetches the sources that the Windows build compiles itself, since Debian has no MinGW builds
# of them: SQLite and pugixml from Debian's source packages. SQLite comes as its full source
# tree; its single-file amalgamation is generated here. GoogleTest comes from Debian's
# googletest package, which installs its sources.
#
# usage: fetch-windows-sources.sh DIR    (DIR ends up holding sqlite3/ and pugixml/)
set -euo pipefail

dest=${1:?usage: fetch-windows-sources.sh DIR}
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)

if [ -f "$dest/sqlite3/sqlite3.c" ] && [ -f "$dest/pugixml/src/pugixml.cpp" ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

# apt-get source needs deb-src entries. They are derived from the machine's own Debian entries,
# so that they name the same mirror and suites.
has_deb_src() {
    grep -rqsE '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
        /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
}
if ! has_deb_src; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    generated=/etc/apt/sources.list.d/vantrell-deb-src
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        # Only stanzas for this Debian release; a third-party archive may have no sources.
        awk -v RS= -v ORS='\n\n' -v codename="$codename" \
            '$0 ~ "Suites:[^\n]*" codename { sub(/Types:[ \t]*deb\n/, "Types: deb-src\n"); print }' \
            "$file"
    done | $sudo tee "$generated.sources" >/dev/null
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        sed -n "s/^[[:space:]]*deb[[:space:]]\(.*[[:space:]]$codename\)/deb-src \1/p" "$file"
    done | $sudo tee "$generated.list" >/dev/null
    $sudo apt-get update -qq
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -qq pugixml sqlite3 >/dev/null 2>&1) || {
    echo "apt-get source pugixml sqlite3 failed" >&2
    (cd "$work" && apt-get source pugixml sqlite3) >&2 || true
    exit 1
}

rm -rf "$dest/pugixml" "$dest/sqlite3"
pugixml_dir=$(find "$work" -maxdepth 1 -type d -name 'pugixml-*' | head -n1)
sqlite_dir=$(find "$work" -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)
mkdir -p "$dest/pugixml"
cp -r "$pugixml_dir/src" "$pugixml_dir/LICENSE.md" "$dest/pugixml/" 2>/dev/null ||
    cp -r "$pugixml_dir/src" "$dest/pugixml/"

# The amalgamation needs tclsh and the host's C compiler.
mkdir "$work/sqlite-build"
(cd "$work/sqlite-build" && "$sqlite_dir/configure" --disable-tcl >/dev/null &&
    make -s sqlite3.c >/dev/null 2>&1)
mkdir -p "$dest/sqlite3"
cp "$work/sqlite-build/sqlite3.c" "$work/sqlite-build/sqlite3.h" "$dest/sqlite3/"
echo "Sources in $dest: pugixml $(basename "$pugixml_dir"), sqlite3 $(basename "$sqlite_dir")"
