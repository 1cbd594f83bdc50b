#!/usr/bin/env bash
# Installs the built tree into a fresh prefix inside the build folder, makes it and the start
# folder read-only, and prints from it: the programs must find their report project under
# share/papyra from their own folder, and write nothing into the prefix.
set -euo pipefail
build=$1
work=$(mktemp -d "$build/installed-tree.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
# Moved after installing: the programs must not depend on the prefix they were installed to.
mv "$work/prefix" "$work/moved"
prefix=$work/moved
mkdir -p "$work/start" "$work/out" "$work/home"
QT_QPA_PLATFORM=offscreen "$build/bin/forms_shots" "$work/start" data >/dev/null
find "$prefix" -type f | sort > "$work/before"
chmod -R a-w "$prefix" "$work/start"
cd "$work/start"
HOME=$work/home "$prefix/bin/papyra-batch" print Shots.PE25 --form 1099-NEC --kind program \
  --out "$work/out/nec.pdf"
HOME=$work/home "$prefix/bin/papyra-batch" labels Shots.PE25 --out "$work/out/labels.txt"
grep -q "Decatur IL 62521" "$work/out/labels.txt"
chmod -R u+w "$prefix"
find "$prefix" -type f | sort | diff "$work/before" -
# Run from inside the build folder, yet an installed program: the user's settings root.
if grep -q "PapyraTest" "$work/home/.config/Papyra/Papyra.ini" 2>/dev/null; then
  echo "the installed papyra-batch used the development settings root"
  exit 1
fi
for f in bin/papyra share/papyra/TaxForms.rpj share/papyra/help/1.html \
         share/icons/hicolor/scalable/apps/papyra.svg share/man/man1/papyra.1.gz; do
  [ -e "$prefix/$f" ] || { echo "missing from the install tree: $f"; exit 1; }
done
echo "installed tree ok"
