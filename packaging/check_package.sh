#!/usr/bin/env bash
# Builds the Debian package from a build directory and checks it as a user receives it: what it
# holds, that its desktop, AppStream and MIME files are valid, and that the programs unpacked
# from it compute the example with the source and build trees out of their reach.
#
#   packaging/check_package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build="$(cd "$1" && pwd)"
src="$(cd "$2" && pwd)"
work="$(mktemp -d /tmp/zeb-package.XXXXXX)"
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# --- build, unless the package is newer than everything it is made from -----------------------
inputs=("$build/zeb" "$build/zeb-cli" "$build/CPackConfig.cmake" "$build/cmake_install.cmake"
        "$build/man" "$build"/*.metainfo.xml "$src/LICENSE" "$src/resources" "$src/packaging")
debs=("$build"/zeb_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ] ||
    [ -n "$(find "${inputs[@]}" -newer "${debs[0]}" -print -quit)" ]; then
    rm -f "$build"/zeb_*.deb
    if ! (cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log" >&2
        fail "cpack -G DEB"
    fi
    debs=("$build"/zeb_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single zeb_*.deb in $build"
else
    echo "package up to date"
fi
deb="${debs[0]}"
echo "package: $deb"

# --- control fields: shlibdeps found the libraries, the run-time-only dependency is there --------
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for need in libc6 libstdc++6 libqt6core6 libqt6widgets6 qt6-translations-l10n; do
    tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qxF "$need" || fail "Depends lacks $need"
done

# --- file list ------------------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
expected=(
    /usr/bin/zeb
    /usr/bin/zeb-cli
    /usr/share/applications/zeb.desktop
    /usr/share/icons/hicolor/48x48/apps/zeb.png
    /usr/share/icons/hicolor/128x128/apps/zeb.png
    /usr/share/icons/hicolor/256x256/apps/zeb.png
    /usr/share/icons/hicolor/scalable/apps/zeb.svg
    /usr/share/mime/packages/zeb.xml
    /usr/share/metainfo/org.zeb_project.zeb.metainfo.xml
    /usr/share/man/man1/zeb.1.gz
    /usr/share/man/man1/zeb-cli.1.gz
    /usr/share/doc/zeb/copyright
)
# Every help page and every example, whatever has been added since.
while IFS= read -r file; do
    expected+=("/usr/share/zeb/${file#"$src"/resources/}")
done < <(find "$src/resources/help" "$src/resources/examples" -type f | sort)
for file in "${expected[@]}"; do
    grep -qxF "$file" "$work/files" || fail "the package lacks $file"
done
echo "files: ${#expected[@]} expected, all present ($(wc -l <"$work/files") entries)"

# --- unpacked: metadata validators ------------------------------------------------------------
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/zeb.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.zeb_project.zeb.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log" >&2
    fail "appstreamcli validate"
}
# The MIME type as the desktop will know it: the glob and both signature lines as magic.
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/zeb.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || {
    cat "$work/mime.log" >&2
    fail "update-mime-database"
}
grep -q "application/x-zeb-project:\*\.zeb" "$work/mime/globs2" || fail "MIME glob *.zeb"
for line in "ZEB 4.1 project file (2012)" "ZEB project file (2001)"; do
    grep -aqF "$line" "$work/mime/magic" || fail "MIME magic lacks \"$line\""
done

# --- man pages: readable, and zeb-cli(1) names every command the program has -----------------------
for page in zeb zeb-cli; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" >/dev/null 2>&1 ||
        fail "man -l $page.1.gz"
done
zcat "$root/usr/share/man/man1/zeb-cli.1.gz" >"$work/zeb-cli.1"
commands="$("$root/usr/bin/zeb-cli" --help |
    awk '/^Subcommands:/ {on = 1; next} on && !NF {exit} on {print $1}')"
[ -n "$commands" ] || fail "zeb-cli --help lists no commands"
for command in $commands; do
    grep -qF "\\fB$command" "$work/zeb-cli.1" || fail "zeb-cli(1) does not describe \"$command\""
done
for status in 0 1 2 3; do
    grep -qxF ".B $status" "$work/zeb-cli.1" || fail "zeb-cli(1) lacks exit status $status"
done

# --- the programs: stripped, no path back to the sources or the build -------------------------------
for program in zeb zeb-cli; do
    binary="$root/usr/bin/$program"
    file "$binary" | grep -q "stripped" && ! file "$binary" | grep -q "not stripped" ||
        fail "$program is not stripped"
    if strings -a "$binary" | grep -qF -e "$src" -e "$build"; then
        fail "$program holds a path of the source or build tree"
    fi
    if ldd "$binary" | grep -q "not found"; then
        ldd "$binary" >&2
        fail "$program needs a library that is not installed"
    fi
done

# --- the programs run from the unpacked tree with the sources hidden ------------------------------
cp "$src/tests/data/saturation_A_de.txt" "$work/expected.txt"
mkdir -p "$work/home"
cat >"$work/run.sh" <<'EOS'
set -eu
cd "$1"
usr/bin/zeb-cli --version
usr/bin/zeb-cli saturation usr/share/zeb/examples/example.zeb A --lang de >../saturation.txt
EOS
run=(env -i "HOME=$work/home" "PATH=/usr/bin:/bin" "LANG=C.UTF-8" bash "$work/run.sh" "$root")
# A private mount namespace lays empty directories over the source and build trees; where that is
# not allowed, the strings check above and the empty environment have to do.
hide="mount -t tmpfs none '$src'"
case "$build/" in "$src"/*) ;; *) hide+=" && mount -t tmpfs none '$build'" ;; esac
if unshare -m true 2>/dev/null; then
    unshare -m --propagation private sh -c "$hide && exec \"\$@\"" sh "${run[@]}" >"$work/version.txt"
elif unshare -rm true 2>/dev/null; then
    unshare -rm sh -c "$hide && exec \"\$@\"" sh "${run[@]}" >"$work/version.txt"
else
    echo "note: no mount namespace; the source tree stays visible but unused"
    "${run[@]}" >"$work/version.txt"
fi
cat "$work/version.txt"
grep -q "MIT License" "$work/version.txt" || fail "zeb-cli --version names no licence"
# The report from line 11 on (the header holds the file name and the time of the run).
diff <(tail -n +11 "$work/saturation.txt") <(tail -n +11 "$work/expected.txt") ||
    fail "the unpacked zeb-cli computes another state of saturation"
grep -q "example.zeb" "$work/saturation.txt" || fail "the report does not name the example"
[ ! -e "$root/usr/bin/ZEB.ini" ] || fail "zeb-cli wrote settings beside the installed program"
sed -n 11,20p "$work/saturation.txt"
echo "package checked: $deb"
