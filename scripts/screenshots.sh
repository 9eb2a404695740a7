#!/usr/bin/env bash
# Pictures of the desktop program for the documentation. Builds keltro-host when needed,
# runs it on a virtual X display over a fresh demo company (with a component manifest of
# its own, so the user's is left alone) and saves the main window and the invoice screen:
#
#   ./scripts/screenshots.sh [DIR]      (default: docs/screenshots)
#
# gives DIR/main-window.png and DIR/invoice.png. KELTRO_SCREENSHOT_TODAY fixes the day the
# demo company is built around (default 2026-01-15), so the pictures stay the same.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

BUILD="${KELTRO_BUILD_DIR:-$KELTRO_ROOT/build-release}"
OUT="${1:-$KELTRO_ROOT/docs/screenshots}"
TODAY="${KELTRO_SCREENSHOT_TODAY:-2026-01-15}"

ensure_packages
build_project "$BUILD" Release -DKELTRO_BUILD_TESTS=OFF >/dev/null

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
chmod 700 "$WORK"
"$BUILD/keltro-ar" init --db "sqlite:$WORK/demo.sqlite" --demo --today "$TODAY" >/dev/null

mkdir -p "$OUT"
KELTRO_COMPONENT_MANIFEST="$WORK/components.ini" XDG_RUNTIME_DIR="$WORK" \
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$BUILD/keltro-host" --db "sqlite:$WORK/demo.sqlite" --today "$TODAY" --screenshots "$OUT"
