#!/usr/bin/env bash
# Makes sure a CUPS scheduler runs with a cups-pdf queue, so the printing tests can send a real
# job to a real printer. Safe to run again: it only starts or adds what is missing, and needs
# root (or password-less sudo) only for that. Where it cannot (CUPS not installed, not root) it
# says so and exits 0; the CUPS test then skips itself.
# PAPYRA_CUPS_QUEUE names the queue it creates when none exists (default "PDF").
set -uo pipefail

queue=${PAPYRA_CUPS_QUEUE:-PDF}
sbin=/usr/sbin
say() { echo "start-cups: $*"; }

SUDO=()
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  SUDO=(sudo -n)
fi
as_root() {
  if [ "$(id -u)" -ne 0 ] && [ ${#SUDO[@]} -eq 0 ]; then
    say "$(basename "$1") needs root and there is no password-less sudo; CUPS left as it is"
    return 1
  fi
  "${SUDO[@]}" "$@"
}

for tool in $sbin/cupsd $sbin/lpadmin $sbin/lpinfo $sbin/cupsenable $sbin/cupsaccept lpstat; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    say "$tool is missing (install cups, cups-bsd, printer-driver-cups-pdf); nothing done"
    exit 0
  fi
done
if [ ! -e /usr/lib/cups/backend/cups-pdf ]; then
  say "the cups-pdf backend is missing (install printer-driver-cups-pdf); nothing done"
  exit 0
fi

scheduler_up() { lpstat -r 2>/dev/null | grep "scheduler is running" >/dev/null; }

start_scheduler() {
  if scheduler_up; then
    say "cupsd already running"
    return 0
  fi
  # No systemd on CI machines: cupsd forks into the background by itself.
  as_root $sbin/cupsd || { say "cupsd did not start"; return 1; }
  for _ in $(seq 1 50); do
    scheduler_up && { say "started cupsd"; return 0; }
    sleep 0.1
  done
  say "cupsd started but does not answer"
  return 1
}

# The first queue that writes through the cups-pdf backend, if any.
existing_queue() {
  lpstat -v 2>/dev/null | sed -n 's/^device for \([^:]*\): cups-pdf:.*/\1/p' | head -n 1
}

create_queue() {
  local model
  model=$($sbin/lpinfo -m 2>/dev/null | awk '/cups-pdf\/CUPS-PDF/ {print $1}' | sort | tail -n 1)
  local how=(-m "$model")
  if [ -z "$model" ]; then
    model=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    [ -f "$model" ] || { say "no cups-pdf model found; nothing done"; return 1; }
    how=(-P "$model")
  fi
  # lpadmin warns that printer drivers are deprecated; the queue works all the same.
  as_root $sbin/lpadmin -p "$queue" -v cups-pdf:/ "${how[@]}" -D "PDF printer (cups-pdf)" -E \
    2> >(grep -v "deprecated" >&2) || return 1
  [ -n "$(existing_queue)" ] || { say "lpadmin did not create the queue $queue"; return 1; }
  say "created queue $queue ($model)"
}

ensure_ready() {
  local name=$1
  if lpstat -p "$name" 2>/dev/null | grep "disabled" >/dev/null; then
    as_root $sbin/cupsenable "$name" && say "enabled $name"
  fi
  if lpstat -a "$name" 2>/dev/null | grep "not accepting" >/dev/null; then
    as_root $sbin/cupsaccept "$name" && say "$name accepts jobs again"
  fi
}

# A tiny job through the queue: where this machine's CUPS cannot finish one (a sandbox that
# forbids the backend, a broken filter), a queue of ours is taken away again so the printing
# test skips with its reason instead of failing on the machine rather than on Papyra.
smoke_job() {
  local name=$1 id
  id=$(echo "Papyra CUPS check" | lp -d "$name" -t papyra-cups-smoke 2>/dev/null |
    sed -n 's/^request id is \([^ ]*\).*/\1/p')
  [ -n "$id" ] || return 1
  for _ in $(seq 1 200); do
    lpstat -W completed -o "$name" 2>/dev/null | grep "^$id " >/dev/null && { clean_smoke; return 0; }
    sleep 0.1
  done
  as_root cancel "$id" 2>/dev/null
  return 1
}

# cups-pdf writes into "Out" of its configuration, ${HOME} being the job user's home.
clean_smoke() {
  local out home
  out=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  out=${out//\$\{HOME\}/$home}
  [ -n "$out" ] && rm -f "$out"/*papyra-cups-smoke*.pdf 2>/dev/null
  return 0
}

start_scheduler || exit 0
created=0
name=$(existing_queue)
if [ -n "$name" ]; then
  say "queue $name already writes through cups-pdf"
else
  create_queue || exit 0
  name=$(existing_queue)
  created=1
fi
ensure_ready "$name"
if smoke_job "$name"; then
  say "ready: $(lpstat -p "$name" 2>/dev/null | head -n 1)"
elif [ "$created" = 1 ]; then
  as_root $sbin/lpadmin -x "$name"
  say "a test job did not get through $name on this machine; queue removed, the CUPS test skips"
else
  say "warning: a test job did not get through $name within 20 s"
fi
exit 0
