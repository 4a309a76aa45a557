#!/usr/bin/env bash
# Builds Vantrell for Windows with MinGW-w64, 32-bit (the build clerks get) and 64-bit, and runs
# the tests under Wine in a fresh Wine prefix. Called by scripts/test.sh, the README's test
# command.
#
# The whole suite runs on the 64-bit build. The 32-bit build runs the Windows-only tests (the
# windows, the registry, COM with the fake request processor in the 32-bit registry, the setup),
# where the bitness matters, with the core they link. A machine whose kernel cannot run 32-bit
# programs (no IA-32 emulation) cannot run 32-bit Wine either: there the 32-bit build makes
# only the programs and the setup, and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$(date +%s)

bash scripts/install-windows-deps.sh
sources=$root/build/windows-sources
bash scripts/fetch-windows-sources.sh "$sources"

# wine32 is installed, but its loader may not start here.
presets=(mingw32 mingw64)
run_presets=(mingw64)
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    run_presets=(mingw32 mingw64)
else
    echo "== This machine cannot run 32-bit programs: the mingw32 build is compiled, not run."
fi

# A repeated run on the same machine compiles only what changed.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

programs=(vantrell vantrell-cli vantrell-setup)
windows_tests=(win32_tests win32_gui_tests win32_com_tests fakerp press-button chronel-sample qbsim)
for preset in "${presets[@]}"; do
    echo "== $preset build"
    cmake --preset "$preset" -DVANTRELL_WINDOWS_SOURCES="$sources" "${launcher[@]}" >/dev/null
    if [ "$preset" = mingw64 ]; then
        cmake --build --preset "$preset" -j 2
    elif [[ " ${run_presets[*]} " == *" $preset "* ]]; then
        cmake --build --preset "$preset" -j 2 --target "${programs[@]}" "${windows_tests[@]}"
    else
        # Not run here: the programs and their setup (and with them every library of the core)
        # show that it builds, in half the time of the test programs.
        cmake --build --preset "$preset" -j 2 --target "${programs[@]}"
    fi
done

# Wine opens some of this machine's libraries only when a program first needs them; one that is
# missing is named here rather than met as failing tests.
for preset in "${run_presets[@]}"; do
    bits=${preset#mingw}
    if ! bash scripts/check-wine-host-libraries.sh "$bits" "build/$preset"; then
        echo "== The Windows tests cannot run under this machine's Wine (see above)." >&2
        exit 1
    fi
done

# A fresh prefix for every run: one made before a Wine package change may no longer start.
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

echo "== Wine prefix"
# Wine reports what it sets up on standard error; shown only when the set-up fails.
if ! cmake/wine-run.sh 64 wineboot --init >/dev/null 2>"$scratch/wineboot.log"; then
    cat "$scratch/wineboot.log" >&2
    exit 1
fi
wineserver -w
# A wine server that has no client left ends after a few seconds; a program started just then
# loses its connection ("wine client error ... Connection reset by peer") and fails. One server
# for the whole run, until the cleanup ends it.
wineserver -p

for preset in "${run_presets[@]}"; do
    echo "== $preset tests (Wine)"
    # Windows that open need a display; Xvfb's default screen is 8-bit grey.
    labels=()
    if [ "$preset" != mingw64 ]; then
        labels=(-L windows)
    fi
    xvfb-run -a -s '-screen 0 1024x768x24' ctest --preset "$preset" -j 2 "${labels[@]}"
done

echo "== Windows build and tests: $(($(date +%s) - started)) s"
