#!/usr/bin/env bash
# Builds with the tests and runs the whole suite: the logic tests once, every database
# test on SQLite and again on a throwaway PostgreSQL server started here (its own data
# folder, loopback only, a free port) and stopped at the end. Exits non-zero on any
# failure. KELTRO_BUILD_TYPE and KELTRO_CMAKE_OPTIONS change the build (CI's sanitizer
# tree).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

BUILD="${KELTRO_BUILD_DIR:-$KELTRO_ROOT/build}"
ensure_packages
# shellcheck disable=SC2086 # the options are words
build_project "$BUILD" "${KELTRO_BUILD_TYPE:-RelWithDebInfo}" -DKELTRO_BUILD_TESTS=ON -DKELTRO_WERROR=ON \
  ${KELTRO_CMAKE_OPTIONS:-}

source "$KELTRO_ROOT/scripts/lib/postgres.sh"
start_test_postgres "$BUILD/pgtest"
trap stop_test_postgres EXIT

export KELTRO_TEST_PG_URL="$PG_TEST_URL"
echo "Database tests run on SQLite and on PostgreSQL $PG_TEST_VERSION at $PG_TEST_URL"
cd "$BUILD"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
