#!/usr/bin/env bash
# Builds the Debian package and inspects it: the files it holds, its dependencies (those found by
# dpkg-shlibdeps and the Qt display plugins loaded at run time), and, where dpkg may install into
# a private root, that it installs and removes without leaving a file behind.
# deb_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null)
deb=$(ls "$work"/varnel_*.deb)

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/varnel ./usr/bin/varnel-cli ./usr/bin/varnel-thumbnailer \
  ./usr/share/varnel/toolbar.png ./usr/share/applications/varnel.desktop \
  ./usr/share/thumbnailers/varnel.thumbnailer ./usr/share/mime/packages/varnel.xml \
  ./usr/share/icons/hicolor/48x48/apps/varnel.png ./usr/share/man/man1/varnel-cli.1; do
  grep -qx -- "$file" <<<"$listing" || fail "the package lacks $file"
done
# The desktop's caches belong to the package manager's triggers, not to the package.
grep -q "mime/mime.cache\|mimeinfo.cache" <<<"$listing" && fail "the package holds a cache file"

depends=$(dpkg-deb -f "$deb" Depends)
for dependency in qt6-qpa-plugins libqt6widgets6 libc6; do
  grep -q "$dependency" <<<"$depends" || fail "Depends lacks $dependency: $depends"
done

# Installing into a private root with its own dpkg database, then removing it again.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg_root=(dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless
  --no-triggers --log=/dev/null)
if "${dpkg_root[@]}" -i "$deb" >/dev/null 2>"$work/dpkg.err"; then
  [[ -x "$root/usr/bin/varnel-cli" ]] || fail "varnel-cli is not installed in the private root"
  "${dpkg_root[@]}" --purge varnel >/dev/null
  left=$(find "$root" -path "$root/var" -prune -o -type f -print 2>/dev/null | head || true)
  [[ -z "$left" ]] || fail "files left after removing the package: $left"
else
  echo "SKIP: dpkg cannot install into a private root here: $(head -1 "$work/dpkg.err")"
fi

((failures == 0)) && echo "package test passed"
exit $((failures > 0))
