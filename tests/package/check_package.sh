#!/usr/bin/env bash
# Builds the Debian package and checks what a technician's apt would get: the programs, the
# desktop entry, the icons at every size and the dependencies.
# check_package.sh SOURCE_DIR TREE VERSION own|given|current
#   own:     configure TREE as a Release build of just the packaged targets (a sanitizer build
#            must never be shipped), then package it
#   given:   TREE is a Release tree made beforehand (test.sh's build/release): check that it is
#            one, bring its packaged targets up to date (nothing to do after test.sh) and package it
#   current: TREE is a plain build: package it as it is
set -euo pipefail
src=$1 tree=$2 version=$3 mode=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$mode" = own ]; then
  cmake -S "$src" -B "$tree" -DCMAKE_BUILD_TYPE=Release -DZORV_TESTS=OFF \
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >"$tree.configure.log" 2>&1 ||
    { cat "$tree.configure.log"; fail "configure"; }
elif [ "$mode" = given ]; then
  cache="$tree/CMakeCache.txt"
  [ -f "$cache" ] || fail "$tree is no configured build tree (run test.sh, or unset ZORV_PACKAGE_TREE)"
  grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$cache" || fail "$tree is not a Release tree"
  if grep -Eqx 'ZORV_(SANITIZE|TSAN):BOOL=ON' "$cache"; then fail "$tree is a sanitizer tree"; fi
fi
cmake --build "$tree" -j2 --target zorvtrim zorvtrim-cli zorv-sim zorvtrim_icons >/dev/null ||
  fail "build of the packaged targets"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$tree" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack"; }
deb="$out/zorvtrim_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); got: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zorvtrim ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Maintainer)" = "Dravik Controls <support@dravik-controls.invalid>" ] ||
  fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"

depends=$(field Depends)
for pkg in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6 \
           qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-psql fonts-liberation; do
  grep -Eq "(^|, )$pkg( |,|$)" <<<"$depends" || fail "Depends lacks $pkg: $depends"
done
if grep -Eq 'libasan|libubsan|libtsan' <<<"$depends"; then fail "sanitizer runtime in Depends: $depends"; fi

listing=$(dpkg-deb -c "$deb")
has() { grep -Eq " \./$1\$" <<<"$listing" || fail "package lacks /$1"; }
for program in zorvtrim zorvtrim-cli zorv-sim; do
  grep -Eq "^-rwxr-xr-x root/root .* \./usr/bin/$program\$" <<<"$listing" ||
    fail "/usr/bin/$program missing or not an executable owned by root"
done
has usr/share/applications/zorvtrim.desktop
has usr/share/icons/hicolor/scalable/apps/zorvtrim.svg
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do has "usr/share/icons/hicolor/${size}x${size}/apps/zorvtrim.png"; done

root="$out/root"
dpkg-deb -x "$deb" "$root"

# Each PNG is a PNG of the size its folder names.
for size in "${sizes[@]}"; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/zorvtrim.png"
  [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$png is ${w}x${h}, not ${size}x${size}"
done

desktop="$root/usr/share/applications/zorvtrim.desktop"
for line in "Type=Application" "Name=ZorvTrim" "Exec=zorvtrim %f" "Icon=zorvtrim" "Terminal=false" \
            "Categories=Utility;Engineering;"; do
  grep -qx "$line" "$desktop" || fail "desktop entry lacks $line"
done
grep -q '^Comment=.' "$desktop" || fail "desktop entry has no Comment"
if command -v desktop-file-validate >/dev/null 2>&1; then
  report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
  if grep -Eq 'error|warning' <<<"$report"; then fail "desktop-file-validate: $report"; fi
else
  echo "desktop-file-validate not installed: desktop entry checked by its keys only"
fi

# The udev rule: installed, every line well formed (Debian 12's udevadm has no verify), and it
# says what the user guide promises.
has usr/lib/udev/rules.d/60-zorvtrim-serial.rules
rules="$root/usr/lib/udev/rules.d/60-zorvtrim-serial.rules"
"$src/tests/package/check_udev_rules.sh" "$rules" || fail "udev rule malformed"
grep -q 'ENV{ID_MM_DEVICE_IGNORE}="1"' "$rules" || fail "udev rule does not keep the modem manager off"
grep -q 'DRIVERS=="ftdi_sio", ATTR{latency_timer}="1"' "$rules" || fail "udev rule sets no FTDI latency"
for id in 0403 1a86 10c4 067b; do
  grep -q "ATTRS{idVendor}==\"$id\"" "$rules" || fail "udev rule lacks adapters of vendor $id"
done

# The packaged simulator runs on the system's libraries.
usage=$("$root/usr/bin/zorv-sim" --help 2>&1) || fail "packaged zorv-sim --help: $usage"
grep -q '^usage: zorv-sim' <<<"$usage" || fail "packaged zorv-sim --help: $usage"

# The packaged command line runs on the system's libraries, without Qt Widgets: a fleet script
# runs on a machine without a desktop.
usage=$("$root/usr/bin/zorvtrim-cli" --help 2>&1) || fail "packaged zorvtrim-cli --help: $usage"
grep -q '^Usage: zorvtrim-cli' <<<"$usage" || fail "packaged zorvtrim-cli --help: $usage"
for command in ports get send show diff flash report; do
  grep -q "^  $command" <<<"$usage" || fail "zorvtrim-cli --help lists no $command"
done
if ldd "$root/usr/bin/zorvtrim-cli" | grep -q 'libQt6Widgets'; then
  fail "zorvtrim-cli links Qt Widgets"
fi

# apt can resolve every dependency (simulated: nothing is installed).
if command -v apt-get >/dev/null 2>&1; then
  plan=$(apt-get install -s "$deb" 2>&1) || fail "apt-get install -s: $plan"
  grep -q '^Inst zorvtrim ' <<<"$plan" || fail "apt would not install zorvtrim: $plan"
fi

echo "package OK: $(basename "$deb"), $(grep -c . <<<"$listing") entries; Depends: $depends"
