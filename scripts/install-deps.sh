#!/usr/bin/env bash
# Installs what the build, the tests and the screenshots need on Debian 12.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang-format python3
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libsqlite3-dev sqlite3
  unixodbc-dev odbcinst tdsodbc libsqliteodbc
  libsodium-dev
  libasound2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core
  xdg-utils cups-client
  poppler-utils
  sqlfluff python3-vobject
  help2man lintian desktop-file-utils appstream
  qt6-translations-l10n
  radicale vdirsyncer openssl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The ODBC drivers must be known to unixODBC by name (the packages normally
# register them; this makes sure, and does nothing when they are there).
register_driver() {
  local name="$1" library="$2"
  odbcinst -q -d -n "$name" >/dev/null 2>&1 && return 0
  local path
  path="$(find /usr/lib -name "$library" 2>/dev/null | head -n 1)"
  [ -n "$path" ] || return 0
  printf '[%s]\nDescription=%s\nDriver=%s\n' "$name" "$name ODBC driver" "$path" | $SUDO odbcinst -i -d -r >/dev/null
}
register_driver SQLite3 libsqlite3odbc.so
register_driver FreeTDS libtdsodbc.so
