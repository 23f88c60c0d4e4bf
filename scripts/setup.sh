#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those that are missing.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
          xvfb xauth xdotool libgl-dev clang clang-format clang-tidy libclang-rt-14-dev
          python3 desktop-file-utils appstream dpkg-dev libhamlib-utils python3-hamlib
          dbus at-spi2-core python3-pyatspi ser2net)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
