#!/usr/bin/env bash
# Builds the Debian package from a built tree ($1, default build/) and checks it the way a user
# gets it: as root it is installed on this machine with apt (which pulls in every declared
# dependency) and removed again afterwards; otherwise it is unpacked into a fresh prefix. The
# installed programs then run as a user for whom the install tree and the start folder are
# read-only: papyra-batch prints a 1099-NEC PDF and the mailing labels of a sample payer file,
# and papyra starts under Xvfb to its main window and is closed from its File menu. The settings
# it writes must land in that user's own settings root, not the development one.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
say() { echo "check-package: $*"; }
fail() {
  echo "check-package: FAILED: $*" >&2
  exit 1
}

cmake --build "$build" --target papyra papyra-batch forms_shots >/dev/null
rm -f "$build"/papyra_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/papyra_*_amd64.deb)
say "built $(basename "$deb")"
dpkg-deb -I "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Depends\|Recommends\):/  &/p'
listing=$(dpkg-deb -c "$deb")
for f in ./usr/bin/papyra ./usr/bin/papyra-batch ./usr/share/papyra/TaxForms.rpj \
         ./usr/share/papyra/help/1.html ./usr/share/applications/example.papyra.Papyra.desktop \
         ./usr/share/metainfo/example.papyra.Papyra.metainfo.xml \
         ./usr/share/mime/packages/papyra.xml ./usr/share/icons/hicolor/scalable/apps/papyra.svg \
         ./usr/share/icons/hicolor/48x48/apps/papyra.png ./usr/share/man/man1/papyra.1.gz \
         ./usr/share/man/man1/papyra-batch.1.gz; do
  grep -q " $f\$" <<<"$listing" || fail "$f is not in the package"
done

work=$(mktemp -d /tmp/papyra-package.XXXXXX)
installed_here=0
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  if [ "$installed_here" = 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq papyra >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

if [ "$(id -u)" -eq 0 ]; then
  dpkg-query -W -f='${Status}' papyra 2>/dev/null | grep "install ok installed" >/dev/null ||
    installed_here=1
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  prefix=/usr
  # Root writes anywhere: the programs run as "nobody" so read-only means read-only.
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  owner=nobody:nogroup
  say "installed with apt; running the programs as nobody"
else
  dpkg-deb -x "$deb" "$work/root"
  chmod -R a-w "$work/root"
  prefix=$work/root/usr
  as_user=()
  owner=""
  say "unpacked into $work/root"
fi
bin=$prefix/bin

# The user's home, and a start folder holding the sample payer file that the user cannot write.
home=$work/home
out=$work/out
start=$work/start
mkdir -p "$home" "$out" "$start"
QT_QPA_PLATFORM=offscreen "$build/bin/forms_shots" "$start" data >/dev/null
chmod -R a-w "$start"
chmod a+rx "$work"
[ -n "$owner" ] && chown "$owner" "$home" "$out"
run() {
  (cd "$start" && env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 "$@")
}
# The command runs as the user when root started the check.
run_user() { run "${as_user[@]}" "$@"; }

run_user "$bin/papyra-batch" --version | grep "^papyra-batch " >/dev/null || fail "papyra-batch --version"
run_user "$bin/papyra" --version | grep "^papyra " >/dev/null || fail "papyra --version"
run_user "$bin/papyra-batch" print Shots.PE25 --form 1099-NEC --kind program --out "$out/nec.pdf"
run_user "$bin/papyra-batch" labels Shots.PE25 --out "$out/labels.pdf"
for pdf in nec labels; do
  [ "$(head -c 5 "$out/$pdf.pdf")" = "%PDF-" ] || fail "$pdf.pdf is not a PDF"
done
# grep reads to the end: one that stops at the first match leaves the writer a broken pipe,
# which pipefail takes for a failure.
pdftotext "$out/nec.pdf" - | grep "1099-NEC" >/dev/null || fail "nec.pdf holds no Form 1099-NEC"
say "papyra-batch printed a 1099-NEC PDF and labels from a read-only folder"

# The program under a fresh X server of its own, to its main window and closed from the menu.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display=$(cat "$work/display")
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=:$display
run_user env DISPLAY=":$display" "$bin/papyra" &
papyra_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Papyra Version 2025" | head -n 1) ||
  fail "papyra showed no main window"
sleep 3  # past the splash
xdotool windowfocus --sync "$window" key ctrl+x
for _ in $(seq 1 100); do
  kill -0 "$papyra_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$papyra_pid" 2>/dev/null && fail "papyra did not close from File / Exit"
wait "$papyra_pid" || fail "papyra ended with an error"
say "papyra ran to its main window and closed"

settings=$home/.config/Papyra/Papyra.ini
[ -f "$settings" ] || fail "no settings in the user's settings root"
grep -q "PapyraTest" "$settings" && fail "the installed program used the development settings root"
grep -q "Papyra\\\\2025" "$settings" || fail "no settings under Software\\Papyra\\2025"
say "settings went to the user's own root ($settings)"
say "ok"
