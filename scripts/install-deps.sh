#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Safe to run again and again; runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential
  cmake
  make
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  libeigen3-dev
  libsuitesparse-dev
  libarpack2-dev
  pkg-config
  libopenblas-dev
  libopenblas0-pthread
  nlohmann-json3-dev
  libcli11-dev
  clang
  libclang-rt-14-dev
  clang-format
  lcov
  librsvg2-bin
  libxml2-utils
  libstb-dev
  libjs-three
  chromium
  qt6-base-dev
  xvfb
  xauth
  fonts-nanum
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$package")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: missing packages ${missing[*]} and no way to become root" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
