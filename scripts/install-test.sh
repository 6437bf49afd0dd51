#!/usr/bin/env bash
# Installs the built package on THIS machine, as a user would, and takes it away again:
# dpkg -i, the agent started from /opt, the uninstall of the settings application (its
# privileged program purging the package), then an install, dpkg -r and dpkg --purge.
# Checks that the package's contents are the install tree, that lintian finds no error, and
# that nothing of the suite is left behind. Meant for a disposable machine (root, Debian 12).
set -uo pipefail
build=${1:-build}
deb=$(ls "$build"/package/nuvrotablet_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "no package in $build/package: run make package" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "install-test needs root" >&2; exit 1; }
if dpkg-query -W -f='${Status}' nuvrotablet 2>/dev/null | grep -q "ok installed"; then
  echo "nuvrotablet is already installed here; refusing to touch it" >&2; exit 1
fi
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
step() { echo "== $*"; }

step "package contents against the install tree"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
DESTDIR="$tree" cmake --install "$build" >/dev/null
diff <(cd "$tree" && find . -type f | sed 's|^\.||' | sort) \
     <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\.||' | sort) \
  || fail "the package does not hold exactly the install tree"
echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "depends: $(dpkg-deb -f "$deb" Depends)"

step "lintian"
if ! command -v lintian >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends lintian >/dev/null
fi
lint=$(lintian --no-tag-display-limit "$deb" 2>&1)
echo "$lint"
grep -q "^E: " <<<"$lint" && fail "lintian reports errors"

owned_outside_home() {
  for f in /opt/NuvroTablet /usr/lib/udev/rules.d/70-nuvro-tablet.rules \
           /usr/share/polkit-1/actions/nuvroapp.nuvrotablet.remove.policy \
           /usr/share/applications/nuvroapp.nuvrotablet.desktop /etc/xdg/autostart/nuvroapp.NuvroAgent.desktop \
           /usr/lib/modules-load.d/nuvrotablet.conf /usr/share/icons/hicolor/scalable/apps/nuvroapp.nuvrotablet.svg \
           /usr/share/icons/hicolor/48x48/apps/nuvroapp.nuvrotablet.png /usr/share/doc/nuvrotablet \
           /usr/share/lintian/overrides/nuvrotablet; do
    [ -e "$f" ] && echo "$f"
  done
}

install_pkg() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null 2>&1 || dpkg -i "$deb" || fail "dpkg -i"
}

step "install, run the agent from /opt"
install_pkg
home=$(mktemp -d)
out=$(env -u DISPLAY XDG_CONFIG_HOME="$home" QT_QPA_PLATFORM=offscreen timeout 60 dbus-run-session -- \
  /opt/NuvroTablet/bin/NuvroAgent --simulate=NUVRO_P7B0 --self-test-reports 300 --print-events 2>/dev/null)
grep -q "^reports=300 " <<<"$out" || fail "the installed agent did not run"
grep -o "armed_ms=[0-9.]*" <<<"$out" | head -1
rm -rf "$home"

step "the settings application's privileged program purges the package"
/opt/NuvroTablet/bin/nuvro-remove kill NuvroAgent remove-package nuvrotablet || fail "nuvro-remove remove-package"
dpkg-query -W -f='${Status}' nuvrotablet 2>/dev/null | grep -q "ok installed" && fail "still installed after the uninstall"
left=$(owned_outside_home); [ -z "$left" ] || fail "left after the uninstall: $left"

step "install, dpkg -r, dpkg --purge"
install_pkg
dpkg -r nuvrotablet >/dev/null || fail "dpkg -r"
left=$(owned_outside_home)
# Debian keeps an administrator's configuration files until purge: the agent's autostart entry.
[ "$left" = "/etc/xdg/autostart/nuvroapp.NuvroAgent.desktop" ] || fail "left after dpkg -r: $left"
dpkg --purge nuvrotablet >/dev/null || fail "dpkg --purge"
left=$(owned_outside_home); [ -z "$left" ] || fail "left after purge: $left"
[ -z "$(find /opt /usr /etc -name '*nuvro*' -o -name '*Nuvro*' 2>/dev/null | grep -v "^$PWD")" ] \
  || fail "files of the suite remain: $(find /opt /usr /etc -name '*nuvro*' -o -name '*Nuvro*' 2>/dev/null)"

[ $failures -eq 0 ] && echo "install-test passed"
exit $((failures > 0))
