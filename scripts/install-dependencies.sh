#!/usr/bin/env bash
# Installs what building and testing Mesra needs on Debian (12 or later): the compiler
# and CMake, GoogleTest and Google Benchmark, the emulated host's libraries, clang-format,
# an SVG renderer that tests open written files with, MinGW-w64 for the Windows build of
# the plug-in, and clang with its sanitizer and fuzzer runtimes for the fuzz targets.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libpugixml-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
    librsvg2-dev libcairo2-dev
    clang-format librsvg2-bin
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    clang libclang-rt-dev
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
