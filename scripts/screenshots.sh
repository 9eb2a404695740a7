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
# and, when poppler-utils' pdftoppm is installed, DIR/invoice-printout.png and
# DIR/aging-report.png (the first page of the aging report's PDF, in the demo
# administrator's page format, over the documents of the example walkthroughs).
# KELTRO_SCREENSHOT_TODAY fixes the day the demo company is
# built around (default 2026-01-15), so the pictures stay the same.
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
# The aging report over the documents the example walkthroughs enter into a fresh demo
# company (KELTRO_AGING_TODAY, default 2026-12-06, the day they are written for).
AGING_TODAY="${KELTRO_AGING_TODAY:-2026-12-06}"
"$BUILD/keltro-ar" init --db "sqlite:$WORK/aging.sqlite" --demo --today "$AGING_TODAY" >/dev/null
for example in invoice receipt recurring prepayment-matching revalue; do
  "$BUILD/keltro-ar" automate --db "sqlite:$WORK/aging.sqlite" --today "$AGING_TODAY" \
    "$KELTRO_ROOT/scripts/examples/$example-walkthrough.jsonl" >/dev/null
done
"$BUILD/keltro-ar" report aging --db "sqlite:$WORK/aging.sqlite" --today "$AGING_TODAY" \
  --pdf "$WORK/aging-report.pdf" >/dev/null
if command -v pdftoppm >/dev/null; then
  pdftoppm -png -r 60 -singlefile "$WORK/invoice-printout.pdf" "$OUT/invoice-printout"
  echo "Saved $OUT/invoice-printout.png"
  pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$WORK/aging-report.pdf" "$OUT/aging-report"
  echo "Saved $OUT/aging-report.png"
else
  echo "pdftoppm not found (Debian package poppler-utils): $OUT/invoice-printout.png and" \
    "$OUT/aging-report.png not made"
fi
