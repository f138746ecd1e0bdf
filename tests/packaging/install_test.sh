#!/usr/bin/env bash
# Installs into a temporary prefix and checks what a desktop needs.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*"; exit 1; }
for f in bin/ostreltz bin/ostreltz-cli bin/ostreltz-radio-sim share/applications/ostreltz.desktop \
         share/mime/packages/ostreltz.xml lib/udev/rules.d/60-ostreltz-serial.rules share/doc/ostreltz/guide.md share/doc/ostreltz/guide-en.md \
         share/doc/ostreltz/serial-permissions.md; do
    [ -e "$prefix/$f" ] || fail "missing $f"
done
# Every picture the installed guides show is installed beside them.
for picture in $(grep -oh '([a-z0-9-]*\.png)' "$prefix"/share/doc/ostreltz/*.md | tr -d '()' | sort -u); do
    [ -e "$prefix/share/doc/ostreltz/$picture" ] || fail "the guides show $picture, which is not installed"
done
for size in 16 32 48 64 128 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/ostreltz.png" | grep -q "${size} x ${size}" || fail "icon $size"
done
desktop-file-validate "$prefix/share/applications/ostreltz.desktop" | grep -v '^.*: hint:' && fail "desktop entry" || true
grep -q '^MimeType=application/x-vardo-document;$' "$prefix/share/applications/ostreltz.desktop" || fail "MimeType="
grep -q '^Exec=ostreltz --print %f$' "$prefix/share/applications/ostreltz.desktop" || fail "print action"
python3 - "$prefix/share/mime/packages/ostreltz.xml" <<'PY' || fail "MIME XML"
import sys, xml.etree.ElementTree as ET
ns = {"m": "http://www.freedesktop.org/standards/shared-mime-info"}
t = ET.parse(sys.argv[1]).find("m:mime-type", ns)
assert t.get("type") == "application/x-vardo-document"
assert [g.get("pattern") for g in t.findall("m:glob", ns)] == ["*.sin"]
comments = {c.get("{http://www.w3.org/XML/1998/namespace}lang"): c.text for c in t.findall("m:comment", ns)}
assert comments == {None: "Vardo Document", "zh_CN": "写频数据"}, comments
PY
export QT_QPA_PLATFORM=offscreen
# The program's settings and files go under the prefix, not into the user's
# own (opening a file for printing puts it on the recent-file list).
export XDG_CONFIG_HOME="$prefix/config" XDG_DATA_HOME="$prefix/data"
"$prefix/bin/ostreltz" --version | grep -q "11.1" || fail "--version"
"$prefix/bin/ostreltz" --help | grep -q -- "--print-to" || fail "--help"
# The message in the language asked for.
for lang in zh en; do
    if "$prefix/bin/ostreltz" --lang $lang --print-to no-such-printer "$prefix/share/doc/ostreltz/sample.sin" 2>"$prefix/err.$lang"; then
        fail "printing to a missing printer succeeded"
    fi
done
grep -q "找不到打印机“no-such-printer”" "$prefix/err.zh" || fail "missing-printer message: $(cat "$prefix/err.zh")"
grep -q 'The printer "no-such-printer" was not found.' "$prefix/err.en" || fail "missing-printer message: $(cat "$prefix/err.en")"
echo "1 passed, 0 failed"
