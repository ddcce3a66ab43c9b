#!/usr/bin/env bash
# The figures of large collections and searches as a user meets them, for one varnel-cli:
#
#   bench/scale_figures.sh [VARNEL_CLI] [WORK_DIR]
#
# Builds once in WORK_DIR (default /tmp/varnel-scale): a collection of every ICO file of the
# sample corpus and of /usr/share imported until it holds about 14,200 icons ("big.icc"), the
# same files imported once ("one.icc"), and a tree of about 97,000 theme PNGs (/usr/share/icons
# copied 20 times). Then prints the wall time and peak resident set of: list --json, dedup,
# import unchanged (compared byte for byte), the same import while the file is cut to half,
# scan of the PNG tree, and dedup of the scanned collection. The files are read once before
# each run so that they are in the page cache, as the memory figures assume.
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
if [[ ! -d pngs ]]; then
  (cd /usr/share/icons && find . -iname '*.png' -type f) >pngs.txt
  for i in $(seq -w 1 20); do
    mkdir -p "pngs/c$i"
    (cd /usr/share/icons && tar cf - -T "$work/pngs.txt") | tar xf - -C "pngs/c$i"
  done
fi

printf 'collection: %s icons, %s bytes; tree: %s PNG files; %s cores\n' \
  "$("$cli" list big.icc | wc -l)" "$(stat -c %s big.icc)" \
  "$(find -L pngs -iname '*.png' | wc -l)" "$(nproc)"
cat big.icc one.icc >/dev/null
timed "list --json big.icc" "$cli" list --json big.icc
timed "dedup big.icc" "$cli" dedup big.icc -o dedup.icc
"$cli" dedup one.icc -o dedup-one.icc >/dev/null 2>&1
if cmp -s <(listed dedup.icc) <(listed dedup-one.icc); then
  echo "   dedup of big.icc lists as dedup of one.icc"
else
  echo "   dedup of big.icc DIFFERS from dedup of one.icc"
fi
timed "import big.icc unchanged" "$cli" import big.icc -o copy.icc --quiet
cmp -s big.icc copy.icc && echo "   same bytes" || echo "   bytes DIFFER"

# The file cut to half while it is read: a signal (exit above 128) is a failure.
cp big.icc cut.icc
cat cut.icc >/dev/null
( sleep 0.3; truncate -s $(( $(stat -c %s big.icc) / 2 )) cut.icc ) &
timed "import while cut to half" "$cli" import cut.icc -o cut-copy.icc --quiet
wait
echo "   $(tail -1 "$work/stderr.txt")"

find -L pngs -type f -exec cat {} + >/dev/null
timed "scan pngs --keep-duplicates" "$cli" scan pngs --mask "*.png" --keep-duplicates --quiet \
  -o pngs.icc
timed "dedup pngs.icc" "$cli" dedup pngs.icc -o pngs-dedup.icc

# The same search in the desktop program's window (bench/window_search, offscreen).
window=$(dirname "$cli")/../../bench/window_search
if [[ -x "$window" ]]; then
  printf '%-30s %s\n' "window open big.icc" "$("$window" --open big.icc 2>/dev/null)"
  printf '%-30s %s\n' "window search pngs" "$("$window" pngs "*.png" --keep-duplicates 2>/dev/null)"
  timed "scan pngs (again, for the ratio)" "$cli" scan pngs --mask "*.png" --keep-duplicates \
    --quiet -o pngs.icc
fi

# The desktop window's start and scrolling (bench/window_startup and bench/window_scroll,
# offscreen): the first paint without a file and with wine's shell32.dll (184 icons), then the
# frames and resident set of scrolling through about 100,000 icons (big.icc imported 7 times),
# a page at a time and a wheel notch at a time.
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
fi
