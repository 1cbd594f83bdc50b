#!/usr/bin/env bash
# --help and --version of both programs, and each papyra-batch command's --help: usage on
# standard output, exit 0, and no display needed (run with no X server and no platform set).
set -uo pipefail
bin=$1
version=$2
failures=0
check() {
  local expect=$1
  shift
  local out rc
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" 2>/dev/null)
  rc=$?
  if [ "$rc" -ne 0 ] || ! grep -q -- "$expect" <<<"$out"; then
    echo "FAIL: $* (exit $rc) should print \"$expect\"; printed:"
    echo "$out"
    failures=$((failures + 1))
  fi
}
check "^Usage: papyra \[FILE.PE25\]" "$bin/papyra" --help
check "^Usage: papyra " "$bin/papyra" -h
check "^papyra $version\$" "$bin/papyra" --version
check "^usage: papyra-batch COMMAND" "$bin/papyra-batch" --help
check "^papyra-batch $version\$" "$bin/papyra-batch" --version
for command in dump print totals labels render report check tin-match tin-match-results; do
  check "^usage: papyra-batch $command " "$bin/papyra-batch" "$command" --help
  check "^  papyra-batch $command " "$bin/papyra-batch" --help
done
# A command the tool does not know is still an error.
if "$bin/papyra-batch" nosuchcommand --help >/dev/null 2>&1; then
  echo "FAIL: an unknown command exits 0"
  failures=$((failures + 1))
fi
exit $((failures > 0))
