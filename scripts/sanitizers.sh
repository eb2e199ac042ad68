#!/usr/bin/env bash
# Builds the tests with AddressSanitizer + UndefinedBehaviorSanitizer and
# with ThreadSanitizer (clang) and runs them. Needs clang and
# libclang-rt-14-dev besides what scripts/install-deps.sh installs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
export QT_QPA_PLATFORM=offscreen

CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build build-asan -j2 --target kinmap_core_tests kinmap_gui_tests
build-asan/tests/kinmap_core_tests --gtest_brief=1
build-asan/tests/kinmap_gui_tests -silent

CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=thread -g" >/dev/null
cmake --build build-tsan -j2 --target kinmap_core_tests kinmap_gui_tests
export TSAN_OPTIONS="halt_on_error=1 suppressions=$top/tests/tsan.supp"
build-tsan/tests/kinmap_core_tests --gtest_brief=1
build-tsan/tests/kinmap_gui_tests -silent
echo "sanitizers: clean"
