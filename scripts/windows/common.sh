# Shared by build.sh and test.sh: folders, the Debian packages, and the cached Qt for Windows.
# Sourced, not run. Expects $repo to be the tree's top folder.

ZW_TRIPLE=x86_64-w64-mingw32
ZW_TOOLCHAIN="$repo/cmake/mingw-w64-x86_64.cmake"
ZW_CACHE="${ZORV_WINDOWS_CACHE:-$(cd "$repo/.." && pwd)/cache/zorv-windows}"
ZW_BUILD="${ZORV_WINDOWS_BUILD:-$repo/build/windows}"
ZW_JOBS="${ZORV_JOBS:-$(nproc)}"
ZW_WINE=/usr/lib/wine/wine64
ZW_LOGS="$ZW_CACHE/logs"
mkdir -p "$ZW_CACHE" "$ZW_LOGS"

zw_say() { printf '[%(%H:%M:%S)T] %s\n' -1 "$*"; }

# Runs a heavy step at the lowest priority with its output in a log; shows the log's end when
# it fails.
zw_heavy() {
  local log="$1"
  shift
  zw_say "  $* (log: $log)"
  if ! nice -n 19 "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    zw_say "failed: $*" >&2
    return 1
  fi
}

zw_sudo() { if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi; }

# The source packages come from the same archive as the binary ones: a deb-src entry is made
# from the system's own deb entries when there is none.
zw_enable_deb_src() {
  if grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  local out=/etc/apt/sources.list.d/zorv-deb-src
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    awk 'BEGIN { RS = ""; ORS = "\n\n" } /Types: deb/ { sub(/Types: deb/, "Types: deb-src"); print }' \
      /etc/apt/sources.list.d/debian.sources | zw_sudo tee "$out.sources" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | zw_sudo tee "$out.list" >/dev/null
  fi
  ZW_APT_UPDATED=""
}

ZW_APT_UPDATED=""
zw_apt_update() {
  if [ -z "$ZW_APT_UPDATED" ]; then
    zw_sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
    ZW_APT_UPDATED=1
  fi
}

zw_install_packages() {
  local wanted=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                mingw-w64-tools nsis wine64 xvfb xauth xdotool dpkg-dev ninja-build tcl cmake
                qt6-base-dev qt6-base-dev-tools googletest python3 librsvg2-bin
                poppler-utils fonts-wine fonts-liberation x11-apps)
  local missing=() pkg
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  zw_enable_deb_src
  if [ ${#missing[@]} -gt 0 ]; then
    zw_say "Installing: ${missing[*]}"
    zw_apt_update
    DEBIAN_FRONTEND=noninteractive zw_sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
      --no-install-recommends "${missing[@]}"
  fi
}

# The version of a Debian package installed on this machine, e.g. 6.4.2+dfsg-10.
zw_installed_version() { dpkg-query -W -f='${Version}' "$1"; }

# Unpacks Debian source package $1 at version $2 into $3 (once; a cut download starts again).
zw_source_package() {
  local name="$1" version="$2" dest="$3"
  if [ -f "$dest/.zorv-unpacked" ]; then return 0; fi
  local tmp="$dest.partial"
  rm -rf "$tmp" "$dest"
  mkdir -p "$tmp"
  zw_say "Fetching the source of $name $version"
  if ! (cd "$tmp" && apt-get source -qq "$name=$version" >/dev/null 2>"$ZW_LOGS/source-$name.log"); then
    zw_apt_update
    (cd "$tmp" && apt-get source -qq "$name=$version" >/dev/null 2>"$ZW_LOGS/source-$name.log")
  fi
  local unpacked
  unpacked="$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
  [ -n "$unpacked" ] || { echo "apt-get source $name gave no folder" >&2; return 1; }
  mv "$unpacked" "$dest"
  rm -rf "$tmp"
  touch "$dest/.zorv-unpacked"
}

ZW_QT_SERIALPORT_TARBALL_SHA=682626d3ae07074df0f707dab880f1eab1c133a04d5bed688a3ec63af305ae89
zw_serialport_tarball() {
  local vendor
  for vendor in "${ZORV_VENDOR:-}" "$repo/../shared/vendor" "$repo/../../shared/vendor"; do
    if [ -n "$vendor" ] && [ -f "$vendor/qtserialport-everywhere-src-6.4.2.tar.xz" ]; then
      echo "$vendor/qtserialport-everywhere-src-6.4.2.tar.xz"
      return 0
    fi
  done
  echo "qtserialport-everywhere-src-6.4.2.tar.xz not found: set ZORV_VENDOR to its folder" >&2
  return 1
}

# Qt's configure options. Part of the cache key: a change here builds Qt again.
ZW_QT_OPTIONS=(-release -nomake tests -nomake examples -no-opengl -qt-zlib -qt-libpng
               -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -no-dbus -no-icu
               -sql-sqlite -system-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql
               -no-feature-network -no-feature-concurrent -no-feature-xml)
# Debian's source lacks Qt's bundled wintab.h, which tablet events need.
ZW_QT_CMAKE_OPTIONS=(-DFEATURE_tabletevent=OFF)

# Everything the cached Qt depends on, hashed: the source versions, the serial port tarball,
# the compilers, the toolchain file and the options above.
zw_qt_key() {
  {
    echo "qt6-base $(zw_installed_version qt6-base-dev)"
    echo "sqlite3 $(zw_installed_version libsqlite3-0)"
    echo "qtserialport $ZW_QT_SERIALPORT_TARBALL_SHA"
    "$ZW_TRIPLE-g++-posix" --version | head -n 1
    cat "$ZW_TOOLCHAIN"
    echo "${ZW_QT_OPTIONS[*]} ${ZW_QT_CMAKE_OPTIONS[*]}"
    echo "recipe 1"
  } | sha256sum | cut -c1-16
}

zw_build_sqlite() {
  local src="$1" out="$2"
  if [ -f "$out/.zorv-done" ]; then return 0; fi
  zw_say "SQLite for Windows"
  local amalgam="$out/build"
  mkdir -p "$amalgam" "$out/include" "$out/lib"
  if [ -f "$src/sqlite3.c" ]; then
    cp "$src/sqlite3.c" "$src/sqlite3.h" "$amalgam/"
  else
    # The full source tree makes its single-file form with Tcl.
    if [ ! -f "$amalgam/sqlite3.c" ]; then
      (cd "$amalgam" && zw_heavy "$ZW_LOGS/sqlite.log" "$src/configure" --disable-tcl \
        && zw_heavy "$ZW_LOGS/sqlite.log" make sqlite3.c)
    fi
  fi
  zw_heavy "$ZW_LOGS/sqlite.log" "$ZW_TRIPLE-gcc-posix" -O2 -DSQLITE_THREADSAFE=1 \
    -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_OMIT_LOAD_EXTENSION -c "$amalgam/sqlite3.c" \
    -o "$amalgam/sqlite3.o"
  rm -f "$out/lib/libsqlite3.a"
  "$ZW_TRIPLE-ar" rcs "$out/lib/libsqlite3.a" "$amalgam/sqlite3.o"
  cp "$amalgam/sqlite3.h" "$out/include/"
  touch "$out/.zorv-done"
}

# Builds (once) qtbase and Qt Serial Port for Windows into $ZW_CACHE/qt-<key>/install.
zw_build_qt() {
  local key
  key="$(zw_qt_key)"
  local top="$ZW_CACHE/qt-$key"
  ZW_QT="$top/install"
  if [ -f "$top/.zorv-done" ]; then
    zw_say "Qt for Windows: cached ($ZW_QT)"
    return 0
  fi
  mkdir -p "$top"
  echo "$key" >"$top/key"
  local t0=$SECONDS
  local log="$ZW_LOGS/qt-$key.log"
  zw_say "Qt for Windows: building into $top (log: $log)"

  local qtver sqlver
  qtver="$(zw_installed_version qt6-base-dev)"
  sqlver="$(zw_installed_version libsqlite3-0)"
  zw_source_package qt6-base "$qtver" "$ZW_CACHE/src/qt6-base-$qtver"
  zw_source_package sqlite3 "$sqlver" "$ZW_CACHE/src/sqlite3-$sqlver"
  zw_build_sqlite "$ZW_CACHE/src/sqlite3-$sqlver" "$top/sqlite"

  if [ ! -f "$top/qtbase-build/.zorv-configured" ]; then
    rm -rf "$top/qtbase-build"
    mkdir -p "$top/qtbase-build"
    # The installed Qt names its toolchain file for every later build: it gets its own copy,
    # so it does not depend on the clone that built it.
    cp "$ZW_TOOLCHAIN" "$top/toolchain.cmake"
    (cd "$top/qtbase-build" && zw_heavy "$log" "$ZW_CACHE/src/qt6-base-$qtver/configure" \
      -prefix "$ZW_QT" "${ZW_QT_OPTIONS[@]}" -qt-host-path /usr -- \
      -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/toolchain.cmake" \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DSQLite3_INCLUDE_DIR="$top/sqlite/include" \
      -DSQLite3_LIBRARY="$top/sqlite/lib/libsqlite3.a" \
      "${ZW_QT_CMAKE_OPTIONS[@]}")
    touch "$top/qtbase-build/.zorv-configured"
  fi
  if [ ! -f "$top/qtbase-build/.zorv-installed" ]; then
    zw_heavy "$log" cmake --build "$top/qtbase-build" --parallel "$ZW_JOBS"
    zw_heavy "$log" cmake --install "$top/qtbase-build"
    touch "$top/qtbase-build/.zorv-installed"
  fi

  local sp_src="$top/qtserialport-src"
  if [ ! -f "$sp_src/.zorv-unpacked" ]; then
    local tarball
    tarball="$(zw_serialport_tarball)"
    echo "$ZW_QT_SERIALPORT_TARBALL_SHA  $tarball" | sha256sum -c --quiet
    rm -rf "$sp_src" "$sp_src.partial"
    mkdir -p "$sp_src.partial"
    tar -xJf "$tarball" -C "$sp_src.partial" --strip-components=1
    mv "$sp_src.partial" "$sp_src"
    touch "$sp_src/.zorv-unpacked"
  fi
  if [ ! -f "$top/qtserialport-build/.zorv-installed" ]; then
    mkdir -p "$top/qtserialport-build"
    zw_heavy "$log" "$ZW_QT/bin/qt-cmake" -S "$sp_src" -B "$top/qtserialport-build" -G Ninja \
      -DCMAKE_BUILD_TYPE=Release
    zw_heavy "$log" cmake --build "$top/qtserialport-build" --parallel "$ZW_JOBS"
    zw_heavy "$log" cmake --install "$top/qtserialport-build"
    touch "$top/qtserialport-build/.zorv-installed"
  fi
  echo "$((SECONDS - t0)) s in this run" >"$top/build-seconds"
  touch "$top/.zorv-done"
  zw_say "Qt for Windows: built in $((SECONDS - t0)) s"
}

# GoogleTest for MinGW from Debian's source copy, cached beside Qt (keyed by its version).
zw_build_gtest() {
  local version
  version="$(zw_installed_version googletest)"
  ZW_GTEST="$ZW_CACHE/googletest-$version"
  if [ -f "$ZW_GTEST/.zorv-done" ]; then return 0; fi
  zw_say "GoogleTest $version for Windows"
  local build="$ZW_CACHE/googletest-build-$version"
  zw_heavy "$ZW_LOGS/googletest.log" cmake -S /usr/src/googletest -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ZW_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$ZW_GTEST" -Dgtest_disable_pthreads=OFF
  zw_heavy "$ZW_LOGS/googletest.log" cmake --build "$build" --parallel "$ZW_JOBS"
  zw_heavy "$ZW_LOGS/googletest.log" cmake --install "$build"
  touch "$ZW_GTEST/.zorv-done"
}

# One build at a time on a cache: a second run (say test.sh while a first build runs in the
# background) waits for the first instead of building into the same folders.
zw_lock_cache() {
  exec 9>"$ZW_CACHE/.lock"
  if ! flock -n 9; then
    zw_say "Another build is using $ZW_CACHE: waiting for it to finish"
    flock 9
  fi
}
