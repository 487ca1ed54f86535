#!/usr/bin/env bash
# Installs what building, playing and testing Sowrow needs, from Debian 12.
set -euo pipefail

packages=(
  # build (clang with its sanitizer and fuzzer runtimes, which it only recommends)
  build-essential cmake pkg-config clang libclang-rt-14-dev
  libsfml-dev libopenal-dev freeglut3-dev libgl-dev libglu1-mesa-dev libsdl2-dev libpng-dev
  # asking the home router to forward the game's port
  libminiupnpc-dev libminiupnpc17 libnatpmp-dev libnatpmp1
  googletest libgtest-dev libbenchmark-dev
  # running without a desktop: X server, input, pixels, software OpenGL
  xvfb xauth xdotool x11-utils xfonts-base libgl1-mesa-dri python3 python3-xlib python3-pil
  # window managers that maximize and move the focus, as players' desktops do:
  # openbox on X, and weston (headless) running X programs through Xwayland
  openbox weston xwayland
  # the network tests: private network namespaces, a loopback that drops everything
  iproute2 nftables
  # packaging and its checks (devscripts for hardening-check)
  dpkg-dev lintian devscripts appstream man-db
  # the asset scripts
  python3-numpy vorbis-tools fonts-dejavu-core fonts-dejavu-extra
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
