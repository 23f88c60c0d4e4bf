#!/usr/bin/env bash
# Installs the build (default build/) into a scratch prefix and checks the installed program as
# an operator gets it: its version is the project's, it draws the lit panel on the simulator, and
# Help > Contents reads the pages installed beside it, not the source tree's or the build's.
#   scripts/install-check.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${KIVO_BUILD_DIR:-$root/build}}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() {
    echo "install check: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/kivo-ft817 bin/ft817-sim share/applications/kivo-ft817.desktop \
    share/icons/hicolor/scalable/apps/kivo-ft817.svg share/icons/hicolor/48x48/apps/kivo-ft817.png \
    share/metainfo/org.example.kivo_ft817.metainfo.xml share/man/man1/kivo-ft817.1.gz \
    share/man/man1/ft817-sim.1.gz share/doc/kivo-ft817/copyright share/kivo-ft817/help/index.html; do
    [ -s "$prefix/$f" ] || fail "$f is not installed"
done

# One version number: project() in CMakeLists.txt; the program, the changelog and the AppStream
# release must all say it.
version=$(sed -n 's/^project(kivo_ft817 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
said=$("$prefix/bin/kivo-ft817" --version)
[ "$said" = "KIVO FT-817 $version" ] || fail "--version says \"$said\", the project is $version"
head -1 "$root/packaging/changelog" | grep -qF "kivo-ft817 ($version)" ||
    fail "packaging/changelog does not start with $version"
grep -qF "<release version=\"$version\"" "$root/packaging/org.example.kivo_ft817.metainfo.xml" ||
    fail "the metainfo has no release $version"

# The folder Help > Contents opens, as the installed program finds it from its own place.
help=$("$prefix/bin/kivo-ft817" --help | sed -n 's/^Help pages: //p')
[ "$help" = "$prefix/share/kivo-ft817/help" ] || fail "the installed program reads its help from \"$help\""

desktop-file-validate "$prefix/share/applications/kivo-ft817.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.example.kivo_ft817.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$prefix/share/metainfo/org.example.kivo_ft817.metainfo.xml"

# The lit panel on the built-in simulator: the picture must show the lit display's cyan, which a
# dark panel (POWER failed) does not have.
QT_QPA_PLATFORM=offscreen "$prefix/bin/kivo-ft817" --simulate --power --data-dir "$tmp/data" \
    --screenshot "$tmp/panel.png" 2>"$tmp/stderr" || { cat "$tmp/stderr" >&2; fail "the screenshot run failed"; }
python3 - "$tmp/panel.png" <<'PY' || fail "the screenshot does not show the lit panel"
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
pos, idat, head = 8, b"", None
while pos < len(data):
    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
    if kind == b"IHDR":
        head = struct.unpack(">IIBBBBB", data[pos + 8:pos + 21])
    elif kind == b"IDAT":
        idat += data[pos + 8:pos + 8 + n]
    pos += 12 + n
w, h, depth, colour, _, _, interlace = head
assert depth == 8 and colour in (2, 6) and interlace == 0, head
bpp = 3 if colour == 2 else 4
raw, stride, prev, lit = zlib.decompress(idat), w * bpp, bytearray(w * bpp), 0
for y in range(h):
    f, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = row[i - bpp] if i >= bpp else 0
        b, c = prev[i], prev[i - bpp] if i >= bpp else 0
        if f == 1: row[i] = (row[i] + a) & 255
        elif f == 2: row[i] = (row[i] + b) & 255
        elif f == 3: row[i] = (row[i] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    lit += sum(1 for x in range(0, stride, bpp) if row[x] < 100 and row[x + 1] > 150 and row[x + 2] > 200)
    prev = row
print(f"install check: screenshot {w}x{h}, {lit} lit display pixels")
sys.exit(0 if w >= 400 and h >= 200 and lit > w * h // 10 else 1)
PY
echo "install check: $prefix holds version $version, help at $help, the lit panel drawn"
