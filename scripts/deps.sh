#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run script need.
# Runs `apt-get update` at most once, and only when something is missing. stress-ng loads the
# machine for the busy-laptop checks; ccache keeps test.sh's repeated builds of three trees short.
zorv_install_deps() {
  local wanted=(cmake g++ make libgtest-dev qt6-base-dev qt6-serialport-dev libgl-dev
                fonts-liberation fonts-dejavu-core poppler-utils binutils qt6-svg-dev qt6-qpa-plugins
                dpkg-dev file desktop-file-utils libqt6sql6-sqlite sqlite3
                libqt6sql6-psql postgresql stress-ng ccache "$@")
  local missing=()
  local pkg
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
