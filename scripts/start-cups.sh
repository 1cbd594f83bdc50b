#!/usr/bin/env bash
# Makes sure a CUPS scheduler runs with a cups-pdf queue, so the printing tests can send a real
# job to a real printer. Safe to run again: it only starts or adds what is missing.
# Where it cannot (not root and no password-less sudo, CUPS not installed) it says so and exits 0;
# the CUPS test then skips itself.
# PAPYRA_CUPS_QUEUE names the queue it creates when none exists (default "PDF").
set -uo pipefail

queue=${PAPYRA_CUPS_QUEUE:-PDF}
say() { echo "start-cups: $*"; }

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    SUDO=(sudo -n)
  else
    say "not root and no password-less sudo; CUPS left as it is"
    exit 0
  fi
fi
as_root() { "${SUDO[@]}" "$@"; }

for tool in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/sbin/lpinfo lpstat cupsenable cupsaccept; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    say "$tool is missing (install cups, cups-bsd, printer-driver-cups-pdf); nothing done"
    exit 0
  fi
done
if [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
  say "the cups-pdf backend is missing (install printer-driver-cups-pdf); nothing done"
  exit 0
fi

scheduler_up() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

start_scheduler() {
  if scheduler_up; then
    say "cupsd already running"
    return 0
  fi
  # No systemd on CI machines: cupsd forks into the background by itself.
  if ! as_root /usr/sbin/cupsd; then
    say "cupsd would not start"
    return 1
  fi
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
  model=$(lpinfo -m 2>/dev/null | awk '/cups-pdf\/CUPS-PDF/ {print $1}' | sort | tail -n 1)
  if [ -n "$model" ]; then
    as_root /usr/sbin/lpadmin -p "$queue" -v cups-pdf:/ -m "$model" -D "PDF printer (cups-pdf)" \
      -E 2>&1 | grep -v "deprecated" || true
  else
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    [ -f "$ppd" ] || { say "no cups-pdf model found; nothing done"; return 1; }
    model=$ppd
    as_root /usr/sbin/lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -D "PDF printer (cups-pdf)" \
      -E 2>&1 | grep -v "deprecated" || true
  fi
  if [ "$(existing_queue)" = "" ]; then
    say "lpadmin did not create the queue $queue"
    return 1
  fi
  say "created queue $queue ($model)"
}

ensure_ready() {
  local name=$1
  if lpstat -p "$name" 2>/dev/null | grep -q "disabled"; then
    as_root cupsenable "$name" && say "enabled $name"
  fi
  if lpstat -a "$name" 2>/dev/null | grep -q "not accepting"; then
    as_root cupsaccept "$name" && say "$name accepts jobs again"
  fi
}

start_scheduler || exit 0
name=$(existing_queue)
if [ -n "$name" ]; then
  say "queue $name already writes through cups-pdf"
else
  create_queue || exit 0
  name=$(existing_queue)
fi
ensure_ready "$name"
say "ready: $(lpstat -p "$name" 2>/dev/null | head -n 1)"
exit 0
