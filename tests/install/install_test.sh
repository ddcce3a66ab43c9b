#!/usr/bin/env bash
# Installs Varnel into a temporary prefix and checks what a desktop needs of it: the programs,
# data files, desktop entry, thumbnailer, MIME types, icons and manual pages; runs the thumbnailer
# through the Exec line of its own .thumbnailer file; and uninstalls it again.
# install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" --strip >/dev/null

expected=(bin/varnel bin/varnel-cli bin/varnel-thumbnailer
  share/varnel/toolbar.png share/varnel/menu.png
  share/applications/varnel.desktop share/thumbnailers/varnel.thumbnailer
  share/mime/packages/varnel.xml share/icons/hicolor/scalable/apps/varnel.svg
  share/man/man1/varnel.1 share/man/man1/varnel-cli.1)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/varnel.png")
done
for file in "${expected[@]}"; do
  [[ -e "$prefix/$file" ]] || fail "$file was not installed"
done

# No path of the build tree is compiled into the programs: they find their data beside them.
for program in varnel varnel-cli varnel-thumbnailer; do
  grep -q --fixed-strings "$(cd "$build" && pwd)" "$prefix/bin/$program" &&
    fail "$program holds a path of the build tree"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/varnel.desktop" || fail "desktop entry invalid"
fi

# Every command of varnel-cli --help has its entry in the manual page.
for command in $("$prefix/bin/varnel-cli" --help | sed -n 's/^  \([a-z]\+\) .*/\1/p'); do
  grep -q "^\.B $command\b" "$prefix/share/man/man1/varnel-cli.1" ||
    fail "varnel-cli.1 lacks the command $command"
done

# The thumbnailer as a file manager runs it: its Exec line with %s, %i and %o filled in.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/thumbnailers/varnel.thumbnailer")
thumbnail() {  # thumbnail SIZE INPUT OUTPUT
  local line=${exec_line//%s/$1}
  line=${line//%i/\"$2\"}
  line=${line//%o/\"$3\"}
  PATH="$prefix/bin:$PATH" eval "$line"
}
png_size() { /usr/bin/python3 -c 'import sys; from PIL import Image; print(*Image.open(sys.argv[1]).size)' "$1"; }

inputs=()
for candidate in /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll \
  /usr/share/nsis/Stubs/zlib-x86-unicode "${VARNEL_CORPUS:-}/ico"/*.ico; do
  # sound files only: the corpus holds damaged icons too
  [[ -f "$candidate" ]] && "$prefix/bin/varnel-cli" list "$candidate" >/dev/null 2>&1 &&
    inputs+=("$candidate")
done
((${#inputs[@]} > 0)) || fail "no module or icon file to make thumbnails of"
for input in "${inputs[@]:0:4}"; do
  rm -f "$work/out.png"
  thumbnail 128 "$input" "$work/out.png" || { fail "no thumbnail of $input"; continue; }
  read -r width height < <(png_size "$work/out.png")
  ((width <= 128 && height <= 128 && width > 0)) || fail "thumbnail of $input is ${width}x$height"
done

# Damaged and huge inputs end quickly, with status 1 and no output file.
head -c 1000 /usr/share/nsis/Stubs/zlib-x86-unicode >"$work/truncated.exe" 2>/dev/null ||
  printf 'MZ' >"$work/truncated.exe"
printf 'MZ' >"$work/huge.exe"
truncate -s 300M "$work/huge.exe"
echo "no icons here" >"$work/text.txt"
for input in truncated.exe huge.exe text.txt; do
  rm -f "$work/out.png"
  start=$(date +%s%N)
  if thumbnail 256 "$work/$input" "$work/out.png" 2>/dev/null; then
    fail "a thumbnail was made of $input"
  fi
  elapsed_ms=$((($(date +%s%N) - start) / 1000000))
  [[ -e "$work/out.png" ]] && fail "$input left an output file"
  ((elapsed_ms < 1000)) || fail "$input took $elapsed_ms ms"
done

# The program's own file types are known to the desktop by the installed definitions.
if command -v gio >/dev/null && [[ -f "$prefix/share/mime/mime.cache" ]]; then
  "$prefix/bin/varnel-cli" library "${inputs[0]}" -o "$work/icons.icl" --16bit >/dev/null
  "$prefix/bin/varnel-cli" import "${inputs[0]}" -o "$work/icons.icc" >/dev/null
  cp "$work/icons.icc" "$work/collection-without-extension"
  type_of() { XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share:/usr/share" \
    gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
  [[ $(type_of "$work/icons.icl") == application/x-varnel-icon-library ]] ||
    fail "icons.icl is $(type_of "$work/icons.icl")"
  [[ $(type_of "$work/collection-without-extension") == application/x-varnel-collection ]] ||
    fail "a collection is $(type_of "$work/collection-without-extension")"
fi

# Uninstalling removes every file the install wrote.
cmake --build "$build" --target uninstall >/dev/null
while read -r file; do
  [[ -e "$file" ]] && fail "$file is left after uninstalling"
done <"$build/install_manifest.txt"

((failures == 0)) && echo "install test passed"
exit $((failures > 0))
