#!/usr/bin/env bash
# The figures of large collections and searches as a user meets them, for one varnel-cli:
#
#   bench/scale_figures.sh [VARNEL_CLI] [WORK_DIR]
#
# Builds once in WORK_DIR (default /tmp/varnel-scale): a collection of every ICO file of the
# sample corpus and of /usr/share imported until it holds about 14,200 icons ("big.icc"); one of
# about as many icons and 904 MB ("big904.icc"), the files of 100 KB or more (icons with large
# images) repeated more often than the others so that the icons average 64 KB; the same files
# imported once in the order of their first import ("one.icc", "one904.icc"); and a tree of
# about 97,000 theme PNGs (/usr/share/icons copied as often as that takes). Then prints, for
# both collections, the wall time and peak resident set of: list --json, dedup, import unchanged
# (compared byte for byte), the same import while the file is cut to half; then the scans of
# the PNG tree with and without duplicates, and dedup of the scanned collection. The files are
# read once before each run so that they are in the page cache, as the memory figures assume.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=$(realpath "${1:-$root/build/default/src/cli/varnel-cli}")
work=${2:-/tmp/varnel-scale}
corpus=${VARNEL_CORPUS:-$root/../shared/corpus}
mkdir -p "$work"
cd "$work" || exit 1

timed() {  # label, command...
  local label=$1 status
  shift
  /usr/bin/time -o "$work/time.txt" -f '%e s %M KB' "$@" >/dev/null 2>"$work/stderr.txt"
  status=$?
  printf '%-30s %s (exit %s)\n' "$label" "$(tail -1 "$work/time.txt")" "$status"
}

# The icons a collection lists, without the file name.
listed() { "$cli" list "$1" 2>/dev/null | cut -d' ' -f2-; }

# The arguments that import each file of icons.txt about `repeats` times, and the large ones
# (100 KB or more) as often as a collection of ~14,200 icons averaging 64 KB needs.
weighted_arguments() {
  python3 - <<'PY'
import os
files = [line.strip() for line in open("icons.txt")]
large = [f for f in files if os.path.getsize(f) >= 100000]
small = [f for f in files if f not in large]
average = lambda group: sum(os.path.getsize(f) for f in group) / len(group)
count, target = 14200, 904e6
large_count = (target - count * average(small)) / (average(large) - average(small))
for group, total in ((small, count - large_count), (large, large_count)):
    for _ in range(round(total / len(group))):
        print("\n".join(group))
PY
}

if [[ ! -f big.icc ]]; then
  # Files that give no icon (damaged on purpose) are left out.
  find "$corpus/ico" /usr/share -iname '*.ico' -type f 2>/dev/null | while read -r f; do
    "$cli" list "$f" >/dev/null 2>&1 && echo "$f"
  done >icons.txt
  mapfile -t icons <icons.txt
  repeats=$(( (14200 + ${#icons[@]} - 1) / ${#icons[@]} ))
  args=()
  for ((i = 0; i < repeats; i++)); do args+=("${icons[@]}"); done
  "$cli" import "${args[@]}" -o big.icc --quiet 2>/dev/null
  "$cli" import "${icons[@]}" -o one.icc --quiet 2>/dev/null
fi
if [[ ! -f big904.icc ]]; then
  mapfile -t args < <(weighted_arguments)
  "$cli" import "${args[@]}" -o big904.icc --quiet 2>/dev/null
  # Each file once, in the order of its first import.
  mapfile -t args < <(printf '%s\n' "${args[@]}" | awk '!seen[$0]++')
  "$cli" import "${args[@]}" -o one904.icc --quiet 2>/dev/null
fi
if [[ ! -d pngs ]]; then
  (cd /usr/share/icons && find . -iname '*.png' -type f) >pngs.txt
  copies=$(( (97000 + $(wc -l <pngs.txt) - 1) / $(wc -l <pngs.txt) ))
  for i in $(seq -w 1 "$copies"); do
    mkdir -p "pngs/c$i"
    (cd /usr/share/icons && tar cf - -T "$work/pngs.txt") | tar xf - -C "pngs/c$i"
  done
fi

# The figures of one collection file: listing, de-duplicating, saving unchanged, and saving
# while another program cuts the file to half (a signal, exit above 128, is a failure).
collection_figures() {  # FILE, ONE: the collection, and its files imported once each
  local file=$1 one=$2
  printf '%s: %s icons, %s bytes\n' "$file" "$("$cli" list "$file" | wc -l)" "$(stat -c %s "$file")"
  cat "$file" "$one" >/dev/null
  timed "list --json $file" "$cli" list --json "$file"
  timed "dedup $file" "$cli" dedup "$file" -o dedup.icc
  "$cli" dedup "$one" -o dedup-one.icc >/dev/null 2>&1
  if cmp -s <(listed dedup.icc) <(listed dedup-one.icc); then
    echo "   dedup of $file lists as dedup of $one"
  else
    echo "   dedup of $file DIFFERS from dedup of $one"
  fi
  timed "import $file unchanged" "$cli" import "$file" -o copy.icc --quiet
  cmp -s "$file" copy.icc && echo "   same bytes" || echo "   bytes DIFFER"
  cp "$file" cut.icc
  cat cut.icc >/dev/null
  ( sleep 0.1; truncate -s $(( $(stat -c %s "$file") / 2 )) cut.icc ) &
  timed "import while cut to half" "$cli" import cut.icc -o cut-copy.icc --quiet
  wait
  echo "   $(tail -1 "$work/stderr.txt")"
  rm -f copy.icc cut.icc cut-copy.icc
}

printf 'tree: %s PNG files; %s cores\n' "$(find -L pngs -iname '*.png' | wc -l)" "$(nproc)"
collection_figures big.icc one.icc
collection_figures big904.icc one904.icc

find -L pngs -type f -exec cat {} + >/dev/null
timed "scan pngs --keep-duplicates" "$cli" scan pngs --mask "*.png" --keep-duplicates --quiet \
  -o pngs.icc
timed "dedup pngs.icc" "$cli" dedup pngs.icc -o pngs-dedup.icc
timed "scan pngs (duplicates excluded)" "$cli" scan pngs --mask "*.png" --quiet -o pngs-unique.icc

# The same search in the desktop program's window (bench/window_search, offscreen).
window=$(dirname "$cli")/../../bench/window_search
if [[ -x "$window" ]]; then
  printf '%-30s %s\n' "window open big.icc" "$("$window" --open big.icc 2>/dev/null)"
  printf '%-30s %s\n' "window open big904.icc" "$("$window" --open big904.icc 2>/dev/null)"
  printf '%-30s %s\n' "window search pngs (excluded)" "$("$window" pngs "*.png" 2>/dev/null)"
  printf '%-30s %s\n' "window search pngs" "$("$window" pngs "*.png" --keep-duplicates 2>/dev/null)"
  timed "scan pngs (again, for the ratio)" "$cli" scan pngs --mask "*.png" --keep-duplicates \
    --quiet -o pngs.icc
fi

# The desktop window's start and scrolling (bench/window_startup and bench/window_scroll,
# offscreen): the first paint without a file and with wine's shell32.dll (184 icons), then the
# frames and resident set of scrolling through about 100,000 icons (big.icc imported 7 times),
# a page at a time, a wheel notch at a time and a Page Down key at a time.
startup=$(dirname "$cli")/../../bench/window_startup
scroll=$(dirname "$cli")/../../bench/window_scroll
module=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll
if [[ -x "$startup" && -x "$scroll" ]]; then
  "$startup" --runs 15 2>/dev/null
  [[ -f "$module" ]] && "$startup" --runs 15 "$module" 2>/dev/null
  if [[ ! -f huge.icc ]]; then
    "$cli" import big.icc big.icc big.icc big.icc big.icc big.icc big.icc -o huge.icc --quiet \
      2>/dev/null
  fi
  cat huge.icc >/dev/null
  "$scroll" huge.icc 2>/dev/null
  "$scroll" huge.icc --wheel 2>/dev/null
  "$scroll" huge.icc --keys 2>/dev/null
fi
