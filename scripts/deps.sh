#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when some are missing.
set -euo pipefail

# clang and its runtime libraries (libFuzzer and the sanitizers) build the fuzz targets (scripts/fuzz.sh).
# espeak-ng is the local voice the speech tests synthesise with. FreeType, libpng and the DejaVu fonts
# draw simhost's screen pictures (never linked into the plug-in).
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libcurl4-openssl-dev libopenal-dev libopenal1 libssl-dev openssl ca-certificates
          clang libclang-rt-dev espeak-ng libfreetype-dev libpng-dev fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
