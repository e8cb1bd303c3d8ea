#!/usr/bin/env bash
# Installs the Debian packages the build, tests and screenshots need, skipping those already present.
# Usage: scripts/install-deps.sh [--package] [--fuzz]
#   --package  also what building and checking the Debian package needs
#   --fuzz     also clang with libFuzzer and the sanitizer runtimes
set -euo pipefail
packages=(g++ cmake ninja-build make pkg-config qt6-base-dev qt6-serialport-dev libtinyxml-dev
          libqt6sql6-sqlite libxlsxwriter-dev libbenchmark-dev xvfb xauth unzip qt6-l10n-tools
          qt6-translations-l10n python3)
for option in "$@"; do
  case $option in
    --package) packages+=(dpkg-dev file fakeroot desktop-file-utils appstream qt6-qpa-plugins help2man) ;;
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
