# The project's stages of the Windows build: configure and build with the cached Qt, gather
# the programs with what they load, and make the setup program. Sourced by build.sh after
# common.sh; expects $ZW_QT and $ZW_GTEST.

zw_project_version() {
  sed -n 's/^project(ZorvTrim VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt"
}

# The icon in the sizes Windows shows, from the project's drawing.
zw_make_icon() {
  ZW_ICON="$ZW_BUILD/zorvtrim.ico"
  if [ -f "$ZW_ICON" ] && [ "$ZW_ICON" -nt "$repo/packaging/zorvtrim.svg" ]; then return 0; fi
  mkdir -p "$ZW_BUILD/icon"
  local size pngs=()
  for size in 16 24 32 48 64 256; do
    rsvg-convert -w "$size" -h "$size" "$repo/packaging/zorvtrim.svg" -o "$ZW_BUILD/icon/$size.png"
    pngs+=("$ZW_BUILD/icon/$size.png")
  done
  python3 "$here/make-ico.py" "$ZW_ICON" "${pngs[@]}"
}

# Windows paths of Linux folders, as Wine shows them (drive Z: is /).
zw_wine_path() { local p="$1"; echo "Z:${p//\//\\}"; }

# What every Windows program of the build needs under Wine: its DLLs, its Qt plugins, a Wine
# prefix of the build's own (never the user's), and no Wine debug chatter. Wine keeps the
# QT_ variables of Linux from Windows programs; WINEQT_ ones reach them without the prefix.
zw_write_wine_env() {
  zw_dll_dirs
  local path="" dir
  for dir in "${ZW_DLL_DIRS[@]}"; do path+="${path:+;}$(zw_wine_path "$dir")"; done
  cat >"$ZW_BUILD/wine-env.sh" <<ENV
export WINEPREFIX="\${ZORV_WINEPREFIX:-$ZW_BUILD/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH='$path'
# The GUI tests on the platform the laptops use (they take offscreen only when none is named):
# Qt's offscreen platform on Windows finds no fonts at all.
export WINEQT_QPA_PLATFORM=windows
export WINEQT_PLUGIN_PATH='$(zw_wine_path "$ZW_QT/plugins")'
ENV
}

# Configures, then builds the targets named (everything without).
zw_build_project() {
  mkdir -p "$ZW_BUILD"
  zw_make_icon
  zw_write_wine_env
  local log="$ZW_BUILD/build.log"
  zw_say "ZorvTrim for Windows in $ZW_BUILD (log: $log)"
  zw_heavy "$log" cmake -S "$repo" -B "$ZW_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ZW_QT/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$ZW_GTEST" -DGTest_DIR="$ZW_GTEST/lib/cmake/GTest" \
    -DZORV_WINDOWS_ICON="$ZW_ICON" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine-run.sh;$ZW_BUILD/wine-env.sh"
  zw_heavy "$log" cmake --build "$ZW_BUILD" --parallel "$ZW_JOBS" ${1:+--target "$@"}
}

# Every DLL a program or plugin imports that is not part of Windows, found in Qt's bin folder
# and MinGW's runtime folders, followed through their own imports.
ZW_DLL_DIRS=()
zw_dll_dirs() {
  ZW_DLL_DIRS=("$ZW_QT/bin" "/usr/lib/gcc/$ZW_TRIPLE/$("$ZW_TRIPLE-gcc-posix" -dumpversion)"
               "/usr/$ZW_TRIPLE/lib")
}

zw_find_dll() {
  local name="$1" dir
  for dir in "${ZW_DLL_DIRS[@]}"; do
    if [ -f "$dir/$name" ]; then echo "$dir/$name"; return 0; fi
  done
  return 1
}

zw_copy_imports() {
  local stage="$1" binary="$2" dll found
  while read -r dll; do
    [ -f "$stage/$dll" ] && continue
    if found="$(zw_find_dll "$dll")"; then
      cp "$found" "$stage/$dll"
      zw_copy_imports "$stage" "$stage/$dll"
    fi
  done < <("$ZW_TRIPLE-objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
}

# The installed folder, as it will be on the laptop.
zw_stage() {
  ZW_STAGE="$ZW_BUILD/stage"
  rm -rf "$ZW_STAGE"
  mkdir -p "$ZW_STAGE"
  zw_dll_dirs
  cp "$ZW_BUILD/app/zorvtrim.exe" "$ZW_BUILD/cli/zorvtrim-cli.exe" "$ZW_STAGE/"
  # The plugins the window loads: the platform, the style, the SQL driver of the history,
  # JPEG pictures, and printing.
  local plugin
  for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll sqldrivers/qsqlite.dll \
                imageformats/qjpeg.dll imageformats/qico.dll printsupport/windowsprintersupport.dll; do
    if [ -f "$ZW_QT/plugins/$plugin" ]; then
      mkdir -p "$ZW_STAGE/$(dirname "$plugin")"
      cp "$ZW_QT/plugins/$plugin" "$ZW_STAGE/$plugin"
    elif [ "$plugin" != printsupport/windowsprintersupport.dll ]; then
      echo "Qt plugin missing: $plugin" >&2
      return 1
    fi
  done
  local binary
  while IFS= read -r binary; do
    zw_copy_imports "$ZW_STAGE" "$binary"
  done < <(find "$ZW_STAGE" -name '*.exe' -o -name '*.dll')
  "$ZW_TRIPLE-strip" --strip-unneeded "$ZW_STAGE"/*.exe
}

# The NSIS lists: one File per staged file, one Delete per file for the uninstaller.
zw_write_file_lists() {
  local install="$ZW_BUILD/install-files.nsh" uninstall="$ZW_BUILD/uninstall-files.nsh"
  local rel dir last=""
  : >"$install"
  : >"$uninstall"
  while IFS= read -r rel; do
    dir="$(dirname "$rel")"
    if [ "$dir" != "$last" ]; then
      if [ "$dir" = . ]; then echo "SetOutPath \"\$INSTDIR\"" >>"$install"
      else echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\"" >>"$install"; fi
      last="$dir"
    fi
    echo "File \"$ZW_STAGE/$rel\"" >>"$install"
    echo "Delete \"\$INSTDIR\\${rel//\//\\}\"" >>"$uninstall"
  done < <(cd "$ZW_STAGE" && find . -type f -printf '%P\n' | sort)
  while IFS= read -r dir; do
    echo "RMDir \"\$INSTDIR\\${dir//\//\\}\"" >>"$uninstall"
  done < <(cd "$ZW_STAGE" && find . -mindepth 1 -type d -printf '%P\n' | sort -r)
}

zw_make_setup() {
  zw_stage
  zw_write_file_lists
  local version
  version="$(zw_project_version)"
  ZW_SETUP="$ZW_BUILD/ZorvTrim-$version-setup.exe"
  zw_heavy "$ZW_BUILD/build.log" makensis -V2 -DVERSION="$version" \
    -DFILES="$ZW_BUILD/install-files.nsh" -DUNFILES="$ZW_BUILD/uninstall-files.nsh" \
    -DICON="$ZW_ICON" -DOUTFILE="$ZW_SETUP" "$repo/packaging/windows/zorvtrim.nsi"
  zw_say "Installed folder: $(du -sk "$ZW_STAGE" | cut -f1) KB; setup program: $(du -k "$ZW_SETUP" | cut -f1) KB"
}
