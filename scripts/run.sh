#!/usr/bin/env bash
# Builds tebo and starts it on the demo application folder (build/demo).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"
exec build/bin/tebo --appdir "$PWD/build/demo" "$@"
