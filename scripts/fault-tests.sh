#!/usr/bin/env bash
# Runs the fault tests of a built tree ($1, default build/; the list is its fault-tests.txt): a
# full disk, a read-only folder, a file another running copy holds. Run as root, they run as root
# (the faults are a small tmpfs, filled or mounted read-only) and then once more as the
# unprivileged user papyra-ci ($PAPYRA_CI_USER), created when missing: for that user the faults
# are the file size limit and permissions, which root passes over. A writer that falls back to
# writing the target in place is caught only there. Run as another user, they run as that user.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)
build=$(realpath "${1:-build}")
user=${PAPYRA_CI_USER:-papyra-ci}
list=$build/fault-tests.txt
say() { echo "fault-tests: $*"; }
fail() {
  echo "fault-tests: FAILED: $*" >&2
  exit 1
}
[ -f "$list" ] || fail "$list is missing: configure and build $build first"

# Runs every listed test executable with its filter through the command prefix given ("" for
# this user); a test that skips counts as a failure when skipping is not allowed ($1).
run_all() {
  local allow_skip=$1 who=$2
  shift 2
  local log failed=0
  log=$(mktemp)
  while read -r exe filter; do
    [ -n "$exe" ] || continue
    say "$(basename "$exe") as $who ($filter)"
    if ! (cd /tmp && "$@" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
            "$exe" --gtest_filter="$filter" --gtest_color=no) >"$log" 2>&1; then
      cat "$log"
      failed=1
      continue
    fi
    grep -E '^\[ +(OK|SKIPPED|FAULT) +\]' "$log" | sed 's/^/  /' || true
    if [ "$allow_skip" = no ] && grep -q '^\[  SKIPPED \]' "$log"; then
      say "a fault could not be made as $who"
      failed=1
    fi
  done <"$list"
  rm -f "$log"
  return $failed
}

if [ "$(id -u)" -ne 0 ]; then
  run_all no "$(id -un)" || fail "the fault tests as $(id -un)"
  say "passed as $(id -un)"
  exit 0
fi

# Root: a mount the container refuses leaves a fault root cannot make; such a test skips.
run_all yes root || fail "the fault tests as root"
say "passed as root"

if ! id "$user" >/dev/null 2>&1; then
  useradd --system --user-group --no-create-home --home-dir /nonexistent \
    --shell /usr/sbin/nologin "$user"
  say "created the user $user"
fi
as_user=(setpriv --reuid="$user" --regid="$user" --init-groups --)

# A checkout under a private folder (root's home is 0700) is out of the user's reach: the user
# is given the right to pass through each such folder (an ACL for that user alone where the file
# system has them, else search permission for others), never to list or read it. Said, not hidden.
let_user_pass() {
  local path=$1 dir=""
  local -a parts
  IFS=/ read -ra parts <<<"${path#/}"
  for part in "${parts[@]}"; do
    dir=$dir/$part
    "${as_user[@]}" test -x "$dir" && continue
    if setfacl -m "u:$user:x" "$dir" 2>/dev/null; then
      say "$user may now pass through $dir (ACL)"
    else
      chmod o+x "$dir"
      say "others may now pass through $dir (no ACLs here)"
    fi
  done
}
let_user_pass "$build"
let_user_pass "$source_dir"
# The user runs the built tests and reads the sources they read (the report project, the help).
for f in "$(head -n 1 "$list" | cut -d' ' -f1)" "$source_dir/resources/TaxForms.rpj"; do
  "${as_user[@]}" test -r "$f" ||
    fail "$user cannot read $f: the build tree and the sources must be readable by others"
done
run_all no "$user (uid $(id -u "$user"))" "${as_user[@]}" || fail "the fault tests as $user"
say "passed as $user"
