#!/usr/bin/env bash
# Cross-builds the engine, sumtra-cli and the engine tests for 64-bit Windows
# with MinGW-w64 in build-win/, runs the tests under Wine, and checks that the
# Windows sumtra-cli prints every golden program (tests/programs/) byte for
# byte as its "// expect: " lines say, which is what the Linux build prints.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --engine-only --windows

build=build-win
# GoogleTest for Windows, built once from Debian's sources.
gtest="$PWD/$build/googletest"
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest-build" --toolchain "$PWD/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
  cmake --build "$build/googletest-build" -j"$(nproc)" >/dev/null
  cmake --install "$build/googletest-build" >/dev/null
fi
cmake -S . -B "$build" --toolchain "$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUMTRA_ENGINE_ONLY=ON -DGTest_DIR="$gtest/lib/cmake/GTest"
cmake --build "$build" -j"$(nproc)"

# A prefix of the build's own. Wine's server and services start before ctest:
# started by a test, they would keep ctest's output pipe open and it would hang.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# The server starts first and stays (-p) until wineserver -k, so each run of the
# runner below does not start one anew; it needs the prefix folder to exist, and
# one left running by an interrupted run answers 2.
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 || true
wineboot --init >/dev/null 2>&1
wine wineboot >/dev/null 2>&1

# The engine tests; the accuracy check and the manual pages are Linux's.
(cd "$build" && ctest --output-on-failure -j"$(nproc)" -E '^(AccuracyCheck|ManPage)')

# Each program through the Windows runner, with the file's own format and precision.
failed=0
for program in tests/programs/*.txt; do
  args=(-p "$(sed -n 's|^// precision: ||p' "$program" | head -n1)")
  [ "${args[1]}" ] || args=(-p 5)
  format=$(sed -n 's|^// format: ||p' "$program" | head -n1)
  [ "$format" ] && args+=(-f "$format")
  expected=$(sed -n 's|.*// expect: ||p' "$program"; echo .)
  actual=$(wine "$build/bin/sumtra-cli.exe" "${args[@]}" "$program" 2>&1; echo .) || true
  if [ "$actual" != "$expected" ]; then
    echo "Differs from the golden lines: $program"
    diff <(echo "$expected") <(echo "$actual") | head -n 20 || true
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "Every golden program prints the same under Wine."
exit "$failed"
