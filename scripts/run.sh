#!/usr/bin/env bash
# Builds the program (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DMELQO_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target melqo
exec build/release/src/main/melqo "$@"
