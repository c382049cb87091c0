#!/usr/bin/env bash
# Installs what is needed, builds ZeFa Oru and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target zefa-oru
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under Xvfb." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/dev/src/app/zefa-oru
fi
exec build/dev/src/app/zefa-oru
