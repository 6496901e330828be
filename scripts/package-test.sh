#!/usr/bin/env bash
# package-test.sh PRESET — the installed package as another project meets it:
# installs build/PRESET into a fresh prefix, checks that its headers stand
# alone and stay free of <windows.h>, and builds the gallery as an outside
# project against it (find_package) with the same toolchain. Fails when a
# header, a target or a link dependency is missing from the package.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=$1
build=build/$preset
work=$(pwd)/$build/package-test
rm -rf "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null

toolchain=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$build/CMakeCache.txt")
cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER \(.*\))$/\1/p' "$toolchain")

# Only the public headers, each one compiling on its own without <windows.h>.
headers=$(cd "$work/prefix/include" && echo *)
[ "$headers" = "BiosIO.h Graph.h IO.h Lib.h M3K.h" ] || {
  echo "package-test: installed headers are: $headers" >&2; exit 1; }
for h in $headers; do
  echo "#include \"$h\"" | "$cxx" -std=c++17 -fsyntax-only -x c++ -I"$work/prefix/include" \
    -MD -MF "$work/$h.d" -MT "$h" - -o /dev/null
  if grep -qi 'windows\.h' "$work/$h.d"; then
    echo "package-test: $h includes <windows.h>" >&2; exit 1
  fi
done

cmake -S examples/gallery -B "$work/gallery" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/gallery" >/dev/null
echo "package-test: $preset: gallery built against the installed package: $work/gallery/gallery.exe"
