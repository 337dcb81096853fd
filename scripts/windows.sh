#!/usr/bin/env bash
# Cross-builds the program for 64-bit Windows on Debian 12 and packs it. Run as root.
#   bash scripts/windows.sh        dist/Vardun-VERSION-windows-x64.zip and dist/VardunSetup-VERSION.exe
#   bash scripts/windows.sh test   the tests, cross-built and run under Wine
#   bash scripts/windows.sh qt     only the Qt for Windows below
#
# Qt for Windows is built once from Debian's own source package of the Qt the machine has, into
# $VARDUN_WINDOWS_CACHE (default ~/.cache/vardun-windows), outside the checkout; a stamp there
# says which source and options it was built from, and later runs reuse it. The first run takes
# about 50 minutes on two cores for Qt; the program itself then builds in a few minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
MODE=${1:-package}
case "$MODE" in package | test | qt) ;; *)
    echo "usage: bash scripts/windows.sh [test|qt]" >&2
    exit 2
    ;;
esac

JOBS=$(nproc)
CACHE=${VARDUN_WINDOWS_CACHE:-$HOME/.cache/vardun-windows}
TOOLCHAIN=$ROOT/scripts/windows/mingw64.cmake
MINGW_SYSROOT=/usr/x86_64-w64-mingw32
WINE=/usr/lib/wine/wine64

bash scripts/deps.sh build windows

# Fetches Debian's source package NAME at VERSION into $CACHE/src, through a sources list of
# our own, so that the machine's own sources stay as they are.
apt_get_source() {
    local apt_dir=$CACHE/apt
    mkdir -p "$apt_dir/lists/partial" "$CACHE/src"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
        >"$apt_dir/sources.list"
    local apt_options=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o "Dir::Etc::sourceparts=-"
        -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Sandbox::User=root")
    apt-get "${apt_options[@]}" update
    (cd "$CACHE/src" && apt-get "${apt_options[@]}" source --download-only "$1=$2")
}

# ---------------------------------------------------------------------------------------------
# Qt for Windows
QT_PACKAGE_VERSION=$(dpkg-query -W -f='${Version}' qt6-base-dev)
QT_VERSION=${QT_PACKAGE_VERSION%%+*}
QT_PREFIX=$CACHE/qt-$QT_VERSION-mingw64
QT_OPTIONS=(
    -release -shared -nomake examples -nomake tests
    -xplatform win32-g++ -qt-host-path /usr
    # Debian's repack drops the Wintab headers that tablet events need.
    -no-feature-tabletevent
    # What the program does not use.
    -no-opengl -no-dbus -no-feature-sql -no-feature-network -no-feature-printsupport
    -no-feature-concurrent
    # Qt's own copies of the image and text libraries, as the MinGW sysroot has none.
    -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion
    -no-zstd -no-icu -no-pkg-config
)
COMPILER=$(x86_64-w64-mingw32-g++-posix --version | head -n 1)
QT_STAMP_TEXT="qt6-base $QT_PACKAGE_VERSION; $COMPILER; ${QT_OPTIONS[*]}"

build_qt() {
    if [[ -f $QT_PREFIX/vardun-qt.stamp && "$(cat "$QT_PREFIX/vardun-qt.stamp")" == "$QT_STAMP_TEXT" ]]; then
        echo "Qt for Windows: $QT_PREFIX (built before)"
        return
    fi
    echo "Qt for Windows: building qt6-base $QT_PACKAGE_VERSION into $QT_PREFIX (about 50 minutes on two cores)"
    local src_dir=$CACHE/src
    if [[ ! -f $src_dir/qt6-base_$QT_PACKAGE_VERSION.dsc ]]; then
        apt_get_source qt6-base "$QT_PACKAGE_VERSION"
    fi
    rm -rf "$src_dir/qt6-base" "$CACHE/qt-build" "$QT_PREFIX"
    (cd "$src_dir" && dpkg-source -x "qt6-base_$QT_PACKAGE_VERSION.dsc" qt6-base)
    mkdir -p "$CACHE/qt-build"
    (
        cd "$CACHE/qt-build"
        "$src_dir/qt6-base/configure" -prefix "$QT_PREFIX" "${QT_OPTIONS[@]}" -- \
            -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
        cmake --build . --parallel "$JOBS"
        cmake --install .
    )
    echo "$QT_STAMP_TEXT" >"$QT_PREFIX/vardun-qt.stamp"
    rm -rf "$CACHE/qt-build" "$src_dir/qt6-base"
}


# ---------------------------------------------------------------------------------------------
# libxlsxwriter for Windows, from Debian's source package of the one the machine has, static,
# into the same cache.
XLSX_PACKAGE_VERSION=$(dpkg-query -W -f='${source:Version}' libxlsxwriter-dev)
XLSX_PREFIX=$CACHE/xlsxwriter-$XLSX_PACKAGE_VERSION-mingw64
XLSX_STAMP_TEXT="libxlsxwriter $XLSX_PACKAGE_VERSION; $COMPILER"

build_xlsxwriter() {
    if [[ -f $XLSX_PREFIX/vardun.stamp && "$(cat "$XLSX_PREFIX/vardun.stamp")" == "$XLSX_STAMP_TEXT" ]]; then
        return
    fi
    local src_dir=$CACHE/src
    if [[ ! -f $src_dir/libxlsxwriter_$XLSX_PACKAGE_VERSION.dsc ]]; then
        apt_get_source libxlsxwriter "$XLSX_PACKAGE_VERSION"
    fi
    rm -rf "$src_dir/libxlsxwriter" "$CACHE/xlsxwriter-build" "$XLSX_PREFIX"
    (cd "$src_dir" && dpkg-source -x "libxlsxwriter_$XLSX_PACKAGE_VERSION.dsc" libxlsxwriter)
    cmake -S "$src_dir/libxlsxwriter" -B "$CACHE/xlsxwriter-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_INSTALL_PREFIX="$XLSX_PREFIX" -DBUILD_SHARED_LIBS=OFF -DZLIB_USE_STATIC_LIBS=ON
    cmake --build "$CACHE/xlsxwriter-build" --parallel "$JOBS"
    cmake --install "$CACHE/xlsxwriter-build"
    echo "$XLSX_STAMP_TEXT" >"$XLSX_PREFIX/vardun.stamp"
    rm -rf "$CACHE/xlsxwriter-build" "$src_dir/libxlsxwriter"
}

build_xlsxwriter

build_qt
[[ $MODE == qt ]] && exit 0

# ---------------------------------------------------------------------------------------------
# The icon as a Windows .ico, rendered from the drawing by the icon tool of a build for this
# machine (build-windows-host/).
HOST_BUILD=$ROOT/build-windows-host
ICON=$HOST_BUILD/vardun.ico
cmake -S . -B "$HOST_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARDUN_BENCH=OFF >/dev/null
cmake --build "$HOST_BUILD" --parallel "$JOBS" --target vardun-icon
icon_arguments=()
icon_pngs=()
for size in 16 24 32 48 64 128 256; do
    icon_arguments+=("$size" "$HOST_BUILD/icon-$size.png")
    icon_pngs+=("$HOST_BUILD/icon-$size.png")
done
"$HOST_BUILD/tools/icon/vardun-icon" app/desktop/vardun.svg "${icon_arguments[@]}"
convert "${icon_pngs[@]}" "$ICON"

# ---------------------------------------------------------------------------------------------
# The program, cross-built in build-windows/.
export VARDUN_WINDOWS_ROOTS=$QT_PREFIX:$XLSX_PREFIX
BUILD=$ROOT/build-windows
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DVARDUN_BENCH=OFF -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -Dnlohmann_json_DIR=/usr/share/cmake/nlohmann_json -DZLIB_USE_STATIC_LIBS=ON -DVARDUN_WINDOWS_ICON="$ICON"

MINGW_RUNTIME=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll "$MINGW_SYSROOT/lib/libwinpthread-1.dll")

# Wine in a prefix of our own; one server for the whole run, so that each program starts fast.
# Wine passes no QT_* variables on: the programs set what they need themselves.
export WINEPREFIX=$CACHE/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine sees this machine's root as drive Z:.
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
export WINEPATH="$(windows_path "$QT_PREFIX/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path "$MINGW_SYSROOT/lib")"
start_wine() {
    [[ -d $WINEPREFIX ]] || "$WINE" wineboot --init >/dev/null 2>&1 || true
    # The server stays in the foreground when started by hand; one already there wins.
    /usr/lib/wine/wineserver -p &
}

if [[ $MODE == test ]]; then
    cmake --build "$BUILD" --parallel "$JOBS"
    start_wine
    # The window tests draw with the offscreen platform; every test runs under Wine through
    # the toolchain's emulator.
    (cd "$BUILD" && ctest --output-on-failure --timeout 600)
    /usr/lib/wine/wineserver -k || true
    exit 0
fi

cmake --build "$BUILD" --parallel "$JOBS" --target vardun vardun-report

# ---------------------------------------------------------------------------------------------
# The zip and the installer in dist/.
VERSION=$(sed -n 's/^project(Vardun VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
NAME=Vardun-$VERSION-windows-x64
STAGE=$ROOT/dist/$NAME
rm -rf "$STAGE" "dist/$NAME.zip" "dist/VardunSetup-$VERSION.exe"
mkdir -p "$STAGE"/{platforms,styles,imageformats,translations,doc/guide}
cp "$BUILD/vardun.exe" "$BUILD/tools/vardun-report.exe" "$ICON" "$STAGE/"
for dll in Qt6Core Qt6Gui Qt6Widgets; do cp "$QT_PREFIX/bin/$dll.dll" "$STAGE/"; done
cp "$QT_PREFIX/plugins/platforms/qwindows.dll" "$QT_PREFIX/plugins/platforms/qoffscreen.dll" "$STAGE/platforms/"
cp "$QT_PREFIX/plugins/styles/qwindowsvistastyle.dll" "$STAGE/styles/"
for format in qgif qico qjpeg; do cp "$QT_PREFIX/plugins/imageformats/$format.dll" "$STAGE/imageformats/"; done
cp "${MINGW_RUNTIME[@]}" "$STAGE/"
x86_64-w64-mingw32-strip "$STAGE"/*.exe "$STAGE"/*.dll "$STAGE"/*/*.dll
# Qt finds its plugins and translations beside the program, not where it was built.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$STAGE/qt.conf"
cp /usr/share/qt6/translations/qtbase_ru.qm "$STAGE/translations/"
cp sample/default.dic sample/example.sav "$STAGE/"
cp docs/guide/README.md "$STAGE/doc/guide/"
cp docs/*.png "$STAGE/doc/"
cp app/desktop/copyright "$STAGE/doc/copyright.txt"
cp ui/widgets/fonts/COPYRIGHT "$STAGE/doc/fonts-copyright.txt"
cp /usr/share/doc/libqt6core6/copyright "$STAGE/doc/qt-copyright.txt"
(cd dist && zip -qr9 "$NAME.zip" "$NAME")
makensis -V2 -DVERSION="$VERSION" -DSOURCE="$STAGE" -DOUTFILE="$ROOT/dist/VardunSetup-$VERSION.exe" \
    app/desktop/windows/installer.nsi
ls -l "dist/$NAME.zip" "dist/VardunSetup-$VERSION.exe"
