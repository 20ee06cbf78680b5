#!/usr/bin/env bash
# Builds the plug-in for release and packs it as X-Plane users install it: an archive holding the folder
# Vellomir64/ with lin_x64/Vellomir64.xpl and the data files, the same layout as `cmake --install`.
# Usage: scripts/release.sh [output folder]   (default: dist/). Prints the archive's path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/dist}"
build="$root/build-release"
version="$(sed -n 's/^#define VELLOMIR_VERSION "\(.*\)"/\1/p' "$root/src/plugin/Version.h")"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLOMIR_TESTS=OFF -DVELLOMIR_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target Vellomir64

staging="$(mktemp -d)"
trap 'rm -rf "$staging"' EXIT
mkdir -p "$staging/Resources/plugins"
cmake --install "$build" --prefix "$staging" --strip >/dev/null
binary="$staging/Resources/plugins/Vellomir64/lin_x64/Vellomir64.xpl"

# What the binary asks of the system it loads on: no speech library, nothing newer than glibc 2.31.
if readelf -d "$binary" | grep -E 'NEEDED.*(libcurl|libopenal|libstdc\+\+|libgcc_s)'; then
  echo "release: the binary needs a library it must open at run time or carry" >&2
  exit 1
fi
newest="$(objdump -T "$binary" | grep -o 'GLIBC_[0-9][0-9.]*' | sort -uV | tail -1)"
if [ "$(printf '%s\nGLIBC_2.31\n' "$newest" | sort -V | tail -1)" != "GLIBC_2.31" ]; then
  echo "release: the binary needs $newest, newer than glibc 2.31" >&2
  exit 1
fi

mkdir -p "$out"
archive="$out/Vellomir64-$version-lin_x64.zip"
rm -f "$archive"
(cd "$staging/Resources/plugins" && zip -qr "$archive" Vellomir64)
echo "$archive (newest glibc symbol: $newest)"
