#!/usr/bin/env bash
# Makes sure the packages Sumtra builds with are installed (Debian 12).
# As root it installs what is missing; otherwise it prints the apt-get line.
# Usage: scripts/deps.sh [--engine-only] [--fuzz] [--windows]
#   --engine-only  without Qt (the desktop calculator is not built)
#   --fuzz         with clang 14 and its libFuzzer and sanitizer runtimes (scripts/fuzz.sh)
#   --windows      with MinGW-w64 and Wine, to cross-build the engine for Windows
#                  and run its tests (scripts/test-windows.sh)
# The desktop packages include Xvfb, xwininfo (x11-utils), Python 3 and the
# openbox window manager (so that windows get real frames), which
# the desktop session test needs; without them CMake leaves that test out.
# python3-mpmath is the reference of the accuracy check. libedit-dev gives
# sumtra-cli its interactive session; without it the runner is built without one.
# groff-base checks that the manual pages render without a warning.
# dpkg-dev (dpkg-shlibdeps) and file let cpack make the Debian package, whose
# tests run lintian on it and, with the desktop packages, appstreamcli
# (appstream) and desktop-file-validate (desktop-file-utils) on its metadata.
set -euo pipefail

packages=(cmake g++ make libgtest-dev python3 python3-mpmath libedit-dev groff-base dpkg-dev file lintian)
engine_only=false
for arg in "$@"; do
  case "$arg" in
    --engine-only) engine_only=true ;;
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    --windows) packages+=(g++-mingw-w64-x86-64-posix wine64 wine) ;;
    *) echo "deps.sh: unknown option '$arg'" >&2; exit 2 ;;
  esac
done
$engine_only || packages+=(qt6-base-dev xvfb x11-utils python3 openbox appstream desktop-file-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get -o DPkg::Lock::Timeout=600 update -qq
  apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
