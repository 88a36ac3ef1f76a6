#!/usr/bin/env bash
# Runs a Windows program of the Windows build under Wine; CTest's emulator for the tests.
#   wine-run.sh ENV-FILE PROGRAM.exe [ARGUMENTS...]
# ENV-FILE (written by build.sh into the build folder) puts the cached Qt's DLLs and plugins
# and the MinGW runtime on the program's DLL path and names the build's own Wine prefix.
set -euo pipefail
# shellcheck source=/dev/null
source "$1"
shift
exec /usr/lib/wine/wine64 "$@"
