#!/usr/bin/env bash
# The MIME package goes into a MIME database of its own: it must be accepted, give payer files
# (".PE25", either case) their type, and be the type the desktop entry says it opens.
set -euo pipefail
update=$1
package=$2
desktop=$3
db=$(mktemp -d)
trap 'rm -rf "$db"' EXIT
mkdir -p "$db/packages"
cp "$package" "$db/packages/papyra.xml"
"$update" "$db" >/dev/null 2>&1 || { echo "update-mime-database refused the package"; exit 1; }
grep -qx 'application/x-papyra-payer:\*\.pe25' "$db/globs"
grep -q '<comment>Papyra payer file</comment>' "$db/application/x-papyra-payer.xml"
grep -qx 'MimeType=application/x-papyra-payer;' "$desktop"
