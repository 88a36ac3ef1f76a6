#!/usr/bin/env bash
# Builds ZorvTrim (Release) and runs it against the controller simulator on a pseudo-terminal,
# with a private settings folder so the user's own settings are never touched.
#
#   ./run.sh                 the tool on zorv-sim as a Zorv v1.1 controller
#   ./run.sh --product b     the simulator plays another product (G, g, b, d or c)
#   ./run.sh --real          the tool alone, with the user's own settings and serial ports
#   ./run.sh --xvfb ...      no screen here: run under a virtual X display (installs xvfb)
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

product=g
real=0
xvfb=0
while [ $# -gt 0 ]; do
  case "$1" in
    --product)
      [ $# -ge 2 ] || { echo "run.sh: --product needs one of G g b d c" >&2; exit 2; }
      product=$2
      shift 2
      ;;
    --product=*) product=${1#--product=}; shift ;;
    --real) real=1; shift ;;
    --xvfb) xvfb=1; shift ;;
    -h|--help) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run.sh: unknown option '$1' (try --help)" >&2; exit 2 ;;
  esac
done
case "$product" in
  G|g|b|d|c) ;;
  *) echo "run.sh: unknown product '$product': use G, g, b, d or c" >&2; exit 2 ;;
esac

runner=()
extras=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  if [ "$xvfb" -eq 1 ]; then
    extras+=(xvfb xauth)
    runner=(xvfb-run -a -s "-screen 0 1024x768x24")
  else
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "  ZorvTrim is a desktop program: run it from a desktop session, or use" >&2
    echo "  './run.sh --xvfb' to run it on a virtual display nobody can see." >&2
    exit 3
  fi
fi

. scripts/deps.sh
zorv_install_deps "${extras[@]}"

echo "== Building (Release) in build/release"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZORV_TESTS=OFF >/dev/null
cmake --build build/release -j2 --target zorvtrim zorv-sim
tool="$root/build/release/app/zorvtrim"
sim="$root/build/release/sim/zorv-sim"

if [ "$real" -eq 1 ]; then
  echo "== Starting ZorvTrim with your own settings"
  exec "${runner[@]}" "$tool"
fi

simlog="$root/build/run-sim.log"
: >"$simlog"
"$sim" --product "$product" >"$simlog" 2>&1 &
sim_pid=$!

stop_sim() {
  if kill -0 "$sim_pid" 2>/dev/null; then
    kill -INT "$sim_pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$sim_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$sim_pid" 2>/dev/null || true
  fi
  wait "$sim_pid" 2>/dev/null || true
}
trap stop_sim EXIT
trap 'exit 130' INT TERM

port=""
for _ in $(seq 100); do
  port=$(sed -n 's/^port: //p' "$simlog" | head -n 1)
  [ -n "$port" ] && break
  kill -0 "$sim_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "run.sh: zorv-sim did not report its port:" >&2
  cat "$simlog" >&2
  exit 1
fi

# The tool reaches the pseudo-terminal as COM200 through a port alias, in a settings folder
# of its own (QSettings' per-user file under XDG_CONFIG_HOME).
config="$root/build/run-config"
mkdir -p "$config/Dravik Controls"
cat >"$config/Dravik Controls/ZorvTrim.conf" <<EOF
[Port%20Aliases]
COM200=$port

[Settings]
COM%20Port=200
EOF

echo "== zorv-sim (product $product) on $port as COM200; its log: $simlog"
echo "== Starting ZorvTrim (settings in $config)"
status=0
XDG_CONFIG_HOME="$config" "${runner[@]}" "$tool" || status=$?
exit "$status"
