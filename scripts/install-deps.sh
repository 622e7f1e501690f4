#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmark need. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-l10n-tools qt6-qpa-plugins libqt6svg6 qt6-multimedia-dev
  libtag1-dev zlib1g-dev libicu-dev
  clang libclang-rt-14-dev
  ffmpeg python3-mutagen
  xvfb imagemagick xdotool dbus-daemon
  desktop-file-utils appstream
  dosfstools
  man-db bash-completion zsh
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
