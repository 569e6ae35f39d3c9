#!/usr/bin/env bash
# Builds the Debian package of proTavoruh: installs what the build needs,
# builds Release into build-package/ (no tests, no benchmarks) and runs CPack.
# The package lands in the top folder as protavoruh_<version>_<arch>.deb;
# install it with: sudo apt install ./protavoruh_<version>_<arch>.deb
#
#   scripts/package.sh [VERSION]     VERSION defaults to the project's
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# dpkg-shlibdeps (dpkg-dev) works out the package's library dependencies.
if ! dpkg-query -W -f='${Status}' dpkg-dev 2>/dev/null | grep -q "install ok installed"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: dpkg-dev"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq dpkg-dev >/dev/null
fi

build=build-package
version_args=(-UTAVORU_PACKAGE_VERSION)
[ $# -eq 0 ] || version_args=(-DTAVORU_PACKAGE_VERSION="$1")
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debian's hardening flags; the changelog date is the last commit's.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTAVORU_BUILD_TESTS=OFF -DTAVORU_BUILD_BENCH=OFF "${launcher[@]}" "${version_args[@]}" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/protavoruh_*.deb | head -n 1)
mv -f "$deb" .
echo "Package: $(basename "$deb")"
