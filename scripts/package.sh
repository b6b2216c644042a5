#!/usr/bin/env bash
# Makes every package in build/packages/:
#   horalia_<version>_<arch>.deb and, where rpmbuild exists, horalia-<version>.<arch>.rpm
#   Horalia-<version>-win32.zip, Horalia-<version>-win64.zip   (portable, unpack and run)
#   Horalia-<version>-setup.exe                                 (NSIS installer, both builds)
#
#   package.sh           build and package
#   package.sh --check   also run lintian, install the .deb, run horalia-say and horalia (on a
#                        private Xvfb display) from /usr/bin and purge it again (needs root or
#                        sudo; changes this machine for the time of the check)
#
# The vendor addresses come from the CMake cache options HORALIA_*_URL; set them with
# `cmake --preset app -DHORALIA_UPDATE_URL=...` (and the Windows presets) before packaging.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case ${1:-} in
  "") ;;
  --check) check=1 ;;
  *)
    echo "package.sh: unknown option '$1' (only --check)" >&2
    exit 2
    ;;
esac

./scripts/install-deps.sh package

version=$(sed -n 's/^project(Horalia VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=build/packages
rm -rf "$out"
mkdir -p "$out"

echo "== Linux packages"
cmake --preset app >/dev/null
cmake --build --preset app
# rpmbuild keeps a package database in the home folder (~/.rpmdb): a home of its own, removed.
rpm_home=$(mktemp -d)
(cd build/app && HOME=$rpm_home cpack -B "$PWD/../packages/cpack" >/dev/null)
rm -rf "$rpm_home"
find "$out/cpack" -maxdepth 1 \( -name '*.deb' -o -name '*.rpm' \) -exec mv {} "$out/" \;
rm -rf "$out/cpack"
# CPack runs ldconfig from postinst and postrm for any library under /usr/lib, private ones too,
# and its strip keeps the compiler's .comment notes: the .deb is made again without those two
# scripts, which do nothing else, and without the notes.
for deb in "$out"/*.deb; do
  unpacked=$(mktemp -d)
  root=$unpacked/root
  dpkg-deb --raw-extract "$deb" "$root"
  rm -f "$root/DEBIAN/postinst" "$root/DEBIAN/postrm"
  find "$root/usr/bin" "$root/usr/lib" -type f -exec sh -c \
    'file -b "$1" | grep -q "^ELF" && objcopy --remove-section=.comment "$1"' _ {} \;
  (cd "$root" && find usr -type f -exec md5sum {} + | sort -k 2 >DEBIAN/md5sums)
  dpkg-deb --root-owner-group --build "$root" "$deb" >/dev/null
  rm -rf "$unpacked"
done

echo "== Windows packages"
stage=build/packages-stage
rm -rf "$stage"
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Horalia horalia-say horalia_update horalia_sendcomment \
    horalia_sound
  folder=$stage/$preset/Horalia
  mkdir -p "$folder"
  cp "build/$preset/bin/Horalia.exe" "build/$preset/bin/horalia-say.exe" \
    "build/$preset/bin/Update.dll" "build/$preset/bin/SendComment.dll" "$folder/"
  cp -r "build/$preset/bin/Sound" "$folder/"
  cp packaging/windows/readme-zh.txt "$folder/说明.txt"
  # Python's zipfile marks the names as UTF-8, so Windows shows 说明.txt as it is.
  python3 - "$stage/$preset" "$out/Horalia-$version-$preset.zip" <<'PY'
import os, sys, zipfile
root, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for folder, subfolders, files in os.walk(root):
        subfolders.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            archive.write(path, os.path.relpath(path, root))
PY
done
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE32="$PWD/$stage/win32/Horalia" \
  -DSTAGE64="$PWD/$stage/win64/Horalia" -DOUTFILE="$PWD/$out/Horalia-$version-setup.exe" \
  packaging/windows/horalia.nsi
rm -rf "$stage"

ls -l "$out"

if [ "$check" -eq 1 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  deb=$(ls "$out"/horalia_*.deb)
  echo "== lintian"
  lintian --fail-on error "$deb"
  echo "== install, run, purge"
  if dpkg-query -W -f='${Status}' horalia 2>/dev/null | grep -q 'install ok installed'; then
    echo "package.sh: horalia is installed already; purge it first (apt-get purge horalia)" >&2
    exit 1
  fi
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends "./$deb" >/dev/null
  status=0
  said=$(cd / && /usr/bin/horalia-say --at "2026-12-06 13:45:00" --print) || status=1
  echo "horalia-say --print: $said"
  [ "$said" = "提示 现在时间 下午 一 点 四 十 五 分" ] || status=1
  for file in /usr/bin/horalia /usr/lib/horalia/libUpdate.so /usr/lib/horalia/libSendComment.so \
    /usr/share/horalia/Sound/提示.wav; do
    [ -e "$file" ] || { echo "package.sh: $file is missing after installing" >&2; status=1; }
  done
  # Every library the program needs resolves with the package's dependencies alone.
  if ldd /usr/bin/horalia /usr/lib/horalia/*.so | grep 'not found'; then status=1; fi
  # The installed program starts on a private display and, two seconds later, calls DoUpdate: its
  # library is loaded, while with the default empty addresses no network or TLS library is.
  work=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  DISPLAY=:$(head -1 "$work/display") HOME=$work XDG_CONFIG_HOME=$work/config \
    XDG_RUNTIME_DIR=$work /usr/bin/horalia >"$work/horalia.log" 2>&1 &
  app=$!
  sleep 4
  if ! kill -0 "$app" 2>/dev/null; then
    echo "package.sh: /usr/bin/horalia ended at start:" >&2
    cat "$work/horalia.log" >&2
    status=1
  else
    grep -q /usr/lib/horalia/libUpdate.so "/proc/$app/maps" ||
      { echo "package.sh: horalia did not load libUpdate.so" >&2; status=1; }
    if grep -E 'libcurl|libssl|libgnutls|libUpdateCheck' "/proc/$app/maps"; then
      echo "package.sh: horalia loaded the libraries above with no address to fetch" >&2
      status=1
    fi
    kill "$app" 2>/dev/null || true
  fi
  wait "$app" 2>/dev/null || true
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
  [ "$status" -eq 0 ] && echo "horalia: started, called DoUpdate, loaded no network library"

  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq horalia >/dev/null
  left=$(find /usr/share/horalia /usr/lib/horalia /usr/bin/horalia /usr/bin/horalia-say \
    /usr/share/doc/horalia 2>/dev/null || true)
  [ -z "$left" ] || { echo "package.sh: left after purging: $left" >&2; status=1; }
  [ "$status" -eq 0 ] && echo "== the .deb installs, runs and purges cleanly"
  exit $status
fi
