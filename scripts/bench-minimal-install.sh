#!/usr/bin/env bash
# What installing the package costs on a fresh minimal Debian 12: for each .deb given, and once
# with and once without its Recommends, prints the packages added, the disk space added (apt's
# own "After this operation" figure, and du -sx of the whole root before and after) and how
# long `apt-get install` takes. It also says so when the installed programs do not answer
# --version, or horalia-say cannot read a time, on that system.
#
# A `debootstrap --variant=minbase bookworm` root (with bookworm-updates and the security
# archive, as an installed system has them) is built once per run; every measurement gets its
# own copy of it, with /proc mounted and a policy-rc.d that keeps daemons from starting. The
# packages are downloaded before the timed install, so the seconds are those of unpacking and
# configuring, not of the network; downloads are kept between measurements in the work folder.
#
#   scripts/bench-minimal-install.sh [--bare-qt-tray=PROGRAM] DEB...
#   --bare-qt-tray packages PROGRAM (a bare Qt 6 Widgets tray program, such as the test target
#   qt_tray_baseline) with the dependencies dpkg-shlibdeps finds for it and Qt's platform plugins,
#   measures it first and prints each DEB's added space as a multiple of its.
#   (run as root; the work folder is made under $HORALIA_BENCH_DIR, default build/, and removed
#   at the end; HORALIA_BENCH_MIRROR picks the mirror, default http://deb.debian.org/debian;
#   HORALIA_BENCH_TOP=N also lists the N largest packages each install with Recommends adds)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bare_program=
case ${1:-} in --bare-qt-tray=*) bare_program=$(realpath "${1#*=}"); shift ;; esac
[ $# -gt 0 ] || { echo "usage: $0 [--bare-qt-tray=PROGRAM] DEB..." >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "bench-minimal-install: run as root" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "bench-minimal-install: debootstrap is not installed" >&2; exit 1; }
debs=()
for deb in "$@"; do debs+=("$(realpath "$deb")"); done
mirror=${HORALIA_BENCH_MIRROR:-http://deb.debian.org/debian}
top=${HORALIA_BENCH_TOP:-0}

bench_dir=${HORALIA_BENCH_DIR:-$root/build}
mkdir -p "$bench_dir"
work=$(mktemp -d "$bench_dir/minimal-install.XXXXXX")
cleanup() {
  set +e
  # Whatever is still mounted below the work folder (debootstrap's own mounts included), deepest first.
  findmnt -rn -o TARGET | awk -v w="$work/" 'index($0, w) == 1' | sort -r | while read -r m; do umount "$m" || umount -l "$m"; done
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

in_root() {  # in_root ROOT COMMAND...
  local r=$1; shift
  env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive chroot "$r" "$@"
}
installed() {  # "KIB PACKAGE" for each installed package
  # shellcheck disable=SC2016  # dpkg-query's own ${field}s
  in_root "$1" dpkg-query -W -f='${db:Status-Abbrev}\t${Installed-Size}\t${Package}\n' |
    awk -F '\t' '$1 ~ /^ii/ { print $2 + 0, $3 }'
}
du_bytes() { du -sx -B1 "$1" | cut -f1; }

logged() {  # the base's set-up says a lot: kept in a log, shown when a step fails
  "$@" >>"$work/setup.log" 2>&1 || { tail -20 "$work/setup.log" >&2; exit 1; }
}

echo "building the minimal root ..." >&2
base=$work/base
logged debootstrap --variant=minbase bookworm "$base" "$mirror"
cat >"$base/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $mirror-security bookworm-security main
EOF
printf '#!/bin/sh\nexit 101\n' >"$base/usr/sbin/policy-rc.d"
chmod 755 "$base/usr/sbin/policy-rc.d"
logged in_root "$base" apt-get update
logged in_root "$base" apt-get upgrade -y
logged in_root "$base" apt-get clean
logged in_root "$base" apt-cache gencaches  # as apt leaves them after any install: on both sides alike
mkdir "$work/archives"

# What the installed package runs without a desktop: each program answers --version, and
# horalia-say reads a time, in the installed layout and the minimal system's C.UTF-8 locale.
smoke_test() {  # ROOT NAME MODE
  local program line
  for program in horalia horalia-say; do
    [ -x "$1/usr/bin/$program" ] || continue
    in_root "$1" "$program" --version >/dev/null 2>&1 ||
      echo "$2 $3: $program --version failed on the minimal system" >&2
  done
  [ -x "$1/usr/bin/horalia-say" ] || return 0
  line=$(in_root "$1" horalia-say --print --at "2026-12-08 13:45:00" --format 0 2>&1 || true)
  [ "$line" = "提示 现在时间 下午 一 点 四 十 五 分" ] ||
    echo "$2 $3: horalia-say --print said '$line' on the minimal system" >&2
}

measure() {  # measure DEB recommends|no-recommends
  local deb=$1 mode=$2 r=$work/root opts=() name
  name=$(basename "$deb")
  [ "$mode" = recommends ] || opts=(--no-install-recommends)
  cp -a "$base" "$r"
  cp "$deb" "$r/root/$name"
  installed "$r" >"$work/before"
  local du_before; du_before=$(du_bytes "$r")

  mount -t proc proc "$r/proc"
  find "$work/archives" -name '*.deb' -exec mv -t "$r/var/cache/apt/archives" {} +
  in_root "$r" apt-get install -y -qq --download-only "${opts[@]}" "/root/$name" >/dev/null
  local t0=$EPOCHREALTIME
  in_root "$r" apt-get install -y "${opts[@]}" "/root/$name" >"$work/apt.log" 2>&1 ||
    { tail -30 "$work/apt.log" >&2; return 1; }
  local t1=$EPOCHREALTIME
  find "$r/var/cache/apt/archives" -name '*.deb' -exec mv -t "$work/archives" {} +
  installed "$r" >"$work/after"
  smoke_test "$r" "$name" "$mode"
  umount "$r/proc"

  local du_after apt_mb
  du_after=$(du_bytes "$r")
  added[$name/$mode]=$((du_after - du_before))
  apt_mb=$(sed -n 's/^After this operation, \(.*\) of additional disk space will be used\.$/\1/p' "$work/apt.log")
  awk -v n="$name" -v m="$mode" -v p=$(($(wc -l <"$work/after") - $(wc -l <"$work/before"))) -v apt="${apt_mb:-?}" \
    -v b="$du_before" -v a="$du_after" -v t0="$t0" -v t1="$t1" \
    'BEGIN { printf "%-32s %-14s +%3d packages  apt %-8s du %6.1f -> %6.1f MB (+%5.1f)  %5.1f s\n",
                    n, m, p, apt, b / 1e6, a / 1e6, (a - b) / 1e6, t1 - t0 }'
  if [ "$mode" = recommends ] && [ "$top" -gt 0 ]; then
    awk 'NR == FNR { old[$2]; next } !($2 in old)' "$work/before" "$work/after" | sort -rn |
      awk -v top="$top" 'NR <= top { printf "    %7.1f MB  %s\n", $1 * 1024 / 1e6, $2 }'  # Installed-Size is in KiB
  fi
  rm -rf --one-file-system "$r"
}

# A package of PROGRAM alone, depending on what dpkg-shlibdeps finds for it.
bare_qt_tray_deb() {
  local dir=$work/bare deps
  mkdir -p "$dir/debian" "$dir/package/DEBIAN" "$dir/package/usr/bin"
  printf 'Source: bare-qt6-tray\n\nPackage: bare-qt6-tray\nArchitecture: any\n' >"$dir/debian/control"
  cp "$bare_program" "$dir/package/usr/bin/bare-qt6-tray"
  deps=$(cd "$dir" && dpkg-shlibdeps -O package/usr/bin/bare-qt6-tray | sed -n 's/^shlibs:Depends=//p')
  cat >"$dir/package/DEBIAN/control" <<EOF
Package: bare-qt6-tray
Version: 1
Architecture: $(dpkg --print-architecture)
Maintainer: bench <bench@localhost>
Depends: $deps, qt6-qpa-plugins
Description: a bare Qt 6 tray program, the baseline of the install measurement
EOF
  dpkg-deb --root-owner-group --build "$dir/package" "$work/bare-qt6-tray.deb" >/dev/null
  echo "$work/bare-qt6-tray.deb"
}

declare -A added
if [ -n "$bare_program" ]; then debs=("$(bare_qt_tray_deb)" "${debs[@]}"); fi
for deb in "${debs[@]}"; do
  for mode in recommends no-recommends; do measure "$deb" "$mode"; done
done
if [ -n "$bare_program" ]; then
  for deb in "${debs[@]:1}"; do
    for mode in recommends no-recommends; do
      awk -v n="$(basename "$deb")" -v m="$mode" -v a="${added[$(basename "$deb")/$mode]}" \
        -v b="${added[bare-qt6-tray.deb/$mode]}" \
        'BEGIN { printf "%-32s %-14s %.2f times the bare Qt 6 tray program\n", n, m, a / b }'
    done
  done
fi
