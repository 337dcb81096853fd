#!/usr/bin/env bash
# Makes the Debian package of the program and checks it: installs what is missing, builds
# a release of the two programs (build-package/), lets CPack collect what `cmake --install`
# installs (the package's dependencies found by dpkg-shlibdeps), puts vardun_VERSION_ARCH.deb
# in the repository's root and runs lintian on it; any lintian error fails the script.
#   bash scripts/package.sh            then: apt install ./vardun_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build desktop package

# Debian's hardening flags (stack protector, fortify, relro and bind-now), as its own
# packages are built.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARDUN_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build build-package -j "$(nproc)" --target vardun vardun-report vardun-icons vardun-man vardun-changelog

rm -f build-package/vardun_*.deb
(cd build-package && cpack -G DEB)
deb=$(ls build-package/vardun_*.deb)
rm -f vardun_*.deb
cp "$deb" .
deb=$(basename "$deb")

echo "== $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
echo "== lintian"
lintian --fail-on error --display-info "$deb"
echo "lintian found no errors in $deb"
