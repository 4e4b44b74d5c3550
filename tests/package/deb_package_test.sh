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

for file in /usr/bin/orvantis /usr/bin/orvantis-service /usr/share/orvantis/orvantis_en.htm /usr/share/orvantis/orvantis_fr.htm \
  /usr/share/applications/org.example.orvantis.desktop /usr/share/metainfo/org.example.orvantis.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/org.example.orvantis.svg \
  /usr/share/icons/hicolor/256x256/apps/org.example.orvantis.png \
  /usr/share/man/man1/orvantis.1.gz /usr/share/man/man1/orvantis-service.1.gz /usr/share/doc/orvantis/copyright \
  /usr/lib/systemd/user/orvantis-headless.service; do
  [ -s "$file" ] || fail "$file was not installed"
done

# The user unit runs the service program the package installed, and systemd accepts it.
unit=/usr/lib/systemd/user/orvantis-headless.service
grep -qx 'ExecStart=/usr/bin/orvantis-service' "$unit" \
  || fail "$unit does not start /usr/bin/orvantis-service: $(grep '^ExecStart' "$unit")"
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
# Started and stopped by a user manager, where the machine runs one.
if command -v systemctl >/dev/null && systemctl --user show-environment >/dev/null 2>&1; then
  systemctl --user daemon-reload
  systemctl --user start orvantis-headless.service || fail "systemctl --user could not start the service"
  for _ in $(seq 50); do
    systemctl --user -q is-active orvantis-headless.service && break
    sleep 0.1
  done
  systemctl --user -q is-active orvantis-headless.service \
    || fail "the service did not stay up: $(journalctl --user -u orvantis-headless -n 20 --no-pager 2>&1)"
  systemctl --user stop orvantis-headless.service || fail "systemctl --user could not stop the service"
else
  echo "NOTE: no systemd user manager runs here (process 1 is $(ps -p 1 -o comm=)), so the unit was not started"
fi
# In the plugin folder of the configured library folder (lib, or lib/<multiarch> for /usr).
hamlib_module="$(dpkg -L orvantis | grep -m1 "/orvantis/liborvantis-hamlib.so.$version\$" || true)"
[ -s "$hamlib_module" ] || fail "Hamlib's module liborvantis-hamlib.so.$version was not installed: $(dpkg -L orvantis)"
file -b "$hamlib_module" | grep -q ', stripped' || fail "$hamlib_module is not stripped: $(file -b "$hamlib_module")"
for binary in /usr/bin/orvantis /usr/bin/orvantis-service; do
  file -b "$binary" | grep -q ', stripped' || fail "$binary is not stripped: $(file -b "$binary")"
  # An empty or relative run-path element is searched from the current directory.
  if readelf -d -W "$binary" | grep -E '\((RUN)?PATH\)' | grep -qvE '\[/[^:]*(:/[^:]*)*\]'; then
    fail "$binary has a run path that is not absolute: $(readelf -d -W "$binary" | grep -E 'PATH\)')"
  fi
done
# The service needs no display library at all: a tower computer may have none.
if ldd /usr/bin/orvantis-service | grep -E 'libQt6(Gui|Widgets)|libxcb|libX11'; then
  fail "/usr/bin/orvantis-service links a display library"
fi

answer="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/orvantis --version)" \
  || fail "orvantis --version failed"
grep -q "$version" <<<"$answer" || fail "orvantis --version said: $answer"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/orvantis --help-all | grep -q -- '-platform' \
  || fail "orvantis --help-all did not list Qt's options"
service_answer="$(/usr/bin/orvantis-service --version)" || fail "orvantis-service --version failed"
grep -q "$version" <<<"$service_answer" || fail "orvantis-service --version said: $service_answer"
# --headless hands over to the service program installed beside it: the same process
# runs the station, tells its caption, and saves its settings when told to stop.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/orvantis --headless -s "$work/settings" \
  2>"$work/headless.err" &
headless=$!
for _ in $(seq 150); do
  grep -q 'ORVANTIS' "$work/headless.err" 2>/dev/null && break
  kill -0 "$headless" 2>/dev/null || break
  sleep 0.1
done
[ "$(readlink "/proc/$headless/exe")" = /usr/bin/orvantis-service ] \
  || { kill "$headless" 2>/dev/null; fail "orvantis --headless did not become /usr/bin/orvantis-service: $(cat "$work/headless.err")"; }
kill -TERM "$headless"
wait "$headless" || fail "orvantis --headless did not close cleanly: $(cat "$work/headless.err")"
[ -s "$work/settings/Orvantis.ini" ] || fail "orvantis --headless saved no settings: $(cat "$work/headless.err")"

"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq orvantis >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; fail "apt could not remove the package"; }
installed=0
[ ! -e /usr/bin/orvantis ] || fail "/usr/bin/orvantis is left after removal"
[ ! -e /usr/bin/orvantis-service ] || fail "/usr/bin/orvantis-service is left after removal"
[ ! -e /usr/share/orvantis ] || fail "/usr/share/orvantis is left after removal"
if dpkg-query -W -f='${Status}' orvantis 2>/dev/null | grep -q 'installed'; then
  fail "dpkg still lists orvantis after removal"
fi
echo "PASS: built, lintian-clean, installed with its user unit, ran (${answer}), removed"
