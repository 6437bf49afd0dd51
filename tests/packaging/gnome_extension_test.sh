#!/usr/bin/env bash
# The GNOME Shell extension as shipped: one folder for every shell from 43 on, the module form
# (extension.js, GNOME Shell 45 and later) beside the legacy form (__init__.js, 43 and 44), both
# on the bus contract the agent's adapter expects. gnomeshellworkspace_tests runs the legacy form
# in this machine's real shell and the module form under gjs; here both are parsed by node, which
# checks syntax only: it resolves none of the shell's gi:// and resource:// imports.
set -uo pipefail
ext=$1
header=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
constant() { sed -n "s/.*$1 = \"\(.*\)\";/\1/p" "$header"; }

uuid=$(constant nvGnomeExtensionUuid)
service=$(constant nvGnomeFocusService)
path=$(constant nvGnomeFocusPath)
interface=$(constant nvGnomeFocusInterface)
[ -n "$uuid" ] && [ -n "$service" ] && [ -n "$path" ] && [ -n "$interface" ] || { fail "the adapter's contract not found in $header"; exit 1; }
[ "$(basename "$ext")" = "$uuid" ] || fail "the folder is not named by the uuid $uuid"

# The shell loads an extension only if its major version is listed.
versions=$(python3 -c 'import json, sys; m = json.load(open(sys.argv[1])); print(m["uuid"]); print(" ".join(m["shell-version"]))' \
  "$ext/metadata.json") || fail "metadata.json is not valid JSON"
[ "$(sed -n 1p <<<"$versions")" = "$uuid" ] || fail "metadata.json names another uuid"
for v in 43 44 45 46 47 48 49; do
  grep -qw "$v" <<<"$(sed -n 2p <<<"$versions")" || fail "metadata.json does not list GNOME Shell $v"
done

# One interface text, read by both forms, declaring what the adapter calls and hears.
xml="$ext/$interface.xml"
xq() { xmllint --xpath "$1" "$xml" 2>/dev/null; }
[ "$(xq "string(/node/interface/@name)")" = "$interface" ] || fail "$xml does not declare $interface"
[ "$(xq "count(/node/interface/*)")" = 2 ] || fail "$xml declares more than Current and Changed"
for member in "method[@name='Current']/arg[@direction='out']" "signal[@name='Changed']/arg"; do
  types=$(xq "/node/interface/$member/@type" | sed 's/.*type="\(.*\)"/\1/' | tr -d '\n')
  [ "$types" = us ] || fail "$member carries '$types', not (pid u, class s)"
done
[ "$(xq "count(/node/interface/method[@name='Current']/arg[not(@direction='out')])")" = 0 ] || fail "Current takes arguments"

for form in extension.js __init__.js; do
  f="$ext/$form"
  grep -q "'$service'" "$f" || fail "$form does not own $service"
  grep -q "'$path'" "$f" || fail "$form does not export $path"
  grep -q "'$interface.xml'" "$f" || fail "$form does not read the shared interface text"
  grep -q "<interface" "$f" && fail "$form carries an interface text of its own"
done
grep -q "^export default class .* extends Extension" "$ext/extension.js" || fail "extension.js exports no Extension class"
grep -q "^var extension = {" "$ext/__init__.js" || fail "__init__.js does not stand in for extension.js"

if ! command -v node >/dev/null; then
  echo "node missing: the forms' syntax is not checked"
  [ $failures -eq 0 ] && exit 77
  exit 1
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$ext/extension.js" "$tmp/extension.mjs"
cp "$ext/__init__.js" "$tmp/legacy.cjs"
out=$(node --check "$tmp/extension.mjs" 2>&1) || fail "extension.js is not a valid module: $out"
out=$(node --check "$tmp/legacy.cjs" 2>&1) || fail "__init__.js is not a valid script: $out"

[ $failures -eq 0 ] && echo "GNOME Shell extension OK"
exit $((failures > 0))
