#!/usr/bin/env bash
# Builds the Debian packages in build-ci/ (or $ZANTRO_BUILD_DIR), the build
# the run and test commands make: zantro-cli (the command line, without
# Qt), zantro (the desktop program, depending on zantro-cli) and
# python3-zantro (the Python module, without Qt), with Debian's hardening
# flags as every build there. After the test command it only packages what
# the tests ran. Then checks them: the file lists, the dependencies
# dpkg-shlibdeps found (no Qt for zantro-cli and the module), the AppStream
# metadata, the manual pages and lintian without errors or warnings. Prints
# the packages' paths last.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

DEB_DIR="$BUILD_DIR"
install_packages "${RUN_PACKAGES[@]}" "${PYTHON_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

configure --without-tests -DZANTRO_BUILD_PYTHON=ON
cmake --build "$DEB_DIR" -j2
rm -f "$DEB_DIR"/zantro_*.deb "$DEB_DIR"/zantro-cli_*.deb "$DEB_DIR"/python3-zantro_*.deb
(cd "$DEB_DIR" && cpack -G DEB)
deb="$(ls "$DEB_DIR"/zantro_*.deb)"
clideb="$(ls "$DEB_DIR"/zantro-cli_*.deb)"
pydeb="$(ls "$DEB_DIR"/python3-zantro_*.deb)"

fail() {
    echo "package check: $*" >&2
    exit 1
}

# The file lists, exactly.
file_list() {
    dpkg-deb --contents "$1" | awk '{print $6}' | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort
}
file_list "$deb" >"$DEB_DIR/files.txt"
diff -u "$ROOT/packaging/files.txt" "$DEB_DIR/files.txt" || fail "the package's files differ from packaging/files.txt"
file_list "$clideb" >"$DEB_DIR/files-zantro-cli.txt"
diff -u "$ROOT/packaging/files-zantro-cli.txt" "$DEB_DIR/files-zantro-cli.txt" ||
    fail "zantro-cli's files differ from packaging/files-zantro-cli.txt"
file_list "$pydeb" >"$DEB_DIR/files-python3-zantro.txt"
diff -u "$ROOT/packaging/files-python3-zantro.txt" "$DEB_DIR/files-python3-zantro.txt" ||
    fail "python3-zantro's files differ from packaging/files-python3-zantro.txt"

version="$(dpkg-deb --field "$deb" Version)"
depends="$(dpkg-deb --field "$deb" Depends)"
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 "zantro-cli (= $version)"; do
    grep -qF "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
clidepends="$(dpkg-deb --field "$clideb" Depends)"
for dep in libc6 libstdc++6; do
    grep -q "\\b$dep\\b" <<<"$clidepends" || fail "zantro-cli's Depends lacks $dep: $clidepends"
done
! grep -qi qt <<<"$clidepends" || fail "zantro-cli depends on Qt: $clidepends"

unpacked="$DEB_DIR/unpacked"
rm -rf "$unpacked"
for package in "$deb" "$clideb" "$pydeb"; do
    dpkg-deb --extract "$package" "$unpacked"
done
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml || fail "AppStream metadata"
for page in zantro zantro-cli; do
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
        "$unpacked/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "man page $page: $warnings"
done

pydepends="$(dpkg-deb --field "$pydeb" Depends)"
for dep in libc6 libstdc++6 python3 python3-numpy; do
    grep -q "\\b$dep\\b" <<<"$pydepends" || fail "python3-zantro's Depends lacks $dep: $pydepends"
done
! grep -qi qt <<<"$pydepends" || fail "python3-zantro depends on Qt: $pydepends"
# The packaged module imports in Debian's python3, measures and knows its
# version from its metadata.
PYTHONPATH="$unpacked/usr/lib/python3/dist-packages" /usr/bin/python3 -c '
import importlib.metadata, zantro
zantro.measure([0.5, 0.5], 8000.0)
assert importlib.metadata.version("zantro") == zantro.__version__, importlib.metadata.version("zantro")' ||
    fail "the packaged module does not import"

# Every tag lintian shows (errors, warnings, information) fails the check.
report="$(lintian --display-info "$deb" "$clideb" "$pydeb" 2>&1 | grep -v '^running with root privileges' || true)"
[ -z "$report" ] || fail "lintian: $report"
echo "$clideb"
echo "$deb"
echo "$pydeb"
