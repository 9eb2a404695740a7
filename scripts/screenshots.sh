#!/usr/bin/env bash
# Pictures of the desktop program for the documentation. Builds keltro-host when needed,
# enters a three-line invoice, a debit note and a receipt left unapplied into a fresh demo
# company (scripts/examples/screenshot-invoice.jsonl, through `keltro-ar automate`), runs
# keltro-host on a virtual X display over it (with a component manifest of its own, so the
# user's is left alone) and saves the main window, the invoice screen, its tax details
# window, the invoice's printout and the receipt screen applying a check to the invoice
# and the debit note:
#
#   ./scripts/screenshots.sh [DIR]      (default: docs/screenshots)
#
# gives DIR/main-window.png, DIR/invoice.png, DIR/invoice-tax-details.png, DIR/receipt.png
# and, when poppler-utils' pdftoppm is installed, DIR/invoice-printout.png. KELTRO_SCREENSHOT_TODAY fixes the day the demo
# company is built around (default 2026-01-15), so the pictures stay the same.
# KELTRO_BUILD_DIR names a build folder to take the programs from (built as it is
# configured) instead of build-release/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

BUILD="${KELTRO_BUILD_DIR:-$KELTRO_ROOT/build-release}"
OUT="${1:-$KELTRO_ROOT/docs/screenshots}"
TODAY="${KELTRO_SCREENSHOT_TODAY:-2026-01-15}"

ensure_packages
if [[ -n "${KELTRO_BUILD_DIR:-}" && -f "$BUILD/CMakeCache.txt" ]]; then
  # A build folder of one's own is brought up to date as it is configured.
  cmake --build "$BUILD" --parallel "$(nproc)" >/dev/null
else
  build_project "$BUILD" Release -DKELTRO_BUILD_TESTS=OFF >/dev/null
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
chmod 700 "$WORK"
"$BUILD/keltro-ar" init --db "sqlite:$WORK/demo.sqlite" --demo --today "$TODAY" >/dev/null
"$BUILD/keltro-ar" automate --db "sqlite:$WORK/demo.sqlite" --today "$TODAY" \
  "$KELTRO_ROOT/scripts/examples/screenshot-invoice.jsonl" >/dev/null

mkdir -p "$OUT"
# The printout goes to the work folder's "User report", not beside the program.
KELTRO_COMPONENT_MANIFEST="$WORK/components.ini" XDG_RUNTIME_DIR="$WORK" \
  timeout 120 xvfb-run -a -s "-screen 0 1600x1200x24" \
  "$BUILD/keltro-host" --db "sqlite:$WORK/demo.sqlite" --today "$TODAY" --path "$WORK" \
  --screenshots "$OUT"

mv "$OUT/invoice-printout.pdf" "$WORK/invoice-printout.pdf"
if command -v pdftoppm >/dev/null; then
  pdftoppm -png -r 60 -singlefile "$WORK/invoice-printout.pdf" "$OUT/invoice-printout"
  echo "Saved $OUT/invoice-printout.png"
else
  echo "pdftoppm not found (Debian package poppler-utils): $OUT/invoice-printout.png not made"
fi
