#!/usr/bin/env bash
# package-test.sh PRESET — the installed package as another project meets it:
# installs build/PRESET into a fresh prefix, checks that its headers stand
# alone under include/plimo/ and stay free of <windows.h>, builds the gallery
# as an outside project against it (find_package, with the toolchain file the
# package carries) and checks that the program needs no DLL beyond the
# system's. Then the requests the package must refuse, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=$1
build=build/$preset
work=$(pwd)/$build/package-test
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "package-test: $preset: $*" >&2; exit 1; }

package=$prefix/lib/cmake/Plimo
toolchain=$(ls "$package"/mingw-*.cmake)
cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER \(.*\))$/\1/p' "$toolchain")
case $preset in
  win64) other=cmake/mingw-i686.cmake objdump=x86_64-w64-mingw32-objdump ;;
  win32) other=cmake/mingw-x86_64.cmake objdump=i686-w64-mingw32-objdump ;;
esac

# Only the public headers, each one compiling on its own without <windows.h>.
[ "$(cd "$prefix/include" && echo *)" = plimo ] || fail "include/ holds $(cd "$prefix/include" && echo *)"
headers=$(cd "$prefix/include/plimo" && echo *)
[ "$headers" = "BiosIO.h Graph.h IO.h Lib.h M3K.h bgi" ] || fail "installed headers are: $headers"
for h in ${headers% bgi}; do
  echo "#include <plimo/$h>" | "$cxx" -std=c++17 -fsyntax-only -x c++ -I"$prefix/include" \
    -MD -MF "$work/$h.d" -MT "$h" - -o /dev/null
  if grep -qi 'windows\.h' "$work/$h.d"; then fail "$h includes <windows.h>"; fi
done

cmake -S examples/gallery -B "$work/gallery" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/gallery" >/dev/null
# Linked statically by the package's targets alone (the gallery asks for nothing).
dlls=$("$objdump" -p "$work/gallery/gallery.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
if echo "$dlls" | grep -Eq 'libstdc|libgcc|libwinpthread'; then fail "gallery.exe needs $(echo $dlls)"; fi
echo "package-test: $preset: gallery built against the installed package: $work/gallery/gallery.exe"

# The BGI: <graphics.h> alone on its include path (no bare IO.h beside it),
# quiet as C99 and C++11 with every warning, and the examples built the three
# ways docs/bgi.md gives: CMake, pkg-config, and the plain command line.
bgi=$prefix/include/plimo/bgi
[ "$(cd "$bgi" && echo *)" = "alloc.h graphics.h winbgim.h" ] || fail "include/plimo/bgi holds $(cd "$bgi" && echo *)"
cc=${cxx/g++/gcc}
for h in alloc.h graphics.h winbgim.h; do
  echo "#include <$h>" | "$cc" -std=c99 -Wall -Wextra -Werror -fsyntax-only -x c -I"$bgi" - ||
    fail "<$h> is not quiet as C99"
  echo "#include <$h>" | "$cxx" -std=c++11 -Wall -Wextra -Werror -fsyntax-only -x c++ -I"$bgi" - ||
    fail "<$h> is not quiet as C++11"
done
if echo "#include <IO.h>" | "$cc" -fsyntax-only -x c -I"$bgi" - 2>/dev/null; then fail "IO.h is on the BGI's include path"; fi
cmake -S examples/bgi -B "$work/bgi" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/bgi" >/dev/null
pc=$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig pkg-config --cflags --libs plimo-bgi)
mkdir -p "$work/bgi-pc" "$work/bgi-plain"
# shellcheck disable=SC2086 # the flags are words
"$cc" -std=c99 -Wall -Wextra -Werror examples/bgi/poster.c -o "$work/bgi-pc/poster.exe" $pc
# shellcheck disable=SC2086
"$cxx" -std=c++11 -Wall -Wextra -Werror examples/bgi/bounce.cpp -o "$work/bgi-pc/bounce.exe" $pc
# What docs/bgi.md gives to paste into Code::Blocks or Dev-C++.
plain=(-I"$bgi" -L"$prefix/lib" -static -Wl,--start-group -lplimo_bgi -lplimo_bgi_logic -lplimo_graph
  -lplimo_graph_logic -lplimo_console -lplimo_console_logic -lplimo_frame -lplimo_frame_logic -Wl,--end-group
  -lgdi32 -luser32 -lole32 -lwindowscodecs -luuid -lstdc++ -lwinpthread)
"$cc" examples/bgi/keys.c -o "$work/bgi-plain/keys.exe" "${plain[@]}"
"$cxx" examples/bgi/bounce.cpp -o "$work/bgi-plain/bounce.exe" "${plain[@]}"
for exe in "$work"/bgi/*.exe "$work"/bgi-pc/*.exe "$work"/bgi-plain/*.exe; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  if echo "$dlls" | grep -Eq 'libstdc|libgcc|libwinpthread'; then fail "$exe needs $(echo $dlls)"; fi
  if "$objdump" -p "$exe" | grep -qiE '^\s+[0-9a-f]+\s+[0-9]+\s+_?getch$'; then fail "$exe takes getch from the C runtime"; fi
done
echo "package-test: $preset: the BGI examples built by CMake, pkg-config and the plain command line: $work/bgi*"

# find_package(Plimo ARGS) in a project of its own: whether it is accepted,
# and what the refusal says.
request() { # NAME TOOLCHAIN('' for the host's compiler) EXPECT(ok|refused) WORDS ARGS...
  local name=$1 chain=$2 expect=$3 words=$4; shift 4
  local dir=$work/request-$name
  mkdir -p "$dir"
  printf 'cmake_minimum_required(VERSION 3.25)\nproject(request CXX)\nfind_package(Plimo %s CONFIG REQUIRED)\n' "$*" \
    >"$dir/CMakeLists.txt"
  local args=(-S "$dir" -B "$dir/build" -DCMAKE_PREFIX_PATH="$prefix")
  [ -n "$chain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$chain")
  local got=ok
  cmake "${args[@]}" >"$dir/log" 2>&1 || got=refused
  [ "$got" = "$expect" ] || fail "find_package(Plimo $*) $got; expected $expect (log: $dir/log)"
  [ -z "$words" ] || tr -s ' \n' ' ' <"$dir/log" | grep -qF "$words" ||
    fail "find_package(Plimo $*) did not say \"$words\" (log: $dir/log)"
}
request version "$toolchain" ok "" 2.0 COMPONENTS graph console frame
request bgi "$toolchain" ok "" 2.0 COMPONENTS bgi
request old-version "$toolchain" refused "version: 2.0.0" 1.0
request bogus-component "$toolchain" refused "Plimo has no component bogus" 2.0 COMPONENTS graph bogus
request other-architecture "$(pwd)/$other" refused "this project builds for Windows" 2.0
request not-windows "" refused "this project builds for Linux" 2.0
echo "package-test: $preset: the version request, a bogus component, the other architecture and a native project each refused with a reason"
