#!/usr/bin/env bash
# Checks the helpers of scripts/bench-peers on small made-up files, and, when the decoding
# program and Pillow are both there, that the two decoders give the same RGBA pixels for the
# sample ICO files.
#
#   bench/bench_peers_test.sh [DECODE_ICONS_PROGRAM]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=SCRIPTDIR/../scripts/bench-peers
source "$here/../scripts/bench-peers"
[[ -n ${1:-} ]] && decoder=$1

failures=0
# The names in a folder, numbers in order, on one line.
entries_of() { find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort -n | paste -sd' '; }
check_equal() {
  local what=$1 expected=$2 actual=$3
  if [[ "$expected" != "$actual" ]]; then
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$what" "$expected" "$actual"
    failures=$((failures + 1))
  fi
}

# The first bytes of each file are read by one stream of heads: a file shorter than the
# magic, an empty file or a link must not shift or add names.
test_files_starting_with() {
  local dir=$work/magic
  mkdir -p "$dir"
  printf '\0' >"$dir/0-short"
  : >"$dir/1-empty"
  printf '\0\0\1\0\1\0' >"$dir/2-icon.ico"
  printf '\0\0\2\0\1\0' >"$dir/3-cursor.cur"
  printf 'MZ\220\0' >"$dir/4-module.dll"
  printf '\0\0\1\0' >"$dir/5 name with spaces.ico"
  ln -s "$dir/2-icon.ico" "$dir/6-link.ico"
  local listed
  listed=$(find "$dir" -mindepth 1 | sort | files_starting_with 00000100 | sed 's|.*/||')
  check_equal "ICO files by content" $'2-icon.ico\n5 name with spaces.ico' "$listed"
  listed=$(find "$dir" -mindepth 1 | sort | files_starting_with 4d5a | sed 's|.*/||')
  check_equal "PE modules by content" "4-module.dll" "$listed"
  check_equal "nothing given" "" "$(printf '' | files_starting_with 4d5a)"
}

# The names listed must be the links made, in turn, with each file's own extension.
test_icon_links() {
  local dir=$work/links list=$work/links.lst
  mkdir -p "$dir/sources"
  printf 'A' >"$dir/sources/a.ico"
  printf 'BB' >"$dir/sources/b.png"
  printf 'CCC' >"$dir/sources/c.x.png"
  printf '%s\n' "$dir/sources/a.ico" "$dir/sources/b.png" "$dir/sources/c.x.png" >"$list"
  link_icon_files "$list" "$dir/icons" 7
  local names
  names=$(icon_link_names "$list" 7 | paste -sd' ')
  check_equal "link names" "1/1.ico 1/2.png 1/3.png 2/1.ico 2/2.png 2/3.png 3/1.ico" "$names"
  local name contents=
  for name in $names; do contents+=$(cat "$dir/icons/$name"); done
  check_equal "links point at the files in turn" "ABBCCCABBCCCA" "$contents"
  link_icon_files "$list" "$dir/icons" 10 # a larger count adds a folder, keeps the others
  check_equal "folders for 10 links" "1 2 3 4" "$(entries_of "$dir/icons")"
  printf '%s\n' 1000000 2000000 500000 >"$work/sizes.lst"
  check_equal "megabytes of 4 of 3 files" "4.5" "$(linked_megabytes "$work/sizes.lst" 4)"
}

# A missing peer tool is named and its comparison skipped, not failed.
test_have_tools() {
  local said status=0
  said=$(have_tools sh no-such-tool-here) || status=$?
  check_equal "status without a tool" 1 "$status"
  check_equal "note without a tool" "   skipped: no-such-tool-here not installed" "$said"
  check_equal "tools present" "" "$(have_tools sh)"
}

test_ratio() {
  check_equal "ratio" "2.50" "$(ratio 10 4)"
  check_equal "ratio of a missing peer time" "n/a" "$(ratio n/a 4)"
  check_equal "ratio of a missing own time" "n/a" "$(ratio 10 n/a)"
  check_equal "ratio of a zero own time" "n/a" "$(ratio 10 0)"
}

test_best_time() {
  local runs=3 counter=$work/counter
  : >"$counter"
  count_run() { echo run >>"$counter"; }
  best_time count_run >/dev/null
  check_equal "runs of a timed command" 3 "$(count_lines "$counter")"
  local seconds
  seconds=$(best_time sleep 0.05)
  check_equal "time of a 50 ms sleep" in-range \
    "$(awk -v s="$seconds" 'BEGIN { print (s >= 0.045 && s < 5 ? "in-range" : s) }')"
  seconds=$(best_time false)
  [[ $seconds =~ ^[0-9]+\.[0-9]{3}$ ]] ||
    check_equal "time of a failing command" "a number" "$seconds"
}

# A failing command makes /usr/bin/time write a status line before the figures.
test_best_time_and_memory() {
  [[ -x /usr/bin/time ]] || { echo "skipped: /usr/bin/time not installed" && return; }
  local runs=2 figures
  figures=$(best_time_and_memory false)
  [[ $figures =~ ^[0-9]+\.[0-9]{2}\ [0-9]+$ ]] ||
    check_equal "figures of a failing command" "seconds and megabytes" "$figures"
  figures=$(best_time_and_memory head -c 64000000 /dev/zero)
  check_equal "peak memory of a command" "yes" \
    "$(awk -v f="${figures#* }" 'BEGIN { print (f < 1000 ? "yes" : f) }')"
}

test_numbered_folders() {
  printf '%s\n' a b c >"$work/three.lst"
  : >"$work/none.lst"
  mkdir -p "$work/numbered/old"
  numbered_folders "$work/numbered" "$work/three.lst"
  check_equal "numbered folders" "1 2 3" "$(entries_of "$work/numbered")"
  numbered_folders "$work/numbered" "$work/none.lst"
  check_equal "no numbered folders" "" "$(entries_of "$work/numbered")"
}

# The two decoders must agree on every image of the sample ICO files.
test_decoders_agree() {
  if [[ ! -x "$decoder" ]] || ! "$python" -c 'import PIL' 2>/dev/null; then
    echo "skipped: decoders' agreement (decode_icons or Pillow missing)"
    return
  fi
  local files=()
  mapfile -t files < <(list_ico_files)
  ((${#files[@]})) || { echo "skipped: decoders' agreement (no ICO files)" && return; }
  compare_decoded_pixels "${files[@]}" >/dev/null
  check_equal "images Pillow decodes differently" "" \
    "$(comm -3 "$work/own.digest" "$work/peer.digest")"
}

test_files_starting_with
test_icon_links
test_have_tools
test_ratio
test_best_time
test_best_time_and_memory
test_numbered_folders
test_decoders_agree
if ((failures)); then
  echo "$failures failed"
  exit 1
fi
echo "all passed"
