#!/usr/bin/env bash
# Installs the build tree into a temporary prefix, moves the prefix elsewhere
# (the installed tree must not depend on where it was put), and uses it as
# another project would: a CMake project with find_package, C and C++ programs
# built with pkg-config, the calculator and its manual page. Then makes the
# .deb and .tar.gz with cpack and reads them back.
#   test_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
export LC_ALL=C
tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarq-install.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fails=0
fail() { echo "FAIL: $*" >&2; fails=$((fails + 1)); }
expect_eq() { [ "$1" = "$2" ] || fail "$3: got '$1', expected '$2'"; }

cmake --install "$build" --prefix "$tmp/first" >/dev/null
mv "$tmp/first" "$tmp/prefix"
P=$tmp/prefix
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
major=${version%%.*}

echo "== installed files"
for f in include/tarq.h include/tarq.hpp lib/libtarq.a "lib/libtarq.so.$version" lib/pkgconfig/tarq.pc \
         lib/cmake/tarq/tarqConfig.cmake lib/cmake/tarq/tarqConfigVersion.cmake bin/tarq share/man/man1/tarq.1; do
    [ -f "$P/$f" ] || fail "missing $f"
done
expect_eq "$(readlink "$P/lib/libtarq.so")" "libtarq.so.$major" "libtarq.so link"
expect_eq "$(readlink "$P/lib/libtarq.so.$major")" "libtarq.so.$version" "libtarq.so.$major link"
soname=$(readelf -d "$P/lib/libtarq.so.$version" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
expect_eq "$soname" "libtarq.so.$major" "soname"
# Only the library's exports are visible in the shared library.
others=$(nm -D --defined-only "$P/lib/libtarq.so" | awk '{print $3}' | grep -Ev '^(TQ_|SHA256_)' || true)
[ -z "$others" ] || fail "names exported beyond TQ_* and SHA256_*: $(echo "$others" | head -5 | tr '\n' ' ')"
[ "$(nm -D --defined-only "$P/lib/libtarq.so" | grep -c ' T TQ_')" -ge 80 ] || fail "the TQ_ exports are missing"
# No file may name the build or source tree, nor the prefix it was first
# installed in. Builds with debug information name their sources there, so
# for them only the text files and the binaries' run paths are read.
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
text_only=-I
case "$build_type" in Release|MinSizeRel) text_only=-a ;; esac
for path in "$build" "$src" "$tmp/first"; do
    hits=$(grep -rl "$text_only" -F "$path" "$P" || true)
    [ -z "$hits" ] || fail "installed files name $path: $hits"
done
for f in "$P/bin/tarq" "$P/lib/libtarq.so.$version"; do
    runpath=$(readelf -d "$f" | grep -E 'RPATH|RUNPATH' || true)
    case "$runpath" in *"$build"*|*"$src"*|*"$tmp"*) fail "$f has the run path $runpath" ;; esac
done

echo "== CMake consumer (find_package)"
expected=$(printf ' 1.41421356237309504880168872420969807857\n 1267650600228229401496703205376')
cmake -S "$src/tests/install/consumer" -B "$tmp/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$P" >"$tmp/cmake.log" 2>&1 \
    && cmake --build "$tmp/consumer" >>"$tmp/cmake.log" 2>&1 || { cat "$tmp/cmake.log"; fail "CMake consumer build"; }
expect_eq "$(LD_LIBRARY_PATH=$P/lib "$tmp/consumer/use_shared")" "$expected" "find_package, shared"
expect_eq "$("$tmp/consumer/use_static")" "$expected" "find_package, static"
if grep -q libtarq <<<"$(readelf -d "$tmp/consumer/use_static")"; then fail "the static consumer needs libtarq.so"; fi

echo "== pkg-config consumers"
export PKG_CONFIG_PATH=$P/lib/pkgconfig
expect_eq "$(pkg-config --modversion tarq)" "$version" "pkg-config version"
# shellcheck disable=SC2046
cc -o "$tmp/pc_c" "$src/tests/install/consumer/use_tarq.c" $(pkg-config --cflags --libs tarq) || fail "pkg-config C build"
# shellcheck disable=SC2046
c++ -std=c++17 -o "$tmp/pc_cpp" "$src/tests/install/consumer/use_tarq.cpp" $(pkg-config --cflags --libs tarq) \
    || fail "pkg-config C++ build"
# The static library with only what pkg-config --static adds to it.
libdir=$(pkg-config --variable=libdir tarq)
# shellcheck disable=SC2046
cc -o "$tmp/pc_static" "$src/tests/install/consumer/use_tarq.c" $(pkg-config --cflags tarq) "$libdir/libtarq.a" \
    $(pkg-config --static --libs-only-l tarq | sed 's/-ltarq//') || fail "pkg-config static build"
expect_eq "$(LD_LIBRARY_PATH=$libdir "$tmp/pc_c")" "$expected" "pkg-config, C"
expect_eq "$(LD_LIBRARY_PATH=$libdir "$tmp/pc_cpp")" "$expected" "pkg-config, C++"
expect_eq "$("$tmp/pc_static")" "$expected" "pkg-config, static"

echo "== calculator and manual page"
expect_eq "$("$P/bin/tarq" --version)" "tarq $version" "tarq --version"
expect_eq "$("$P/bin/tarq" --no-cache -k int '2^100')" "1267650600228229401496703205376" "installed calculator"
page=$(MANWIDTH=120 man -l "$P/share/man/man1/tarq.1" 2>&1) || fail "man -l: $page"
grep -q "tarq $version" <<<"$page" || fail "the manual page does not carry version $version"
# Every option, function and constant in --help is in the manual page, and back.
help=$("$P/bin/tarq" --help)
words() { grep -oE -- '(^| )--?[a-z][a-z-]*' | tr -d ' ' | sort -u; }
opts_help=$(sed -n '/^options:/,/^$/p' <<<"$help" | words)
opts_man=$(sed -n '/^OPTIONS/,/^[A-Z]/p' <<<"$page" | words)
expect_eq "$opts_man" "$opts_help" "options in the manual page against --help"
names() { tr -s ' ,;.:\n' '\n' | grep -E '^[a-z][a-z0-9]*$' | sort -u; }
fn_help=$(tr '\n' ' ' <<<"$help" | sed 's/.*functions \(.*\); constants \(.*\)\./\1 \2/' | names)
fn_man=$(tr '\n' ' ' <<<"$page" | sed 's/.*Functions: \(.*\)\. *Constants: \([a-z0-9 ]*\)\..*/\1 \2/' | names)
expect_eq "$fn_man" "$fn_help" "functions and constants in the manual page against --help"

echo "== cpack"
(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1) \
    || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(ls "$tmp"/pkg/*.deb 2>/dev/null | head -1)
tgz=$(ls "$tmp"/pkg/*.tar.gz 2>/dev/null | head -1)
if [ -n "$deb" ]; then
    info=$(dpkg-deb -I "$deb")
    expect_eq "$(dpkg-deb -f "$deb" Package)" "tarq" "deb package name"
    expect_eq "$(dpkg-deb -f "$deb" Version)" "$version" "deb version"
    depends=$(dpkg-deb -f "$deb" Depends)
    for d in libc6 libstdc++6 libgcc-s1 libedit2; do
        grep -q "$d" <<<"$depends" || fail "deb Depends lacks $d: $depends"
    done
    grep -q 'libtarq' <<<"$depends" && fail "deb depends on itself: $depends"
    contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
    for f in ./usr/include/tarq.h ./usr/include/tarq.hpp "./usr/lib/libtarq.so.$version" ./usr/lib/libtarq.a \
             ./usr/lib/pkgconfig/tarq.pc ./usr/lib/cmake/tarq/tarqConfig.cmake ./usr/bin/tarq ./usr/share/man/man1/tarq.1; do
        grep -qxF "$f" <<<"$contents" || fail "deb lacks $f"
    done
    grep -q 'shlibs' <<<"$info" || fail "deb has no shlibs file"
    echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
else
    fail "cpack made no .deb"
fi
if [ -n "$tgz" ]; then
    listing=$(tar -tzf "$tgz")
    grep -q "/lib/libtarq.so.$version$" <<<"$listing" || fail "tar.gz lacks the shared library"
    grep -q "/bin/tarq$" <<<"$listing" || fail "tar.gz lacks the calculator"
    echo "$(basename "$tgz"): $(stat -c %s "$tgz") bytes"
else
    fail "cpack made no .tar.gz"
fi

[ "$fails" -eq 0 ] || { echo "$fails failed" >&2; exit 1; }
echo "install checks passed"
