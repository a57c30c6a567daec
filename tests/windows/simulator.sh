# The analyzer for the Windows tests: build/default/simulator/zel-sim on a free loopback port
# ($simPort) and on a pseudo-terminal mapped to Wine's COM5. Sourced by run.sh after wineboot.
simPid=
startSimulator() {
  local sim=$root/build/default/simulator/zel-sim log=$work/zel-sim.log
  [ -x "$sim" ] || return 1
  "$sim" --port 0 --pty >"$log" 2>&1 &
  simPid=$!
  for _ in $(seq 100); do
    grep -q 'serial link on' "$log" && break
    kill -0 "$simPid" 2>/dev/null || return 1
    sleep 0.1
  done
  simPort=$(sed -n 's/^zel-sim listening on .*:\([0-9]*\)$/\1/p' "$log")
  local pty=$(sed -n 's/^zel-sim serial link on //p' "$log")
  [ -n "$simPort" ] && [ -n "$pty" ] || return 1
  ln -sfn "$pty" "$WINEPREFIX/dosdevices/com5"
}
stopSimulator() {
  [ -n "$simPid" ] && kill "$simPid" 2>/dev/null && wait "$simPid" 2>/dev/null
  simPid=
}
