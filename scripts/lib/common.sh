# Shared by the project's scripts: the Debian packages the project needs, installed
# when missing, and the build.

KELTRO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

KELTRO_PACKAGES=(build-essential cmake ninja-build pkg-config libsqlite3-dev sqlite3 libpq-dev
                 postgresql qt6-base-dev libgtest-dev libgmock-dev xvfb xauth poppler-utils clang)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages that are not installed yet (apt-get update first, once).
ensure_packages() {
  local missing=()
  local p
  for p in "${KELTRO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# build_project DIR BUILD_TYPE [cmake options…]
build_project() {
  local dir="$1" type="$2"
  shift 2
  cmake -S "$KELTRO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}
