#!/usr/bin/env bash
# Builds Sumtra in build/ and starts the desktop calculator; without Qt it
# starts the console runner on standard input instead. Arguments are passed on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ -x build/bin/sumtra ]; then
  exec build/bin/sumtra "$@"
fi
echo "Type a program, then Ctrl+D to evaluate it:" >&2
exec build/bin/sumtra-cli "$@"
