#!/usr/bin/env bash
# Installs what the product needs, builds it in Release, creates the demo database on
# first run (kept between runs) and starts the product: the desktop program (keltro-host)
# when there is a display ($DISPLAY or $WAYLAND_DISPLAY), else a short headless run of the
# screens (scripts/demo.jsonl through `keltro-ar automate`) whose events it prints.
#
#   ./scripts/run.sh [--db URL]      (default: sqlite:~/.local/share/keltro-ar/demo.sqlite)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

DEMO_FILE="${XDG_DATA_HOME:-$HOME/.local/share}/keltro-ar/demo.sqlite"
DB_URL="sqlite:$DEMO_FILE"
if [ "${1:-}" = "--db" ] && [ -n "${2:-}" ]; then DB_URL="$2"; fi

BUILD="${KELTRO_BUILD_DIR:-$KELTRO_ROOT/build-release}"
ensure_packages
build_project "$BUILD" Release -DKELTRO_BUILD_TESTS=OFF >/dev/null

KELTRO_AR="$BUILD/keltro-ar"
if [ "$DB_URL" = "sqlite:$DEMO_FILE" ] && [ ! -s "$DEMO_FILE" ]; then
  mkdir -p "$(dirname "$DEMO_FILE")"
  "$KELTRO_AR" init --db "$DB_URL" --demo
else
  "$KELTRO_AR" info --db "$DB_URL"
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BUILD/keltro-host" --db "$DB_URL"
fi
echo "No display: a short headless run of the A/R screens (scripts/demo.jsonl)"
"$KELTRO_AR" automate --db "$DB_URL" "$KELTRO_ROOT/scripts/demo.jsonl"
