#!/usr/bin/env bash
# Installs what building and testing Mesra needs on Debian (12 or later): the compiler
# and CMake, GoogleTest and Google Benchmark, the emulated host's libraries, clang-format,
# an SVG renderer that tests open written files with, MinGW-w64 for the Windows build of
# the plug-in, clang with its sanitizer and fuzzer runtimes for the fuzz targets, the web
# server library of `mesra serve`, and Chromium with Playwright (from npm, in tests/app/browser)
# for the browser tests.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libpugixml-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
    librsvg2-dev libcairo2-dev
    clang-format librsvg2-bin
    g++-mingw-w64-i686 binutils-mingw-w64-i686
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
if ! command -v npm > /dev/null; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
fi

# Playwright for the browser tests, the version package-lock.json pins.
cd "$(dirname "$0")/../tests/app/browser"
if [ ! -f node_modules/playwright-core/package.json ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
