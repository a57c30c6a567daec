#!/usr/bin/env bash
# Registers ZELControlProj.dll with regsvr32 in a fresh Wine prefix, reads the registry back,
# runs every VBScript here against the library with cscript and the test container built
# beside it, and unregisters it again.
# Prints a PASS or FAIL line per check; exits 1 when any check failed.
#   tests/windows/run.sh [path/to/ZELControlProj.dll]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
dll=$(realpath "${1:-$root/build/windows/windows/ZELControlProj.dll}")
# The in-memory Excel and Word as a COM server of their own, registered for the scripts only.
testServers=$(dirname "$dll")/test-servers/ZELTestServers.dll
# The companions (instrument server, IO settings, links, ...) as the maker's components are: a
# COM server of their own, installed apart from the library.
companions=$(dirname "$dll")/companions/ZELCompanions.dll
wine=${WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=$root/build/wine WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml="
work=$root/build/windows/vbscript
failures=0

pass() { echo "PASS $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
winpath() { echo "Z:${1//\//\\}"; }

# The four entry points, and no DLL that a Windows machine would lack (mingw-w64's runtime
# DLLs all start with "lib").
table=$(x86_64-w64-mingw32-objdump -p "$dll")
for entry in DllRegisterServer DllUnregisterServer DllGetClassObject DllCanUnloadNow; do
  if grep -qE "^\s+\[ *[0-9]+\] $entry$" <<<"$table"; then pass "exported: $entry"; else fail "exported: $entry"; fi
done
imports=$(awk '/DLL Name:/ {print $3}' <<<"$table" | tr '\n' ' ')
if grep -qiE '(^| )lib' <<<"$imports"; then fail "depends on system DLLs only: $imports"
else pass "depends on system DLLs only: $imports"; fi

rm -rf "$WINEPREFIX" "$work"
mkdir -p "$work"
"$wine" wineboot -i >/dev/null 2>&1
# One Wine server for every step below, not one started and stopped per program.
"${wine%64}server" -p >/dev/null 2>&1 || true

# Every class ID and ProgID the library registers: the coclasses of its type library, and the
# schedule control's second ProgID.
mapfile -t clsids < <(grep -B1 '^ *coclass' "$root/windows/ZELControlProj.idl" |
                      grep -o 'uuid([0-9A-Fa-f-]*)' | sed 's/uuid(\(.*\))/{\1}/')
clsids+=('{C0A33EB3-5387-47CC-9964-4F31D0984A59}')
progids=(ZELControlProj.ZELControl ZELControlProj.DataTransfer ZELControlProj.DataConnection
         ZELControlProj.ExcelDataConnection ZELControlProj.WordDataConnection ZELControlProj.Utilities
         ZELControlProj.ZELEventClass ZELControlProj.repMeasControl KroRepeatedMeasure.RepeatMeasurement)
libid='{5E0A7C12-3B49-4D8F-A6E1-72C9D4B0F35A}'
keys=("${progids[@]}" "${clsids[@]/#/CLSID\\}" "TypeLib\\$libid")

registered() { "$wine" reg query "HKEY_CLASSES_ROOT\\$1" >/dev/null 2>&1; }

if "$wine" regsvr32 /s "$(winpath "$dll")" >/dev/null 2>&1; then pass "regsvr32 registers the library"
else fail "regsvr32 registers the library"; fi
for key in "${keys[@]}"; do
  if registered "$key"; then pass "registered: $key"; else fail "registered: $key"; fi
done
server=$("$wine" reg query "HKEY_CLASSES_ROOT\\CLSID\\${clsids[0]}\\InprocServer32" 2>/dev/null | tr -d '\r')
if grep -q 'ThreadingModel.*Apartment' <<<"$server"; then pass "the classes are apartment-threaded"
else fail "the classes are apartment-threaded: $server"; fi

# A test program's PASS and FAIL lines, each under the program's name; a program that stops
# before its end, or passes nothing, fails.
report() {
  local name=$1 output=$2 status=$3
  sed "s/^/$name: /" <<<"$output"
  if [ "$status" -ne 0 ] || ! grep -q '^PASS' <<<"$output" || grep -q '^FAIL' <<<"$output" ||
     { [[ $name == *.vbs ]] && ! grep -q '^END$' <<<"$output"; }; then
    grep -q '^FAIL' <<<"$output" || fail "$name ran to its end (exit $status)"
    failures=$((failures + $(grep -c '^FAIL' <<<"$output")))
  fi
}

if "$wine" regsvr32 /s "$(winpath "$testServers")" >/dev/null 2>&1; then pass "regsvr32 registers the test servers"
else fail "regsvr32 registers the test servers"; fi
if "$wine" regsvr32 /s "$(winpath "$companions")" >/dev/null 2>&1; then pass "regsvr32 registers the companions"
else fail "regsvr32 registers the companions"; fi

# The analyzer for the scripts and the container: the Linux simulator (from make check's build)
# on a free loopback port and on a pseudo-terminal that Wine offers as COM5, and a simulator
# slower than a short IoTimeout on another port and COM6.
addresses=()
. "$here/simulator.sh"
if startSimulator; then
  addresses=("TCPIP0::127.0.0.1::$simPort::SOCKET" "ASRL5::INSTR"
             --slow "TCPIP0::127.0.0.1::$slowPort::SOCKET" --slow "ASRL6::INSTR")
  export ZEL_SIM_PORT=$simPort
else fail "zel-sim starts (build it with make check)"; fi
# The library shows its dialogs and message boxes on the scripts' desktop, "ZELTest.Desktop".
"$wine" reg add 'HKEY_CURRENT_USER\Software\ZELControlProj' /v TestDesktop /d ZELTest.Desktop /f >/dev/null 2>&1

for script in "$here"/*.vbs; do
  name=$(basename "$script")
  # GetData.vbs runs below, with its analyzer.
  [ "$name" = Check.vbs ] || [ "$name" = GetData.vbs ] && continue
  # Check.vbs first: VBScript has no include of its own.
  cat "$here/Check.vbs" "$script" > "$work/$name"
  output=$("$wine" cscript //nologo "$(winpath "$work/$name")" 2>&1 | tr -d '\r')
  report "$name" "$output" $?
done
# The test container, built beside the library, reaching the analyzers through the library's links.
container=$(dirname "$dll")/../tests/windows/ControlContainer.exe
output=$("$wine" "$container" "${addresses[@]}" 2>&1 | tr -d '\r')
report ControlContainer.exe "$output" $?
stopSimulator

# Get Data end to end, the same scenario in this build (GetData.vbs) and in the Linux build
# (office_calls, from make check's build), each against a fresh zel-sim of the same seed: the
# calls the control made into Excel and the cells it left must be the same, but for the times
# of day (sheet names, dates).
sameDay() { sed -E 's/[A-Z][a-z]{2} [0-9]{1,2}, [0-9]{4} [0-9]{1,2}h [0-9]{1,2}m [0-9]{1,2}s/(sheet)/g
                    s#[0-9]{1,2}/[0-9]{1,2}/[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2} [AP]M#(time)#g' "$1"; }
if runSimulator 'listening on' --seed 7; then
  cat "$here/Check.vbs" "$here/GetData.vbs" > "$work/GetData.vbs"
  output=$("$wine" cscript //nologo "$(winpath "$work/GetData.vbs")" "TCPIP0::127.0.0.1::$(portOf)::SOCKET" \
           "$(winpath "$here/GetData.answers")" "$(winpath "$work/windows-calls.txt")" "${simPids[-1]}" 2>&1 | tr -d '\r')
  report GetData.vbs "$output" $?
  if runSimulator 'listening on' --seed 7 &&
     "$root/build/default/tests/windows/peer/office_calls" "TCPIP0::127.0.0.1::$(portOf)::SOCKET" \
       "$here/GetData.answers" >"$work/linux-calls.txt" 2>"$work/office_calls.log"; then
    if diff <(sameDay "$work/windows-calls.txt") <(sameDay "$work/linux-calls.txt") >"$work/calls.diff"; then
      pass "the same calls into Excel and the same cells from both builds ($(grep -c . "$work/linux-calls.txt") lines)"
    else fail "the same calls into Excel and the same cells from both builds: see $work/calls.diff"; fi
  else fail "office_calls plays Get Data in the Linux build: see $work/office_calls.log"; fi
  stopSimulator
else fail "zel-sim starts (build it with make check)"; fi

"$wine" reg delete 'HKEY_CURRENT_USER\Software\ZELControlProj' /f >/dev/null 2>&1
"$wine" regsvr32 /s /u "$(winpath "$testServers")" >/dev/null 2>&1
if registered ZELTest.ExcelApplication; then fail "left behind: the test servers"; fi
"$wine" regsvr32 /s /u "$(winpath "$companions")" >/dev/null 2>&1
if registered KroZEL.ZELEZ; then fail "left behind: the companions"; fi
if "$wine" regsvr32 /s /u "$(winpath "$dll")" >/dev/null 2>&1; then pass "regsvr32 /u unregisters the library"
else fail "regsvr32 /u unregisters the library"; fi
for key in "${keys[@]}"; do
  if registered "$key"; then fail "left behind: $key"; else pass "removed: $key"; fi
done

"${wine%64}server" -k >/dev/null 2>&1 || true
echo "$failures failure(s)"
[ "$failures" -eq 0 ]
