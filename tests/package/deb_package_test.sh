#!/usr/bin/env bash
# The Debian package from outside: built with CPack from the build folder, checked
# by lintian, installed with apt, run, and removed again without leftovers.
# Usage: deb_package_test.sh BUILD_DIR VERSION
set -euo pipefail
build_dir="$1"
version="$2"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || fail "installing the package needs root or password-less sudo"
  as_root=(sudo -n)
fi

# A real installation of Orvantis is the user's, not the test's to replace.
if dpkg-query -W -f='${Status}' orvantis 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIP: an orvantis package is installed on this machine already"
  exit 77
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/orvantis-deb.XXXXXX")"
installed=0
cleanup() {
  if [ "$installed" -eq 1 ]; then
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq orvantis >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb="$work/orvantis_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb after cpack"

# Dependencies from dpkg-shlibdeps: the Qt libraries the program links appear.
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6core6 libqt6widgets6 libqt6serialport6 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

lintian_out="$(lintian --fail-on error "$deb" 2>&1)" || { echo "$lintian_out" >&2; fail "lintian reports errors"; }
if grep -q '^E:' <<<"$lintian_out"; then
  echo "$lintian_out" >&2
  fail "lintian reports errors"
fi

"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; fail "apt could not install the package"; }
installed=1

for file in /usr/bin/orvantis /usr/share/orvantis/orvantis_en.htm /usr/share/orvantis/orvantis_fr.htm \
  /usr/share/applications/org.example.orvantis.desktop /usr/share/metainfo/org.example.orvantis.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/org.example.orvantis.svg \
  /usr/share/icons/hicolor/256x256/apps/org.example.orvantis.png \
  /usr/share/man/man1/orvantis.1.gz /usr/share/doc/orvantis/copyright \
  /usr/lib/systemd/user/orvantis-headless.service; do
  [ -s "$file" ] || fail "$file was not installed"
done

# The user unit runs the program the package installed, and systemd accepts it.
unit=/usr/lib/systemd/user/orvantis-headless.service
grep -qx 'ExecStart=/usr/bin/orvantis --headless' "$unit" \
  || fail "$unit does not start /usr/bin/orvantis: $(grep '^ExecStart' "$unit")"
if command -v systemd-analyze >/dev/null; then
  # A user manager's checks without one running: a private runtime folder is enough.
  mkdir -m 700 "$work/runtime"
  man_check=--man=yes
  command -v man >/dev/null || man_check=--man=no
  verified="$(XDG_RUNTIME_DIR="$work/runtime" systemd-analyze --user verify "$man_check" "$unit" 2>&1)" \
    || { echo "$verified" >&2; fail "systemd-analyze verify rejects $unit"; }
  [ -z "$verified" ] || echo "$verified" >&2
else
  echo "NOTE: systemd-analyze is missing (Debian's systemd package), so $unit was not verified"
fi
for binary in /usr/bin/orvantis /usr/lib/orvantis/liborvantis-window.so; do
  file -b "$binary" | grep -q ', stripped' || fail "$binary is not stripped: $(file -b "$binary")"
done

answer="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/orvantis --version)" \
  || fail "orvantis --version failed"
grep -q "$version" <<<"$answer" || fail "orvantis --version said: $answer"
# The window lives in a module of its own: --help-all loads it to list Qt's options.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/orvantis --help-all | grep -q -- '-platform' \
  || fail "orvantis --help-all did not list Qt's options: the window module is missing or broken"

"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq orvantis >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; fail "apt could not remove the package"; }
installed=0
[ ! -e /usr/bin/orvantis ] || fail "/usr/bin/orvantis is left after removal"
[ ! -e /usr/share/orvantis ] || fail "/usr/share/orvantis is left after removal"
if dpkg-query -W -f='${Status}' orvantis 2>/dev/null | grep -q 'installed'; then
  fail "dpkg still lists orvantis after removal"
fi
echo "PASS: built, lintian-clean, installed with its user unit, ran (${answer}), removed"
