# Shared by ./run and ./test: install what is missing, then configure and build incrementally.
set -euo pipefail

ZEB_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZEB_BUILD="${ZEB_BUILD_DIR:-$ZEB_ROOT/build}"

ZEB_PACKAGES=(cmake ninja-build g++ qt6-base-dev libjpeg-dev libgtest-dev libbenchmark-dev
              nlohmann-json3-dev libcli11-dev poppler-utils fonts-dejavu-core fonts-liberation
              dpkg-dev file desktop-file-utils appstream shared-mime-info man-db
              qt6-svg-dev qt6-translations-l10n locales
              libcsv-dev libxlsxwriter-dev clang libclang-rt-dev)

zeb_install_missing() {
    local missing=()
    local p
    for p in "${ZEB_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The German locale: the C library's German error texts and the locale-independence tests need it.
zeb_german_locale() {
    local have
    have="$(locale -a 2>/dev/null || true)"
    grep -qix 'de_DE\.utf-\?8' <<<"$have" && return 0
    echo "Generating the locale de_DE.UTF-8"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo localedef -i de_DE -c -f UTF-8 -A /usr/share/locale/locale.alias de_DE.UTF-8
}

zeb_build() {
    if [ ! -f "$ZEB_BUILD/build.ninja" ]; then
        cmake -S "$ZEB_ROOT" -B "$ZEB_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build "$ZEB_BUILD" -- -j"$(nproc)"
}

# The libFuzzer targets (fuzz/) in a build of their own: libFuzzer needs clang, the main build
# uses g++. Returns 1 (after a notice) when clang++ is missing; a failed build ends the script.
ZEB_FUZZ_BUILD="${ZEB_FUZZ_BUILD_DIR:-$ZEB_ROOT/build-fuzz}"
zeb_build_fuzz() {
    if ! command -v clang++ >/dev/null; then
        echo "clang++ not found: the fuzz targets are not built"
        return 1
    fi
    if [ ! -f "$ZEB_FUZZ_BUILD/build.ninja" ]; then
        local launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S "$ZEB_ROOT" -B "$ZEB_FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" -DZEB_FUZZ=ON \
            -DZEB_BUILD_GUI=OFF -DZEB_BUILD_TESTS=OFF -DZEB_BUILD_BENCH=OFF
    fi
    cmake --build "$ZEB_FUZZ_BUILD" --target fuzz_project_reader fuzz_number_format fuzz_settings \
        fuzz_computations -- -j"$(nproc)" || exit 1
}
