#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests, the benchmarks and the fuzz targets need, and
# only those that are missing: when everything is installed it calls nothing and needs no root.
set -euo pipefail
packages=(cmake make g++ clang pkg-config ccache qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
          qt6-svg-dev libqt6svg6 libgl-dev libgtest-dev libgmock-dev libbenchmark-dev libmodbus-dev
          libcurl4-openssl-dev xvfb openbox wmctrl xdotool)
if ! command -v dpkg-query >/dev/null; then
    echo "This is no Debian system: install these packages or their equivalents: ${packages[*]}" >&2
    exit 1
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "Neither root nor sudo: as root, run" >&2
    echo "    apt-get update && apt-get install ${missing[*]}" >&2
    exit 1
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
