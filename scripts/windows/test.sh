#!/usr/bin/env bash
# Tests ZorvTrim for Windows under Wine, on a virtual display:
#   1. the unit and GUI tests built for Windows (CTest runs them through Wine), with a simulated
#      controller on a COM port for the port tests, and that controller's adapter pulled out;
#   2. zorvtrim-cli.exe against the simulator on a pseudo-terminal mapped as COM33: ports, get,
#      send, diff, flash of the whole 15 KB flash with verification; times are printed;
#   3. zorvtrim.exe, first start: it writes "COM Port" = "1" to the registry, its link comes up
#      on COM1 (the simulator), the status panel turns green, Get Cal and Send Cal move the
#      settings;
#   4. the setup program installs silently into a fresh Wine prefix, the installed command line
#      runs, and the uninstaller removes what was installed.
# Builds first (scripts/windows/build.sh; seconds once built). Exits non-zero on any failure;
# ends with the line "N passed, N failed".
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=project.sh
source "$here/project.sh"

"$here/build.sh"
zw_build_qt >/dev/null
version="$(zw_project_version)"
setup="$ZW_BUILD/ZorvTrim-$version-setup.exe"
cli="$ZW_BUILD/cli/zorvtrim-cli.exe"
window="$ZW_BUILD/app/zorvtrim.exe"

work="$(mktemp -d)"
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then kill -INT "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=/dev/null
source "$ZW_BUILD/wine-env.sh"
wine=/usr/lib/wine/wine64
passed=0
failed=0
row() {
  local name="$1"
  shift
  if "$@"; then
    passed=$((passed + 1)); echo "ok    $name"
  else
    failed=$((failed + 1)); echo "FAIL  $name"
  fi
}

# The simulator is a Linux program: built for this machine, outside the Windows build.
sim_build="$ZW_BUILD/linux-sim"
zw_heavy "$ZW_LOGS/linux-sim.log" cmake -S "$repo" -B "$sim_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORV_TESTS=OFF
zw_heavy "$ZW_LOGS/linux-sim.log" cmake --build "$sim_build" --target zorv-sim
sim="$sim_build/sim/zorv-sim"

# A new Wine prefix with the fonts every Windows has: Wine's own Tahoma (its "MS Shell Dlg",
# the window's font) and the Liberation fonts standing in for Courier New, Arial and Times New
# Roman, whose letter widths they share. Without them Wine falls back to any font it finds,
# and the window's sheets and the report are measured in it.
fresh_prefix() {
  export WINEPREFIX="$1"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1
  ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  local pair
  for pair in "Courier New=Liberation Mono" "Arial=Liberation Sans" "Times New Roman=Liberation Serif"; do
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /t REG_SZ \
      /d "${pair#*=}" /f >/dev/null
  done
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}

# Starts the simulator with the given options and maps its pseudo-terminal as COM33: Wine's
# port table, then a Wine server restart so the port appears in the serial device map.
start_sim() {
  "$sim" "$@" >"$work/sim.log" 2>&1 &
  sim_pid=$!
  local pty="" i
  for i in $(seq 50); do
    pty="$(sed -n 's/^port: //p' "$work/sim.log" | head -n 1)"
    [ -n "$pty" ] && break
    sleep 0.1
  done
  [ -n "$pty" ] || { cat "$work/sim.log" >&2; return 1; }
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v "${sim_com:-COM33}" /t REG_SZ /d "$pty" /f >/dev/null
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}

stop_sim() {
  kill -INT "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=""
}

# Milliseconds a command takes.
timed() {
  local t0 t1
  t0=$(date +%s%N)
  "$@"
  local rc=$?
  t1=$(date +%s%N)
  echo "      $(( (t1 - t0) / 1000000 )) ms: ${*##*/}" >&2
  return $rc
}

# A virtual display for everything with a window: without one, Wine's windows never close.
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY="$display"

# Wine's windows left to no window manager: with none on the display, Wine otherwise waits for
# one at every window it shows or removes (two seconds a GUI test case instead of a tenth).
unmanaged_windows() {
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$1" /f >/dev/null
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}

echo "== Unit and GUI tests under Wine"
fresh_prefix "$ZW_BUILD/wine-prefix"
unmanaged_windows N
start_sim --fast
# Qt's windows platform, as on a laptop: Wine passes no QT_ variable on (offscreen would be
# WINEQT_QPA_PLATFORM), and offscreen on Windows has no fonts at all.
(cd "$ZW_BUILD" && ZORV_TEST_COM=COM33 \
   ctest --output-on-failure --timeout 300 2>&1) | tee "$work/ctest.log" | tail -n 30 || true
stop_sim
ctest_line="$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$work/ctest.log" || true)"
echo "      $ctest_line"
row "unit and GUI tests under Wine" grep -q ' 0 tests failed' <<<"$ctest_line"

echo "== The adapter pulled out while its port is open"
start_sim --fast
ZORV_TEST_COM=COM33 ZORV_TEST_UNPLUG=1 "$wine" "$ZW_BUILD/tests/windows/win32_serial_tests.exe" \
  --gtest_filter='*AdapterIsGone*' >"$work/unplug.log" 2>&1 &
unplug_pid=$!
for _ in $(seq 300); do
  grep -q '^port open' "$work/unplug.log" && break
  sleep 0.1
done
stop_sim
row "an unplug is known though the device map still lists the port" wait "$unplug_pid"

echo "== zorvtrim-cli.exe against zorv-sim on COM33 (9600-baud wire time)"
# The whole flash (0x3C00 bytes) as Intel HEX, 16 bytes a record.
python3 - "$work/flash15k.hex" "$work/flash15k.bin" <<'PY'
import sys
data = bytes((i * 7 + (i >> 8)) & 0xFF for i in range(0x3C00))
open(sys.argv[2], "wb").write(data)
with open(sys.argv[1], "w") as f:
    for at in range(0, len(data), 16):
        chunk = data[at:at + 16]
        rec = bytes([len(chunk), at >> 8, at & 0xFF, 0]) + chunk
        f.write(":" + rec.hex().upper() + "%02X\n" % ((-sum(rec)) & 0xFF))
    f.write(":00000001FF\n")
PY
start_sim --save-image "$work/memory.joy" --save-flash "$work/flash.bin"
cli_run() { "$wine" "$cli" "$@" >"$work/out.txt" 2>&1; }
cli_win() { echo "Z:${1//\//\\}"; }
row "ports lists COM33" bash -c "\"$wine\" \"$cli\" ports | grep -q COM33"
row "get (Get Cal)" timed cli_run get --port 33 -o "$(cli_win "$work/got.joy")"
python3 -c "import sys; b=bytearray(open(sys.argv[1],'rb').read()); b[3]=99; open(sys.argv[2],'wb').write(b)" \
  "$work/got.joy" "$work/changed.joy" 2>/dev/null || true
row "got 256 bytes" test "$(stat -c %s "$work/got.joy" 2>/dev/null || echo 0)" = 256
row "send (Send Cal)" timed cli_run send --port 33 "$(cli_win "$work/changed.joy")"
row "diff controller = sent file" cli_run diff controller "$(cli_win "$work/changed.joy")" --port 33
diff_other() { cli_run diff controller "$(cli_win "$work/got.joy")" --port 33; [ $? -eq 1 ]; }
row "diff controller != old file" diff_other
row "flash 15 KB with verification" timed cli_run flash --port 33 "$(cli_win "$work/flash15k.hex")" --yes
stop_sim
row "controller holds the sent settings" cmp -s "$work/memory.joy" "$work/changed.joy"
row "controller's flash holds the file" cmp -s -n 15360 "$work/flash.bin" "$work/flash15k.bin"

echo "== zorvtrim.exe on a virtual display"
unmanaged_windows Y  # as on a laptop: the keys go to the window given the focus
# A first start: no "COM Port" value yet, so the window takes port 1 and writes "1" itself;
# the simulator is COM1 here.
"$wine" reg delete 'HKCU\Software\Dravik Controls\ZorvTrim\Settings' /v "COM Port" /f >/dev/null 2>&1 || true
sim_com=COM1 start_sim --fast
"$wine" "$window" >"$work/window.log" 2>&1 &
window_pid=$!
# The about window opens first and holds the start-up until it is closed: its OK button is
# the default, so Return closes it. No window manager runs on the virtual display, so a click
# first gives the window the keyboard.
if timeout 120 xdotool search --sync --name '^ZorvTrim$' >/dev/null 2>&1; then
  sleep 2
  about="$(xdotool search --name '^ZorvTrim$' | head -n 1)"
  xdotool mousemove --window "$about" 20 20 click 1
  sleep 0.5
  xdotool key Return
fi
# Waits up to a minute for a line of the simulator's log.
sim_said() {
  local i
  for i in $(seq 120); do
    grep -q "$1" "$work/sim.log" && return 0
    sleep 0.5
  done
  return 1
}
# Pixels of the status panel's green (0, 128, 0) in a window, from its X picture.
green_pixels() {
  xwd -silent -id "$1" | python3 -c '
import struct, sys
d = sys.stdin.buffer.read()
h = struct.unpack(">25I", d[:100])
size, width, height, order, bpl, ncolours = h[0], h[4], h[5], h[7], h[12], h[19]
pixels = memoryview(d)[size + ncolours * 12:]
rgb = (2, 1, 0) if order == 0 else (1, 2, 3)
n = 0
for y in range(height):
    row = pixels[y * bpl:y * bpl + width * 4]
    for x in range(0, width * 4, 4):
        if (row[x + rgb[0]], row[x + rgb[1]], row[x + rgb[2]]) == (0, 128, 0):
            n += 1
print(n)'
}
# With no window manager a window takes the keyboard only when clicked: the steps click the
# main window's menu bar right of its menus, or inside a box, before each key.
main_window() { xdotool search --name '^Zorv Configuration Tool' | head -n 1; }
connected_green() {
  local i main
  for i in $(seq 60); do
    main="$(main_window)"
    [ -n "$main" ] && [ "$(green_pixels "$main")" -gt 500 ] && return 0
    sleep 0.5
  done
  return 1
}
# Closes the "Information" box a job ends with (its OK is the default button).
answer_box() {
  local box i
  box="$(timeout 90 xdotool search --sync --onlyvisible --name '^Information$' | head -n 1)"
  [ -n "$box" ] || return 1
  xdotool mousemove --window "$box" 10 10 click 1
  sleep 0.5
  xdotool key Return
  for i in $(seq 20); do
    xdotool search --onlyvisible --name '^Information$' >/dev/null 2>&1 || return 0
    sleep 0.5
  done
  return 1
}
# Presses a key in the main window and waits for one more simulator log line of the given
# kind, then answers the job's box.
press_for() {
  local key="$1" line="$2" before i
  before="$(grep -c "$line" "$work/sim.log" || true)"
  xdotool mousemove --window "$(main_window)" 300 5 click 1
  sleep 0.5
  xdotool key "$key"
  for i in $(seq 120); do
    if [ "$(grep -c "$line" "$work/sim.log" || true)" -gt "$before" ]; then answer_box; return; fi
    sleep 0.5
  done
  return 1
}
row "window's link reaches the controller on COM1" sim_said '^acknowledged'
row "\"COM Port\" = \"1\" written to the registry" bash -c \
  "\"$wine\" reg query 'HKCU\\Software\\Dravik Controls\\ZorvTrim\\Settings' /v 'COM Port' | tr -d '\\r' | grep -Eq 'COM Port +REG_SZ +1$'"
row "status panel turns green" connected_green
# The window reads the controller's settings as it connects; its box closes first.
answer_box || true
row "Get Cal (Alt+G) downloads the settings" press_for alt+g '^settings downloaded'
row "Send Cal (Alt+S) sends them back" press_for alt+s '^settings uploaded'
/usr/lib/wine/wineserver -k 2>/dev/null || true
wait "$window_pid" 2>/dev/null || true
stop_sim

echo "== Setup program in a fresh Wine prefix"
fresh_prefix "$work/setup-prefix"
installed="$WINEPREFIX/drive_c/Program Files/Dravik Controls/ZorvTrim"
row "silent install (/S)" timed "$wine" "$setup" /S
row "programs installed" test -f "$installed/zorvtrim.exe" -a -f "$installed/zorvtrim-cli.exe"
row "listed in Apps and features" bash -c "\"$wine\" reg query 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZorvTrim' | grep -q DisplayName"
row ".joy opens in ZorvTrim" bash -c "\"$wine\" reg query 'HKLM\\Software\\Classes\\DravikControls.ZorvTrim.SwitchFile\\shell\\open\\command' | grep -q 'zorvtrim.exe'"
row "Start menu entry" test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ZorvTrim.lnk"
echo "      installed folder: $(du -sk "$installed" | cut -f1) KB, setup program: $(du -k "$setup" | cut -f1) KB"
# The installed program starts with only what the setup program brought (no build paths).
# Into a file first: grep -q would close the pipe early, and the program's failed write is
# then its failure.
installed_runs() {
  env -u WINEPATH -u WINEQT_PLUGIN_PATH "$wine" "C:\\Program Files\\Dravik Controls\\ZorvTrim\\zorvtrim-cli.exe" --help \
    >"$work/help.txt" 2>&1 && grep -q 'flash \[--port N\]' "$work/help.txt"
}
row "installed zorvtrim-cli.exe runs" installed_runs
uninstalled() {
  "$wine" "C:\\Program Files\\Dravik Controls\\ZorvTrim\\Uninstall.exe" /S
  local i
  for i in $(seq 40); do
    [ ! -e "$installed/zorvtrim.exe" ] && return 0
    sleep 0.5
  done
  return 1
}
row "silent uninstall removes the programs" uninstalled

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
