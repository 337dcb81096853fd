#!/usr/bin/env bash
# Installs from Debian's packages whatever of the given groups is missing. Run as root.
#   deps.sh build    compilers, clang-format, Qt (with SVG and lupdate), GoogleTest, Google Benchmark,
#                    JSON, libxlsxwriter (the Excel workbook), zlib (with which the tests read the
#                    workbooks back), and pdftotext, with which the tests read the reports back
#   deps.sh desktop  what the program needs on a desktop (fonts)
#   deps.sh fuzz     clang and its fuzzer runtime
#   deps.sh shot     Xvfb and ImageMagick, for screenshots
#   deps.sh checks   the validators of the desktop entry, AppStream metadata and file types, with
#                    the MIME database tools, for the tests
#   deps.sh package  dpkg-shlibdeps (with file) and lintian, for scripts/package.sh
#   deps.sh windows  the MinGW-w64 cross compilers, Wine, NSIS, zip, and what Qt's own build needs
#                    (dpkg-dev for apt-get source), for scripts/windows.sh
#   deps.sh screenreader  Xvfb, D-Bus, the accessibility bus, Orca and the Python client of
#                    the bus, for bench/ui/screen-reader.sh
set -euo pipefail

declare -A PACKAGE_GROUPS=(
    [build]="build-essential cmake ninja-build clang-format qt6-base-dev qt6-svg-dev qt6-l10n-tools libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev poppler-utils libxlsxwriter-dev zlib1g-dev"
    [desktop]="fonts-liberation2 qt6-translations-l10n"
    [fuzz]="clang libclang-rt-14-dev"
    [shot]="xvfb xauth imagemagick fonts-liberation2"
    [checks]="desktop-file-utils appstream libxml2-utils shared-mime-info libglib2.0-bin"
    [package]="dpkg-dev file lintian"
    [screenreader]="xvfb xauth dbus at-spi2-core orca python3-gi gir1.2-atspi-2.0"
    [windows]="mingw-w64 libz-mingw-w64-dev wine64 nsis zip dpkg-dev xz-utils perl python3 imagemagick"
)

wanted=()
for group in "$@"; do
    [[ -n "${PACKAGE_GROUPS[$group]:-}" ]] || { echo "deps.sh: unknown group '$group'" >&2; exit 2; }
    wanted+=(${PACKAGE_GROUPS[$group]})
done

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
