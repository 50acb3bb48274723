#!/usr/bin/env bash
# Installs every Debian package the build, the program and its tests need. Idempotent: when all of them
# are present it only checks and returns.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang-format
  qtbase5-dev qtbase5-dev-tools libqt5opengl5-dev libqt5svg5-dev qttools5-dev-tools
  libqt5xml5 libqt5network5 libqt5dbus5
  libavcodec-dev libavformat-dev libavfilter-dev libavutil-dev libswscale-dev libswresample-dev libavdevice-dev
  ffmpeg
  libplist++-dev libplist-dev libtag1-dev libogg-dev libsdl2-dev
  libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev
  libxcb1-dev libqt5x11extras5-dev
  xvfb xauth dbus-daemon
  # tests: the whole program on a desktop (window manager, X input, window geometry, screenshots)
  openbox xdotool x11-utils imagemagick
  fonts-dejavu-core fonts-liberation2 fonts-freefont-ttf fontconfig
  # tests: libass itself, to read subtitle scripts as it does
  libass-dev
  # tests: clips made by other muxers and encoders than ffmpeg
  gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  mkvtoolnix x264 lame flac vorbis-tools opus-tools sox
  # tests: a FAT file system of a test's own (an image mounted by fusefat), as on a USB stick
  dosfstools fusefat
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
