#!/bin/sh
# Smoke test of vantrell.exe under Wine on an X display (Xvfb): the demo data (exported once to
# the company file), the main window shown in a Wine desktop (so that it has its frame and
# caption), screenshots of it, of the review and of the export history, and its Close button
# pressed.
#
# usage: smoke-screenshot.sh WINE-RUN BITS VANTRELL.EXE VANTRELL-CLI.EXE CHRONEL-SAMPLE.EXE
#                            QBSIM.EXE PRESS-BUTTON.EXE OUT.png
set -eu
wine_run=$1 bits=$2 vantrell=$3 cli=$4 chronel_sample=$5 qbsim=$6 press_button=$7 out=$8
mkdir -p "$(dirname "$out")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
win() { "$wine_run" "$bits" "$@"; }
windows_path() { win winepath.exe -w "$1" | tr -d '\r'; }

chronel=$(windows_path "$work/ChronelV7.mde")
company=$(windows_path "$work/Company.qbw")
data=$(windows_path "$work/program")
win "$chronel_sample" demo "$chronel" >/dev/null
win "$chronel_sample" names "$chronel" | tr -d '\r' >"$work/names.txt"
win "$qbsim" create "$company" >/dev/null
# Every wage item and every employee but the last: the window lists one issue.
awk -F'\t' '$1=="wage-item"{print $2}' "$work/names.txt" >"$work/items.txt"
awk -F'\t' '$1=="employee"{print $2}' "$work/names.txt" >"$work/all-employees.txt"
sed '$d' "$work/all-employees.txt" >"$work/employees.txt"
fill_company() { # EMPLOYEES-FILE
    employees_file=$1
    (set --; while IFS= read -r item; do set -- "$@" "$item"; done <"$work/items.txt"
        win "$qbsim" add-wage-item "$company" "$@" >/dev/null)
    (set --; while IFS= read -r name; do set -- "$@" "$name"; done <"$employees_file"
        win "$qbsim" add-employee "$company" "$@" >/dev/null)
}

# An export first, so that the export history has one to show: every name known, every
# ticket posted. Then the company file is made anew without the last employee.
fill_company "$work/all-employees.txt"
win "$cli" --processor sim --data-dir "$data" --chronel "$chronel" \
    --company "$company" --export >/dev/null
rm -f "$work/Company.qbw" "$work/Company.qbw.lock"
win "$qbsim" create "$company" >/dev/null
fill_company "$work/employees.txt"

# The headless run stores both locations in the registry, so the window asks for neither.
win "$cli" --processor sim --data-dir "$data" --chronel "$chronel" \
    --company "$company" >/dev/null

# Started outside the wrapper: it runs while this script looks at the screen.
loader=wine
[ "$bits" = 64 ] && [ -x /usr/lib/wine/wine64 ] && loader=/usr/lib/wine/wine64
"$loader" explorer.exe /desktop=Vantrell,800x640 "$vantrell" --processor sim \
    --data-dir "$data" >"$work/run.log" 2>&1 &
program=$!

desktop=""
for _ in $(seq 1 60); do
    if xwininfo -root -tree | grep -q '"RerovIrida Zoz Uvodi (Payroll Export)"' &&
        [ -f "$work/program/ResolveResp.txt" ]; then
        desktop=$(xwininfo -root -tree | awk '/"Vantrell - Wine desktop"/{print $1; exit}')
        break
    fi
    sleep 0.5
done
if [ -z "$desktop" ]; then
    echo "the main window did not appear with its list filled" >&2
    cat "$work/run.log" >&2
    exit 1
fi
sleep 1  # the list is painted once the activation has run
import -window "$desktop" "$out"
echo "screenshot: $out"

# A window the main window opens from its system menu (command #N) or from its list's context
# menu on a line (@N:LINE), shot in the desktop next to the main window's screenshot, then
# closed by its Close button (or the one named).
caption="RerovIrida Zoz Uvodi (Payroll Export)"
shoot_window() { # COMMAND CAPTION OUT WHAT [CLOSE-BUTTON]
    win "$press_button" "$caption" "$1" Vantrell
    shown=""
    for _ in $(seq 1 40); do
        if xwininfo -root -tree | grep -qF "\"$2\""; then
            shown=yes
            break
        fi
        sleep 0.25
    done
    if [ -z "$shown" ]; then
        echo "$4 did not open from its menu" >&2
        exit 1
    fi
    sleep 1
    import -window "$desktop" "$3"
    echo "screenshot: $3"
    if ! win "$press_button" "$2" "${5:-&Close}" Vantrell; then
        echo "the ${5:-&Close} button of $4 could not be pressed" >&2
        exit 1
    fi
    sleep 0.5
}
# The review of the stage (IDM_REVIEW) and the export history (IDM_HISTORY), the export above
# selected.
shoot_window "#272" "Review staged tickets" "${out%.png}-review.png" "the review"
shoot_window "#288" "Export history" "${out%.png}-history.png" "the export history"
# The choice of a QuickBooks name for the missing employee (IDM_MAPNAME on the list's first line),
# cancelled: nothing is mapped.
shoot_window "@304:0" "Map to a QuickBooks name" "${out%.png}-name-map.png" "the name choice" \
    "Cancel"

# Close, as the clerk presses it: the unload sequence runs and the program ends.
if ! win "$press_button" "$caption" "&Close" Vantrell; then
    echo "the Close button could not be pressed" >&2
    exit 1
fi
# The program's own process: its command line starts with the executable (the desktop's and this
# script's only mention it).
running() { ps -eo args | awk -v exe="$vantrell" 'index($0, exe " ") == 1 {found = 1} END {exit !found}'; }
for _ in $(seq 1 40); do
    running || break
    sleep 0.25
done
if running; then
    echo "the program did not end after Close" >&2
    exit 1
fi
if [ -s "$work/program/VantrellLog.txt" ]; then
    echo "the run logged errors:" >&2
    cat "$work/program/VantrellLog.txt" >&2
    exit 1
fi
