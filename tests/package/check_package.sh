#!/usr/bin/env bash
# Checks of the Debian package, one step per ctest test.
#   check_package.sh build DIR CPACK CONFIG   make the package in DIR and unpack it into DIR/root
#   check_package.sh STEP DIR VERSION [app]   check the package made by build
# STEP is one of contents, programs, man, lintian, metainfo, desktop; "app"
# says the desktop calculator was built and belongs in the package.
set -euo pipefail

step=$1
dir=$2
root=$dir/root
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$step" = build ]; then
  rm -rf "$dir"
  # The tests run on a finished build, so cpack is told the tree was made by a
  # generator without a preinstall step: with Unix Makefiles that step only
  # re-checks every target, which takes longer than the packaging itself.
  "$3" --config "$4" -G DEB -B "$dir" -D CPACK_CMAKE_GENERATOR=Ninja >"$dir.log" 2>&1 || { cat "$dir.log"; fail "cpack failed"; }
  debs=("$dir"/*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages in $dir"
  dpkg-deb -x "${debs[0]}" "$root"
  echo "made ${debs[0]##*/}"
  exit 0
fi

version=$3
app=${4:-}
deb=$dir/sumtra_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb; is the test Package.build run?"

case "$step" in
contents)
  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = sumtra ] || fail "package name $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "package version $(field Version), expected $version"
  [ "$(field Section)" = math ] || fail "section $(field Section)"
  [ -n "$(field Homepage)" ] || fail "no homepage"
  [ -n "$(field Maintainer)" ] || fail "no maintainer"
  depends=$(field Depends)
  echo "Depends: $depends"
  [[ $depends == *libc6* ]] || fail "dpkg-shlibdeps did not fill in Depends"
  if [ -n "$app" ] && [[ $depends != *libqt6widgets6* ]]; then fail "Depends lacks the Qt 6 Widgets library"; fi
  programs=$(ls "$root/usr/bin" | tr '\n' ' ')
  expected="sumtra-cli "
  [ -n "$app" ] && expected="sumtra sumtra-cli "
  [ "$programs" = "$expected" ] || fail "/usr/bin holds '$programs', expected '$expected'"
  files=(usr/share/man/man1/sumtra-cli.1.gz usr/share/doc/sumtra/copyright usr/share/doc/sumtra/changelog.gz)
  [ -n "$app" ] && files+=(usr/share/man/man1/sumtra.1.gz usr/share/sumtra/SymbolMap.txt usr/share/sumtra/Help/Sumtra.htm
                           usr/share/applications/org.sumtra.Sumtra.desktop usr/share/metainfo/org.sumtra.Sumtra.metainfo.xml
                           usr/share/icons/hicolor/scalable/apps/org.sumtra.Sumtra.svg)
  for f in "${files[@]}"; do [ -f "$root/$f" ] || fail "the package lacks /$f"; done
  for f in "$root"/usr/bin/*; do
    if readelf -S "$f" | grep -q '\.debug_info\|\.symtab'; then fail "${f##*/} is not stripped"; fi
  done
  grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$root/usr/share/doc/sumtra/copyright" \
    || fail "the copyright file is not in the machine-readable format"
  grep -qxF " $(grep -m1 '^THE SOFTWARE' "${BASH_SOURCE%/*}/../../LICENSE")" "$root/usr/share/doc/sumtra/copyright" \
    || fail "the copyright file lacks the licence text"
  ;;
programs)
  out=$("$root/usr/bin/sumtra-cli" -e 1+2) || fail "sumtra-cli -e 1+2 failed"
  [ "$out" = "1+2 = 3" ] || fail "sumtra-cli -e 1+2 printed '$out'"
  out=$("$root/usr/bin/sumtra-cli" --version) || fail "sumtra-cli --version failed"
  [ "$out" = "sumtra-cli $version" ] || fail "sumtra-cli --version printed '$out'"
  if [ -n "$app" ]; then
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/sumtra" --version) || fail "sumtra --version failed"
    [ "$out" = "sumtra $version" ] || fail "sumtra --version printed '$out'"
  fi
  ;;
man)
  pages=("$root"/usr/share/man/man1/*.1.gz)
  for page in "${pages[@]}"; do
    name=$(basename "$page" .1.gz)
    gzip -t "$page" || fail "$page is not gzip"
    if command -v man >/dev/null; then
      out=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>"$dir/man.err") || true
    else
      out=$(zcat "$page" | groff -man -Tutf8 -ww 2>"$dir/man.err") || true
    fi
    if [ -s "$dir/man.err" ]; then cat "$dir/man.err"; fail "$name.1.gz renders with warnings"; fi
    grep -q "^ *$name - " <<<"$out" || fail "$name.1.gz renders without its NAME line"
    echo "$name.1.gz: $(wc -l <<<"$out") lines"
  done
  ;;
lintian)
  # Errors fail; warnings and the rest are shown.
  lintian --fail-on error --display-info "$deb"
  ;;
metainfo)
  appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
  ;;
desktop)
  # Hints count too: they name entries that menus show wrongly.
  if ! out=$(desktop-file-validate "$root"/usr/share/applications/*.desktop 2>&1) || [ -n "$out" ]; then
    echo "$out"
    fail "desktop-file-validate complained"
  fi
  ;;
*)
  fail "unknown step $step"
  ;;
esac
