#!/usr/bin/env bash
# Installs the Debian packages a task needs. Safe to run again: it does nothing when everything is
# already present.
#   install-deps.sh run       build and run the Linux program (scripts/run.sh)
#   install-deps.sh package   also cross-compile for Windows and make the packages (package.sh)
#   install-deps.sh [all]     everything: tests, benchmarks, Wine, regenerating resources
set -euo pipefail

mode=${1:-all}

run_packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libxcb1-dev libxcb-keysyms1-dev libglib2.0-dev
  libpulse-dev libsndfile1-dev libsamplerate0-dev libcurl4-openssl-dev
  fonts-wqy-microhei
  # cmake/man_page.py makes the manual pages from the programs' --help.
  python3
)
package_packages=(
  googletest
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  dpkg-dev fakeroot file lintian appstream desktop-file-utils rpm nsis p7zip-full xvfb
)
test_packages=(
  build-essential git ccache
  clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # wine64 runs the 64-bit Windows build on every x86-64 host; wine32 the 32-bit one where the
  # kernel runs 32-bit programs.
  wine wine64 wine32:i386 xvfb xauth x11-utils xdotool imagemagick
  qt6-base-dev-tools libqt6svg6 qt6-l10n-tools
  pulseaudio pulseaudio-utils
  locales
  espeak-ng sox python3-pil
  trayer
  # groff reads the manual pages in their test, man shows them; systemd's autostart generator
  # and desktop-file-validate read the autostart entry.
  groff-base man-db systemd desktop-file-utils
  # A StatusNotifierItem host for the panel test and scripts/bench-responsiveness.sh; gdbus; a
  # headless Wayland compositor and Qt's Wayland plugin for the program on native Wayland.
  xfce4-panel dbus-bin libglib2.0-bin weston qt6-wayland
  # LXQt's panel, a second StatusNotifierItem host (on Qt 5).
  lxqt-panel
  # An X client that holds the hotkey first; the stand-ins of the notification server and the
  # portal (python3-gi); the GNOME notification setting's schema and GNOME's store for it (dconf).
  xbindkeys python3-gi gsettings-desktop-schemas dconf-gsettings-backend dconf-service
  # The accessibility bus and its Python client, which read the settings pages as Orca does.
  at-spi2-core python3-pyatspi
  # The libraries of xdg-desktop-portal, unpacked into build/peers below.
  libfuse3-3 libjson-glib-1.0-0 libpipewire-0.3-0 libgdk-pixbuf-2.0-0 libsystemd0
  # Daytime daemons the network-time tests ask: xinetd, and openbsd-inetd's own libraries (its
  # package conflicts with xinetd's, so its binary is unpacked into build/peers below); the
  # libraries of chrony and ntpsec, unpacked there too; iproute2 brings loopback up in the private
  # network namespace where ntpsec serves port 123.
  xinetd libwrap0 libbsd0 libevent-2.1-7 libcap2 libedit2 libgnutls30 libnettle8 libseccomp2
  libssl3 iproute2
  # The Chinese calendar's tables are made by node from npm packages (calendar/tools), with ICU
  # (python3-icu) as one more reference in the report.
  nodejs python3-icu
)
# Debian's nodejs comes without npm; a nodejs that brings its own npm conflicts with Debian's.
command -v npm >/dev/null || test_packages+=(npm)

case $mode in
  run) packages=("${run_packages[@]}") ;;
  package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
  all) packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "install-deps.sh: unknown task '$mode' (run, package or all)" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ "$mode" = all ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  missing+=(wine32:i386)
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine's ANSI code page follows the locale: the Windows tests run under zh_CN.UTF-8 (code page 936);
# some also run in Japanese, German and English, as do Linux tests of the same.
if [ "$mode" = all ]; then
  for wanted in zh_CN ja_JP de_DE en_US; do
    locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8$" && continue
    "${sudo_cmd[@]}" sed -i "s/^# *\($wanted.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen ||
      echo "$wanted.UTF-8 UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    generate=1
  done
  if [ -n "${generate:-}" ]; then "${sudo_cmd[@]}" locale-gen >/dev/null; fi
fi

# Peers the tests run, unpacked beside the builds and never installed, so that no service starts
# and nothing sets this computer's clock. Time servers: openbsd-inetd (its package cannot be
# installed next to xinetd's), inetutils-inetd, chrony and ntpsec.
peers_root="$(cd "$(dirname "$0")/.." && pwd)/build/peers"
unpack_peer() {  # package, a file it holds
  [ "$mode" = all ] && [ ! -e "$peers_root/$1/$2" ] || return 0
  local download
  download=$(mktemp -d)
  chmod 755 "$download"  # apt's download user writes here
  (cd "$download" && apt-get download -qq "$1" 2>/dev/null || {
    "${sudo_cmd[@]}" apt-get update -qq && apt-get download -qq "$1"; })
  mkdir -p "$peers_root/$1"
  dpkg -x "$download/$1"_*.deb "$peers_root/$1"
  rm -rf "$download"
}
unpack_peer openbsd-inetd usr/sbin/inetd
unpack_peer inetutils-inetd usr/sbin/inetutils-inetd
unpack_peer chrony usr/sbin/chronyd
unpack_peer ntpsec usr/sbin/ntpd
# The desktop portal that opens links, and the backend description it needs for OpenURI: run from
# here, so that no session bus on this machine starts them on its own.
unpack_peer xdg-desktop-portal usr/libexec/xdg-desktop-portal
unpack_peer xdg-desktop-portal-gtk usr/share/xdg-desktop-portal/portals/gtk.portal
