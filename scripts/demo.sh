#!/usr/bin/env bash
# Builds Vantrell and runs it on demo data: a time-and-attendance file with two weeks of hours
# and a company file of the stand-in accounting system that lacks one employee.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

echo "Building..."
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target vantrell-cli vantrell qbsim chronel-sample >/dev/null

bin=build/release/bin
qbsim=build/release/src/standins/qbsim
sample=build/release/tools/chronel-sample/chronel-sample
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/config"
# The demo keeps its settings to itself, away from the user's own.
export XDG_CONFIG_HOME="$PWD/$demo/config"
chronel="$demo/ChronelV7.mde"
company="$demo/Company.qbw"
run=("$bin/vantrell-cli" --data-dir "$demo" --chronel "$chronel" --company "$company")

"$sample" demo "$chronel" >/dev/null
"$qbsim" create "$company" >/dev/null
mapfile -t employees < <("$sample" names "$chronel" | awk -F'\t' '$1=="employee"{print $2}')
mapfile -t items < <("$sample" names "$chronel" | awk -F'\t' '$1=="wage-item"{print $2}')
missing="${employees[${#employees[@]}-1]}"
"$qbsim" add-wage-item "$company" "${items[@]}" >/dev/null
"$qbsim" add-employee "$company" "${employees[@]:0:${#employees[@]}-1}" >/dev/null

echo
echo "1. The time-and-attendance file holds ${#employees[@]} employees; the company file knows all"
echo "   wage items but not \"$missing\". Vantrell stages the tickets and lists the issue:"
echo
"${run[@]}" | sed 's/^/     | /'

echo
echo "2. The clerk adds \"$missing\" to the company file."
"$qbsim" add-employee "$company" "$missing" >/dev/null

echo
echo "3. Vantrell runs again, finds nothing missing, and exports:"
echo
"${run[@]}" --export | sed 's/^/     | /'

echo
posted=$("$qbsim" list-time "$company")
count=$(printf '%s\n' "$posted" | wc -l)
echo "4. The accounting system now holds $count time tickets; the first few (date, employee,"
echo "   duration, wage item):"
echo
printf '%s\n' "$posted" | head -n 6 | sed 's/^/     | /'
echo "     | ..."

echo
echo "5. Exporting again posts nothing twice: Vantrell first asks which tickets are there already."
echo
"${run[@]}" --export | sed 's/^/     | /'
again=$("$qbsim" list-time "$company" | wc -l)
echo
echo "   The accounting system still holds $again time tickets. The exports so far (ID, finished,"
echo "   posted, undone, unconfirmed, company file; --show-export ID lists one export's tickets,"
echo "   --undo-export ID takes one back):"
echo
"$bin/vantrell-cli" --data-dir "$demo" --list-exports | sed 's/^/     | /'
echo
echo "The log, the trace files and Vantrell.mdb are in $demo."
