#!/bin/bash
# Runs the program on a large tree and a large project under address-space
# limits (ulimit -v) from far too small to enough, in create and in extend
# mode. Every run either completes with the right files, or ends with a
# message and a non-zero exit code (never a signal) and both files untouched.
#
#   out_of_memory.sh PROGRAM DOCUMENT-CHECK TREE-GENERATOR
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/fault_lib.sh"

parse_fault_arguments "$@"

scenario "a project of 100,000 entries and a tree of 30,000 files under a shrinking memory limit"
project=$(new_project)
cd "$project"
prepare_large_project

completed=0
refused=0
ours=0
declare -A messages
# Runs both modes under a limit in KiB; true when both completed.
try_limit() {
  local limit="$1" mode both=0
  for mode in create extend; do
    start_mode "$mode"
    run_limited -v "$limit" "sdk" "$project" blinky
    if [ "$exit_code" = 0 ]; then
      completed=$((completed + 1))
      both=$((both + 1))
      expect_same_file "$saved/linked.ewp" blinky.ewp
      expect_same_file "$new_connection" blinky.ipcf
      continue
    fi
    refused=$((refused + 1))
    # -1 is 255; 129 to 192 are signals.
    [ "$exit_code" -le 128 ] || [ "$exit_code" = 255 ] || fail "$mode mode under $limit KiB ended by a signal (exit $exit_code)"
    [ -s "$stderr_file" ] || fail "$mode mode under $limit KiB ended with exit $exit_code and no message"
    grep -q '^Error: ' "$stderr_file" && ours=$((ours + 1))
    message="$(head -n 1 "$stderr_file" | cut -c 1-100)"
    messages["$message"]=$((${messages["$message"]:-0} + 1))
    expect_same_file "$old_project" blinky.ewp
    if [ -n "$old_connection" ]; then expect_same_file "$old_connection" blinky.ipcf; else expect_missing blinky.ipcf; fi
    expect_listing . "blinky.ewp$([ -n "$old_connection" ] && echo " blinky.ipcf") lib main.c main.h sdk"
  done
  [ "$both" = 2 ]
}

# Doubling from 4 MiB until both modes complete, then finer steps across
# the last gap, where memory runs out late in the run.
low=0
limit=4096
while ! try_limit "$limit"; do
  low=$limit
  limit=$((limit * 2))
  [ "$limit" -le 4194304 ] || { fail "the run does not complete even with 4 GiB"; break; }
done
for ((step = 1; step < 16; ++step)); do try_limit $((low + (limit - low) * step / 16)) || true; done
echo "   runs completed: $completed, refused: $refused, of which with the program's own message: $ours"
for message in "${!messages[@]}"; do echo "   ${messages[$message]} x $message"; done | sort -k3
[ "$ours" -gt 0 ] || fail "no run ran out of memory inside the program"

finish
