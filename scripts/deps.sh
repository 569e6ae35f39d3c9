#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and be tested,
# where they are missing.
set -euo pipefail
packages=(qt6-base-dev qt6-charts-dev libsodium-dev libsqlite3-dev pkg-config libqt6sql6-sqlite libqt6sql6-psql sqlite3 postgresql cups cmake ninja-build g++)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
