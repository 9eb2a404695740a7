#!/bin/sh
# The component library exports its four registration and class-factory entry points and
# nothing else of ours: no C++ symbol of the core, no stray C function.
#
#   sh tests/component/exports.sh build/libkeltro_ar_component.so
set -eu
library="$1"
expected="DllCanUnloadNow
DllGetClassObject
DllRegisterServer
DllUnregisterServer"

# The markers some linkers add to every shared library are the toolchain's, not ours.
exported=$(nm -D --defined-only "$library" | awk '{ print $NF }' |
           grep -v -x -E '_init|_fini|_edata|_end|__bss_start' | LC_ALL=C sort)

if [ "$exported" != "$expected" ]; then
  echo "$library exports:"
  echo "$exported"
  echo "but it should export exactly:"
  echo "$expected"
  exit 1
fi
echo "$library exports exactly its four entry points"
