#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks the layout the way a distribution
# would: desktop-file-validate, appstreamcli, man, and both programs answering
# --version and --help with no display at all.
#
#   install_test.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
prefix=$2/usr
rm -rf "$2"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
share=$prefix/share
for f in bin/noltace bin/noltace-headless \
         share/applications/org.noltace.NoltACE.desktop \
         share/metainfo/org.noltace.NoltACE.metainfo.xml \
         share/icons/hicolor/scalable/apps/noltace.svg \
         share/icons/hicolor/256x256/apps/noltace.png \
         share/mime/packages/noltace.xml \
         share/man/man1/noltace.1 share/man/man1/noltace-headless.1; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
[ -d "$share/noltace/roms" ] || fail "no system ROM folder"

desktop-file-validate "$share/applications/org.noltace.NoltACE.desktop"
grep -qx 'Exec=noltace %f' "$share/applications/org.noltace.NoltACE.desktop" || fail "Exec line"
appstreamcli validate --no-net "$share/metainfo/org.noltace.NoltACE.metainfo.xml"

# The PNG is a real 256 x 256 image (PNG header: width and height at bytes 16-23).
size=$(od -An -tx1 -j16 -N8 "$share/icons/hicolor/256x256/apps/noltace.png" | tr -d ' \n')
[ "$size" = "0000010000000100" ] || fail "icon PNG is not 256 x 256 ($size)"

# Every file kind the desktop entry opens is defined by the MIME package, with its glob.
for glob in '*.tap' '*.tzx' '*.ace'; do
  grep -qF "pattern=\"$glob\"" "$share/mime/packages/noltace.xml" || fail "no MIME glob $glob"
done
for type in $(sed -n 's/^MimeType=//p' "$share/applications/org.noltace.NoltACE.desktop" | tr ';' ' '); do
  grep -q "type=\"$type\"" "$share/mime/packages/noltace.xml" || fail "MIME type $type is not defined"
done
# The package compiles into a MIME database without a complaint.
mime=$2/mime
mkdir -p "$mime/packages"
cp "$share/mime/packages/noltace.xml" "$mime/packages/"
XDG_DATA_DIRS="$2" update-mime-database "$mime" 2>&1 | { ! grep -Ei "error|warn|invalid|unknown"; } || fail "update-mime-database complained"
grep -q '^application/x-jupiter-ace-snapshot$' "$mime/types" || fail "MIME types were not compiled"

# Manual pages render and name their sections.
for program in noltace noltace-headless; do
  page=$(MANWIDTH=80 man -l "$share/man/man1/$program.1" 2>&1) || fail "man -l $program.1"
  for section in NAME SYNOPSIS DESCRIPTION FILES ENVIRONMENT; do
    grep -q "^$section" <<<"$page" || fail "$program.1 has no $section section"
  done
  grep -q -- '--version' <<<"$page" || fail "$program.1 does not list --version"
done
grep -q '^EXIT STATUS' <<<"$(man -l "$share/man/man1/noltace.1" 2>/dev/null)" || fail "noltace.1 has no EXIT STATUS"
grep -q 'Exit status' <<<"$(man -l "$share/man/man1/noltace-headless.1" 2>/dev/null)" || fail "noltace-headless.1 has no exit status"

# --version and --help with no display: neither may need X, Wayland or a ROM.
for program in noltace noltace-headless; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM NOLTACE_ROM=/nonexistent "$prefix/bin/$program" --version) \
    || fail "$program --version failed"
  grep -Eq "^$program [0-9]+\.[0-9]+" <<<"$out" || fail "$program --version said: $out"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --help) \
    || fail "$program --help failed"
  grep -q "^Usage: $program" <<<"$out" || fail "$program --help said: $out"
done
echo "install layout: all checks passed"
