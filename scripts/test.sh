#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test; then builds
# the internal edition (factory test, sniffer, FTP, export and printing menus shown) and runs every test
# again there, since menus, model rows and device lines differ between the two editions.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DMELQO_SANITIZE=ON -DMELQO_TESTS=ON >/dev/null
cmake --build build/test -j"$(nproc)"
ctest --test-dir build/test --output-on-failure -j"$(nproc)" --timeout 300

# The internal edition's code is the same code, already checked under the sanitizers above, but for the
# FTP listing on libcurl and the printing (test_ftp_listing, test_project_print), which only this edition
# builds; this build only has to show each edition's own behaviour, so it skips them to build faster.
cmake -S . -B build/internal-test -DCMAKE_BUILD_TYPE=Debug -DMELQO_INTERNAL=ON -DMELQO_TESTS=ON >/dev/null
cmake --build build/internal-test -j"$(nproc)"
ctest --test-dir build/internal-test --output-on-failure -j"$(nproc)" --timeout 300
