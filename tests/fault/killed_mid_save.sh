#!/bin/bash
# Kills the program (SIGKILL) at random moments while it adds a large tree
# to a large project, a bounded number of times. After every kill each of
# the two files must be either its old bytes or the complete new output, and
# load; and the project file never names a connection file that is not
# there, since a new connection file is written before the project file. The
# hidden files that kills leave are cleared by the next run.
#
#   killed_mid_save.sh PROGRAM DOCUMENT-CHECK TREE-GENERATOR [KILLS]
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/fault_lib.sh"

parse_fault_arguments "$@"
kills="${4:-30}"
RANDOM=$$

scenario "a project of 100,000 entries and a tree of 30,000 files, killed $kills times"
project=$(new_project)
cd "$project"
prepare_large_project
duration=$run_duration_ms
echo "   one run takes about ${duration} ms"

same() { cmp -s "$1" "$2"; }
declare -A seen
leftovers=0
for ((kill = 0; kill < kills; ++kill)); do
  mode=$([ $((kill % 2)) -eq 0 ] && echo create || echo extend)
  start_mode "$mode"
  # Half of the kills fall anywhere in the run, half soon after a save began.
  printf 'sdk\n' | "$program" "$project" blinky >/dev/null 2>&1 &
  pid=$!
  if [ $((kill % 4)) -lt 2 ]; then
    delay=$((RANDOM % (duration * 12 / 10 + 1)))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  else
    for ((poll = 0; poll < 5000; ++poll)); do
      compgen -G '.blinky.*.tmp' >/dev/null && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.001
    done
    delay=$((RANDOM % 40))
    sleep "0.0$((delay / 10))$((delay % 10))"
  fi
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null

  if same blinky.ewp "$old_project"; then project_state=old
  elif same blinky.ewp "$saved/linked.ewp"; then project_state=new
  else project_state=damaged; fi
  if [ ! -e blinky.ipcf ]; then connection_state=absent
  elif [ -n "$old_connection" ] && same blinky.ipcf "$old_connection"; then connection_state=old
  elif same blinky.ipcf "$new_connection"; then connection_state=new
  else connection_state=damaged; fi
  outcome="$mode mode: project file $project_state, connection file $connection_state"
  seen["$outcome"]=$((${seen["$outcome"]:-0} + 1))

  case "$mode/$project_state/$connection_state" in
    create/old/absent | create/old/new | create/new/new | extend/old/old | extend/old/new) ;;
    *) fail "kill $kill in $mode mode left the project file $project_state and the connection file $connection_state" ;;
  esac
  expect_loads blinky.ewp
  [ "$connection_state" = absent ] || expect_loads blinky.ipcf
  for left in .blinky.*; do
    [ -e "$left" ] && leftovers=$((leftovers + 1))
  done
done
for outcome in "${!seen[@]}"; do echo "   ${seen[$outcome]} x $outcome"; done | sort -k3,3 -k2,2n
echo "   hidden files left by the kills: $leftovers"

scenario "the next run clears what killed runs left, and nothing else"
start_mode extend
for left in .blinky.ewp.5f3a9c-1.old .blinky.ipcf.ab-0.tmp; do echo left >"$left"; done
for kept in .blinky.ewp.5f3a9c-1.old.txt .blinky.ewp.5F3A9C-1.old .other.ewp.12-0.tmp blinky.ewp.12-0.tmp; do
  echo kept >"$kept"
done
printf 'sdk\n' | "$program" "$project" blinky >/dev/null 2>&1
[ $? = 0 ] || fail "the run after the kills failed"
remaining=$(ls -A | grep -E '^\.(blinky|other)|\.tmp$' | sort | tr '\n' ' ')
[ "$remaining" = ".blinky.ewp.5F3A9C-1.old .blinky.ewp.5f3a9c-1.old.txt .other.ewp.12-0.tmp blinky.ewp.12-0.tmp " ] ||
  fail "after the next run the folder holds: $remaining"

finish
