#!/usr/bin/env bash
# Installs what building and testing Mesra needs on Debian (12 or later): the compiler
# and CMake, GoogleTest and Google Benchmark, the emulated host's libraries, clang-format,
# an SVG renderer that tests open written files with, MinGW-w64 for the Windows builds (the
# 32-bit and 64-bit plug-in, the 64-bit host with zlib, and Debian's source packages of
# pugixml and FreeType, which that build compiles) and wine64 to run them, clang with its
# sanitizer and fuzzer runtimes for the fuzz targets, the web server library of
# `mesra serve`, and Chromium with Playwright (from npm, in tests/app/browser) for the
# browser tests.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libpugixml-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
    librsvg2-dev libcairo2-dev
    clang-format librsvg2-bin
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 libz-mingw-w64-dev dpkg-dev
    wine64 fontconfig
    clang libclang-rt-dev
    libcpp-httplib-dev chromium nodejs
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
if [ ${#missing[@]} -ne 0 ]; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi
# The source packages that the Windows build compiles come from the deb-src entries of the
# same Debian sources as the binary packages.
if ! apt-cache showsrc pugixml 2> /dev/null | grep -q '^Package: pugixml'; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            $sudo tee /etc/apt/sources.list.d/mesra-sources.sources > /dev/null
    elif [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
            $sudo tee /etc/apt/sources.list.d/mesra-sources.list > /dev/null
    fi
    $sudo apt-get update -qq
fi
if ! command -v npm > /dev/null; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
fi

# Playwright for the browser tests, the version package-lock.json pins.
cd "$(dirname "$0")/../tests/app/browser"
if [ ! -f node_modules/playwright-core/package.json ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
