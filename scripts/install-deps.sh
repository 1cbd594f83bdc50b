#!/usr/bin/env bash
# Installs what Papyra needs to build, run and test on Debian 12. Safe to run again.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PKGS=(cmake ninja-build g++ pkg-config
      qt6-base-dev qt6-svg-dev libqt6svg6-dev libgl-dev
      libzint-dev libqpdf-dev libpodofo-dev libgtest-dev libgmock-dev libbenchmark-dev
      fonts-liberation fonts-dejavu-core fonts-urw-base35 fonts-wine
      xvfb xauth poppler-utils python3-reportlab chromium
      cups cups-bsd printer-driver-cups-pdf
      desktop-file-utils appstream shared-mime-info dpkg-dev file xdotool
      clang libclang-rt-14-dev)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep "install ok installed" >/dev/null || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
