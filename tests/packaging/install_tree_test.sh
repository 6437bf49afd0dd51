#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks it as a packager would: every file
# where the desktop looks for it and nothing elsewhere, valid desktop entries and policy, no
# path into the build tree left in a program, and the agent working from the installed tree.
set -uo pipefail
build=$1
root=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR="$dest" cmake --install "$build" >/dev/null || { fail "cmake --install into DESTDIR"; exit 1; }

expect=(
  "$root/bin/NuvroTablet" "$root/bin/NuvroAgent" "$root/bin/nuvro-remove"
  "$root/Resources/Info.plist" "$root/Resources/res/config_default.xml" "$root/Resources/res/layout_tablet.xml"
  "$root/Resources/res/32.ico" "$root/Resources/translations/nuvrotablet_en.qm"
  "$root/Resources/translations/nuvrotablet_zh_CN.qm" "$root/Resources/res/kwin/frontmost.js"
  /usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/metadata.json
  /usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/extension.js
  /usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/__init__.js
  /usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/nuvroapp.FocusedWindow.xml
  /usr/lib/udev/rules.d/70-nuvro-tablet.rules
  /usr/share/polkit-1/actions/nuvroapp.nuvrotablet.remove.policy
  /usr/share/applications/nuvroapp.nuvrotablet.desktop
  /etc/xdg/autostart/nuvroapp.NuvroAgent.desktop
  /usr/lib/modules-load.d/nuvrotablet.conf
  /usr/share/icons/hicolor/scalable/apps/nuvroapp.nuvrotablet.svg
  /usr/share/doc/nuvrotablet/copyright /usr/share/doc/nuvrotablet/changelog.gz
  /usr/share/lintian/overrides/nuvrotablet
)
[ -e "$build/bin/NuvroHelper" ] && expect+=("$root/bin/NuvroHelper")
for size in 16 22 24 32 48 64 128 256 512; do
  expect+=("/usr/share/icons/hicolor/${size}x${size}/apps/nuvroapp.nuvrotablet.png")
done
for f in "${expect[@]}"; do
  [ -f "$dest$f" ] || fail "missing $f"
done
for p in NuvroTablet NuvroAgent nuvro-remove; do
  [ -x "$dest$root/bin/$p" ] || fail "$p is not executable"
done

# Nothing outside the suite's folder and the places the desktop reads.
unexpected=$(cd "$dest" && find . -type f | sed 's|^\.||' | grep -v -E \
  "^($root/|/usr/lib/udev/rules.d/|/usr/share/polkit-1/actions/|/usr/share/applications/|/etc/xdg/autostart/|/usr/lib/modules-load.d/|/usr/share/icons/hicolor/|/usr/share/doc/nuvrotablet/|/usr/share/lintian/overrides/|/usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/)")
[ -z "$unexpected" ] || fail "files outside the expected folders: $unexpected"

# The uninstall removes exactly what an installation without the package put beside the folder.
outside=$(cd "$dest" && find . -type f | sed 's|^\.||' | grep -v "^$root/" | sort)
removable=$("$dest$root/bin/nuvro-remove" --list | sort)
missing_from_removal=$(comm -23 <(echo "$outside") <(echo "$removable"))
[ -z "$missing_from_removal" ] || fail "installed but never removed by the uninstall: $missing_from_removal"

for entry in /usr/share/applications/nuvroapp.nuvrotablet.desktop /etc/xdg/autostart/nuvroapp.NuvroAgent.desktop; do
  out=$(desktop-file-validate "$dest$entry" 2>&1) || fail "desktop-file-validate $entry: $out"
  grep -q "^Exec=$root/bin/" "$dest$entry" || fail "$entry does not start the installed program"
done
# One extension folder for every GNOME Shell from 43 on: each shell loads the form it can.
here=$(cd "$(dirname "$0")" && pwd)
out=$(bash "$here/gnome_extension_test.sh" "$dest/usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com" \
  "$here/../../platform/linux/GnomeFocusExtension.h")
rc=$?
[ $rc -eq 0 ] || [ $rc -eq 77 ] || fail "the installed GNOME Shell extension: $out"
policy="$dest/usr/share/polkit-1/actions/nuvroapp.nuvrotablet.remove.policy"
xmllint --noout "$policy" || fail "the polkit policy is not well-formed XML"
grep -q "<action id=\"nuvroapp.nuvrotablet.remove\">" "$policy" || fail "the policy lacks its action"
grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$root/bin/nuvro-remove</annotate>" "$policy" \
  || fail "the policy does not name the installed privileged program"
if command -v udevadm >/dev/null && udevadm verify --help >/dev/null 2>&1; then
  udevadm verify "$dest/usr/lib/udev/rules.d/70-nuvro-tablet.rules" >/dev/null || fail "udevadm verify refuses the rule"
fi
if command -v readelf >/dev/null; then
  for p in "$dest$root"/bin/*; do
    readelf -d "$p" 2>/dev/null | grep -E "R(UN)?PATH" | grep -q "$build" && fail "$(basename "$p") still points into the build tree"
  done
fi

# The installed agent finds its layouts and configuration through ../Resources.
home=$(mktemp -d)
out=$(env -u DISPLAY XDG_CONFIG_HOME="$home" QT_QPA_PLATFORM=offscreen timeout 60 dbus-run-session -- \
  "$dest$root/bin/NuvroAgent" --simulate=NUVRO_P7B0 --self-test-reports 200 --print-events 2>/dev/null)
rc=$?
rm -rf "$home"
[ $rc -eq 0 ] || fail "the installed agent exited with $rc"
grep -q "^reports=200 " <<<"$out" || fail "the installed agent did not decode the simulated reports: $(head -c 300 <<<"$out")"
grep -q '"event":6' <<<"$out" || fail "the installed agent posted no pen drag from its installed layouts"

[ $failures -eq 0 ] && echo "install tree OK: $(cd "$dest" && find . -type f | wc -l) files"
exit $((failures > 0))
