#!/usr/bin/env bash
# Builds the Debian package: a Release build of the program alone (no tests, no benchmarks) in
# build-package/, with Debian's own hardening flags and no tuning to this machine's processor,
# then CPack writes dist/kivo-ft817_<version>_<arch>.deb. Checked with lintian when it is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KIVO_PACKAGE_DIR:-$root/build-package}
"$root/scripts/setup.sh"
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Debian's flags: fortified functions, stack protector, full RELRO, now-binding; the build
# folder's path is mapped away so it is not written into the programs.
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    LDFLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)" \
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKIVO_BENCH=OFF \
    "${launcher[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
mkdir -p "$root/dist"
(cd "$dir" && cpack -B "$root/dist" >/dev/null)
rm -rf "$root/dist/_CPack_Packages"
version=$(sed -n 's/^project(kivo_ft817 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
deb=$root/dist/kivo-ft817_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "package.sh: $deb was not written" >&2; exit 1; }
echo "wrote $deb"
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb"
fi
