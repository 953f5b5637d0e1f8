#!/usr/bin/env bash
# Builds the internal edition (factory test, sniffer, FTP, export and printing) with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test; then builds the standard edition and runs every test
# again there, since menus, model rows and device lines differ between the two editions, with the
# benchmarks, each run once in its short mode as a test labelled "bench".
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1

# The internal edition holds every line of code the standard one has, and more (factory test, sniffer,
# FTP listing, export, printing): it is built and tested with the sanitizers. The standard edition is then
# built without them, to show its own menus, model rows and device lines, and with the benchmarks: their
# short runs (one round at small sizes, every result checked, no time judged) keep every benchmark
# command of the README building and right. Debug information is line tables only (-g1): enough for every
# stack trace and assertion message, and quicker to compile and link than full debug information.
debug=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1)
cmake -S . -B build/internal-test "${debug[@]}" -DMELQO_INTERNAL=ON -DMELQO_SANITIZE=ON -DMELQO_TESTS=ON >/dev/null
cmake --build build/internal-test -j"$(nproc)"
ctest --test-dir build/internal-test --output-on-failure -j"$(nproc)" --timeout 300

cmake -S . -B build/test "${debug[@]}" -DMELQO_SANITIZE=OFF -DMELQO_TESTS=ON -DMELQO_BENCH=ON >/dev/null
cmake --build build/test -j"$(nproc)"
ctest --test-dir build/test --output-on-failure -j"$(nproc)" --timeout 300
