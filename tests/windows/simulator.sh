# The analyzers for the Windows tests, from build/default/simulator/zel-sim: one on a free
# loopback port ($simPort) and on a pseudo-terminal mapped to Wine's COM5, and one that answers
# every query a second late ($slowPort, COM6). Sourced by run.sh after wineboot.
simPids=()
# Starts zel-sim with `$@` and waits for its line matching `ready`; the log is in $simLog.
runSimulator() {
  local ready=$1
  shift
  simLog=$work/zel-sim${#simPids[@]}.log
  "$root/build/default/simulator/zel-sim" --port 0 "$@" >"$simLog" 2>&1 &
  simPids+=($!)
  for _ in $(seq 100); do
    grep -q "$ready" "$simLog" && return 0
    kill -0 "${simPids[-1]}" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
portOf() { sed -n 's/^zel-sim listening on .*:\([0-9]*\)$/\1/p' "$simLog"; }
startSimulator() {
  [ -x "$root/build/default/simulator/zel-sim" ] || return 1
  runSimulator 'serial link on' --pty || return 1
  simPort=$(portOf)
  ln -sfn "$(sed -n 's/^zel-sim serial link on //p' "$simLog")" "$WINEPREFIX/dosdevices/com5"
  runSimulator 'serial link on' --pty --delay-ms 1000 || return 1
  slowPort=$(portOf)
  ln -sfn "$(sed -n 's/^zel-sim serial link on //p' "$simLog")" "$WINEPREFIX/dosdevices/com6"
}
stopSimulator() {
  for pid in "${simPids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  simPids=()
}
