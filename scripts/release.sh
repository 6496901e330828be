#!/usr/bin/env bash
# release.sh — the release zips, build/release/plimo-<version>-win32.zip and
# plimo-<version>-win64.zip. Each holds one folder with bin/plimo.exe,
# bin/gallery.exe, the README with docs/, and the installed package: include/,
# lib/ and lib/cmake/Plimo/. Builds what is missing with the presets, once the
# win32-exact test lane has passed.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Plimo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=build/release
# No zips unless every fault path of the i686 build works as on a processor (README: the exact lane).
bash scripts/test.sh win32-exact
mkdir -p "$out"
for preset in win32 win64; do
  bash scripts/build.sh "$preset" plimo gallery
  name=plimo-$version-$preset
  rm -rf "${out:?}/$name" "$out/$name.zip"
  # --strip: the programs without their debug information; the libraries keep theirs.
  cmake --install "build/$preset" --prefix "$out/$name" --strip >/dev/null
  cp README.md "$out/$name/"
  mkdir -p "$out/$name/docs"
  cp docs/*.md docs/*.png "$out/$name/docs/"
  (cd "$out" && cmake -E tar cf "$name.zip" --format=zip "$name")
  echo "release: $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
done
