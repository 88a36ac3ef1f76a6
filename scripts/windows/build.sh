#!/usr/bin/env bash
# Builds ZorvTrim for 64-bit Windows on Debian: MinGW-w64 cross compilers, Qt 6.4.2 for Windows
# built once from Debian's qt6-base source into a cache folder outside the tree, GoogleTest for
# MinGW, then zorvtrim.exe, zorvtrim-cli.exe, the tests and the NSIS setup program.
#
#   scripts/windows/build.sh            everything (the first run builds Qt: about an hour)
#   scripts/windows/build.sh qt         only the cached Qt for Windows
#
# Every stage leaves a stamp, so a run that was cut (a closed terminal, a time limit) picks up
# where it stopped when started again, and a run with everything in place takes seconds.
# Heavy stages run under `nice -n 19`; run the whole script in the background for the first time:
#   nohup scripts/windows/build.sh > windows-build.log 2>&1 &
#
# Environment:
#   ZORV_WINDOWS_CACHE  the cache folder (default: cache/zorv-windows beside the clone's folder)
#   ZORV_WINDOWS_BUILD  the project's build folder (default: build/windows in the tree)
#   ZORV_JOBS           parallel compile jobs (default: the number of cores)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=project.sh
source "$here/project.sh"

what="${1:-all}"
case "$what" in
  all|qt) ;;
  *) echo "usage: $0 [all|qt]" >&2; exit 2 ;;
esac

zw_lock_cache
zw_install_packages
zw_build_qt
if [ "$what" = qt ]; then
  echo "Qt for Windows is ready: $ZW_QT"
  exit 0
fi
zw_build_gtest
# The programs and the setup program before the tests: a run that is cut still leaves them.
zw_build_project zorvtrim zorvtrim-cli
zw_make_setup
zw_build_project
echo "Setup program: $ZW_SETUP"
