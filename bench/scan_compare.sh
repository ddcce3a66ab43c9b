#!/usr/bin/env bash
# Scans one tree of real files with varnel-cli scan and with a shell loop over icoutils
# (wrestool -x -t14 for modules, icotool -x for icon files), and prints files and icons per
# second of both. The tree is built from what Debian packages installed: NSIS icons and stubs,
# wine's DLLs when present, /usr/share/icons and /usr/share/pixmaps, plus non-icon files.
# bench/scan_compare.sh [tree folder]   (default: a fresh folder under /tmp)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${VARNEL_CLI:-"$root/build/default/src/cli/varnel-cli"}
[[ -x "$cli" ]] || "$root/scripts/build" default varnel-cli >/dev/null
tree=${1:-$(mktemp -d /tmp/varnel-scan-tree.XXXXXX)}
work=$(mktemp -d /tmp/varnel-scan-work.XXXXXX)
trap 'rm -rf "$work"' EXIT

if [[ -z "$(ls -A "$tree" 2>/dev/null)" ]]; then
  mkdir -p "$tree"
  for source in /usr/share/nsis /usr/lib/x86_64-linux-gnu/wine /usr/lib/wine /usr/share/icons \
      /usr/share/pixmaps /usr/share/doc; do
    [[ -d "$source" ]] && cp -r "$source" "$tree/$(basename "$source")" 2>/dev/null || true
  done
fi

files=$(find "$tree" -type f | wc -l)
now() { date +%s.%N; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.0f", (s > 0 ? n / s : 0) }'; }

start=$(now)
"$cli" scan --quiet --keep-duplicates --mask '*.*' "$tree" -o "$work/scan.icc"
varnel_seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
varnel_icons=$("$cli" list "$work/scan.icc" | wc -l)

start=$(now)
icoutils_icons=0
while IFS= read -r -d '' file; do
  out="$work/x"
  rm -rf "$out" && mkdir "$out"
  wrestool -x -t14 -o "$out" "$file" >/dev/null 2>&1 || icotool -x -o "$out" "$file" >/dev/null 2>&1 || true
  icoutils_icons=$((icoutils_icons + $(ls "$out" | wc -l)))
done < <(find "$tree" -type f -print0)
icoutils_seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')

echo "tree: $tree ($files files)"
printf 'varnel-cli scan: %.2f s, %s files/s, %s icons, %s icons/s\n' "$varnel_seconds" \
  "$(rate "$files" "$varnel_seconds")" "$varnel_icons" "$(rate "$varnel_icons" "$varnel_seconds")"
printf 'icoutils loop:   %.2f s, %s files/s, %s icons, %s icons/s\n' "$icoutils_seconds" \
  "$(rate "$files" "$icoutils_seconds")" "$icoutils_icons" "$(rate "$icoutils_icons" "$icoutils_seconds")"
awk -v a="$icoutils_seconds" -v b="$varnel_seconds" 'BEGIN { printf "speed ratio (icoutils time / varnel time): %.1f\n", a / b }'
