#!/bin/sh
# Remakes every picture of docs/ and of the help (resources/help/img) from one sample payer file,
# through the program's own screens, print routines and help window (tests/forms/FormsShots.cpp).
# Needs a build (scripts/build.sh or scripts/test.sh) and xvfb-run.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target forms_shots papyra_resources
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/forms_shots "$out"

docs="payer-screen payee-screen record-list preview labels help-contents help-form
      frm-1096 frm-1098 frm-1099div frm-1099int frm-1099misc frm-1099nec frm-1099r frm-1099s
      form-1096 form-1098 form-1099div form-1099int form-1099misc form-1099nec form-1099r
      form-1099s copyc-1099nec form-1096-1098 form-1096-1099div form-1096-1099int
      form-1096-1099misc form-1096-1099nec form-1096-1099r form-1096-1099s
      align-1098 align-1099div align-1099int align-1099misc align-1099nec align-1099r align-1099s"
help="payer-screen payee-screen record-list preview labels
      frm-1096 frm-1098 frm-1099div frm-1099int frm-1099misc frm-1099nec frm-1099r frm-1099s
      align-1099nec"
for name in $docs; do cp "$out/$name.png" docs/; done
mkdir -p resources/help/img
for name in $help; do cp "$out/$name.png" resources/help/img/; done
echo "pictures written to docs/ and resources/help/img/"
