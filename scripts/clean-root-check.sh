#!/usr/bin/env bash
# Installs the Debian packages scripts/package.sh makes on clean Debian 12
# roots made with debootstrap (minbase) from the mirror this machine's apt
# uses, one fresh root a trial, as a user would (apt-get install ./x.deb,
# recommends included):
#   zantro-cli      alone: pulls no Qt package, designs, has its manual page;
#   python3-zantro  alone: pulls no Qt package, imports in Debian's python3,
#                   designs and knows its version;
#   all three       zantro depends on zantro-cli; the desktop program finds
#                   every library it links, beside the other two.
# Prints what each trial added (packages, download, disk) and exits 1 when
# a check fails. Needs root; not part of the test command (it downloads
# hundreds of megabytes). The roots are made in a new folder below
# ${TMPDIR:-/var/tmp}, outside the source and build trees that tools walk,
# and removed at the end (ZANTRO_KEEP_ROOTS=1 keeps them).
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

[ "$(id -u)" -eq 0 ] || { echo "clean-root-check: run as root (debootstrap and chroot)" >&2; exit 1; }
install_packages debootstrap

cli_deb="$(ls "$BUILD_DIR"/zantro-cli_*.deb 2>/dev/null || true)"
desktop_deb="$(ls "$BUILD_DIR"/zantro_*.deb 2>/dev/null || true)"
python_deb="$(ls "$BUILD_DIR"/python3-zantro_*.deb 2>/dev/null || true)"
if [ -z "$cli_deb" ] || [ -z "$desktop_deb" ] || [ -z "$python_deb" ]; then
    bash "$ROOT/scripts/package.sh"
    cli_deb="$(ls "$BUILD_DIR"/zantro-cli_*.deb)"
    desktop_deb="$(ls "$BUILD_DIR"/zantro_*.deb)"
    python_deb="$(ls "$BUILD_DIR"/python3-zantro_*.deb)"
fi

# The mirror of Debian 12's main archive that apt here reads.
MIRROR="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' |
    awk '$2 == "bookworm" && $3 == "main" { print $1; exit }')"
[ -n "$MIRROR" ] || { echo "clean-root-check: apt here reads no bookworm main archive" >&2; exit 1; }

WORK="$(mktemp -d "${TMPDIR:-/var/tmp}/zantro-clean-root.XXXXXX")"
BASE="$WORK/base"
MOUNTED=()
cleanup() {
    local m
    for m in "${MOUNTED[@]}"; do umount -l "$m" 2>/dev/null || true; done
    [ "${ZANTRO_KEEP_ROOTS:-0}" = 1 ] || rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

echo "== debootstrap --variant=minbase bookworm from $MIRROR"
debootstrap --variant=minbase bookworm "$BASE" "$MIRROR" >"$WORK/debootstrap.log" 2>&1 ||
    { tail -20 "$WORK/debootstrap.log" >&2; exit 1; }
chroot "$BASE" apt-get update -qq
echo "clean root: $(chroot "$BASE" dpkg-query -W | wc -l) packages"

FAILED=0
check() {  # description, then a command that must succeed
    local what="$1"
    shift
    if "$@"; then
        echo "  ok: $what"
    else
        echo "  FAILED: $what"
        FAILED=1
    fi
}

# R: a fresh copy of the clean root, with /proc and /dev mounted.
new_root() {
    R="$WORK/$1"
    cp -a "$BASE" "$R"
    mount -t proc proc "$R/proc" && MOUNTED+=("$R/proc")
    mount --bind /dev "$R/dev" && MOUNTED+=("$R/dev")
}

# apt-get install of the named .deb files in root; prints what it added.
install_debs() {
    local root="$1" name before after
    shift
    local args=()
    for deb in "$@"; do
        name="$(basename "$deb")"
        cp "$deb" "$root/tmp/$name"
        args+=("/tmp/$name")
    done
    chroot "$root" dpkg-query -W -f '${Package}\n' | sort >"$root/tmp/before.txt"
    chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${args[@]}" >"$root/tmp/apt.log" 2>&1 ||
        { tail -20 "$root/tmp/apt.log" >&2; return 1; }
    chroot "$root" dpkg-query -W -f '${Package}\n' | sort >"$root/tmp/after.txt"
    comm -13 "$root/tmp/before.txt" "$root/tmp/after.txt" >"$root/tmp/added.txt"
    echo "  added $(wc -l <"$root/tmp/added.txt") packages; apt: $(grep -E '^Need to get' "$root/tmp/apt.log" | head -1);" \
        "$(grep -E '^After this operation' "$root/tmp/apt.log" | head -1)"
}

no_qt() { ! grep -i 'qt' "$1/tmp/added.txt"; }

echo "== zantro-cli alone"
new_root cli
install_debs "$R" "$cli_deb"
check "no Qt package installed" no_qt "$R"
check "zantro-cli designs a 31-tap lowpass" \
    bash -c "[ \"\$(chroot '$R' zantro-cli --taps 31 | wc -l)\" -eq 31 ]"
check "zantro-cli's manual page is installed" test -f "$R/usr/share/man/man1/zantro-cli.1.gz"

echo "== python3-zantro alone"
new_root python
install_debs "$R" "$python_deb"
check "no Qt package installed" no_qt "$R"
check "import zantro designs, measures and knows its version" chroot "$R" python3 -c '
import importlib.metadata, zantro
d = zantro.design(taps=31)
assert len(d.taps) == 31
zantro.measure(d.taps, 8000.0)
assert importlib.metadata.version("zantro") == zantro.__version__'

echo "== zantro, zantro-cli and python3-zantro"
new_root desktop
install_debs "$R" "$desktop_deb" "$cli_deb" "$python_deb"
depends_on_cli() {
    local version
    version="$(chroot "$R" dpkg-query -W -f '${Version}' zantro)"
    chroot "$R" dpkg-query -W -f '${Depends}' zantro | grep -qF "zantro-cli (= $version)"
}
finds_libraries() { ! chroot "$R" ldd /usr/bin/zantro | grep 'not found'; }
check "zantro depends on zantro-cli of its version" depends_on_cli
check "the desktop program finds every library" finds_libraries
check "zantro-cli and the module work beside it" chroot "$R" sh -c 'zantro-cli --taps 15 >/dev/null && python3 -c "import zantro"'

exit "$FAILED"
