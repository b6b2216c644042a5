#!/usr/bin/env bash
# The manual pages made at build time: groff reads them without a warning, and every option that
# a program's --help names appears in its page as man shows it.
#   man_pages.sh PACKAGING_DIR PROGRAM...
set -u
pages=$1
shift
. "$(dirname "$0")/../shell_checks.sh"
for program in "$@"; do
  name=$(basename "$program")
  page=$pages/$name.1
  check "$name.1: groff gives no warning" \
    sh -c 'test -z "$(LC_ALL=C.UTF-8 groff -man -ww -z -K utf8 -T utf8 "$0" 2>&1)"' "$page"
  shown=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)
  options=$(LC_ALL=C.UTF-8 "$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
  check "$name --help names options" test -n "$options"
  for option in $options; do
    check "$name.1 names $option" grep -q -e "$option\\b" <<<"$shown"
  done
done
report
