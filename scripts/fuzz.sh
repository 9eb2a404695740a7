#!/usr/bin/env bash
# Runs the fuzz targets of a build tree configured with -DKELTRO_FUZZ=ON (clang):
#
#   scripts/fuzz.sh BUILD_DIR short             each target for 20 seconds (CI)
#   scripts/fuzz.sh BUILD_DIR long [SECONDS]    each target for SECONDS (3600 unless told)
#
# Each target keeps its corpus in BUILD_DIR/fuzz-corpus/TARGET, so a long run goes on from
# where the last one stopped; the automation target starts from the walkthroughs in
# scripts/examples. A crash, a leak or an undefined behaviour stops the run with a
# non-zero status and leaves its input as BUILD_DIR/fuzz-crash-TARGET-*.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

BUILD="${1:?usage: scripts/fuzz.sh BUILD_DIR short|long [SECONDS]}"
case "${2:-short}" in
  short) SECONDS_EACH=20 ;;
  long) SECONDS_EACH="${3:-3600}" ;;
  *) echo "usage: scripts/fuzz.sh BUILD_DIR short|long [SECONDS]" >&2; exit 2 ;;
esac

for target in DateParserFuzz AmountParserFuzz LookupColumnsFuzz AutomationScriptFuzz; do
  corpus="$BUILD/fuzz-corpus/$target"
  mkdir -p "$corpus"
  if [ "$target" = AutomationScriptFuzz ] && [ -z "$(ls -A "$corpus")" ]; then
    cp "$KELTRO_ROOT"/scripts/examples/*.jsonl "$corpus"/
  fi
  echo "Fuzzing $target for ${SECONDS_EACH}s"
  "$BUILD/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$BUILD/fuzz-crash-$target-" \
    "$corpus" 2>"$BUILD/fuzz-$target.log" || { tail -n 60 "$BUILD/fuzz-$target.log" >&2; exit 1; }
  grep -E '^stat::number_of_executed_units' "$BUILD/fuzz-$target.log" || true
done
