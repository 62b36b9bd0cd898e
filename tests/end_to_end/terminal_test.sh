#!/bin/bash
# End-to-end tests of the terminal program, run as a user would run it: real
# folders, real files, the folder typed at the prompt.
#
#   terminal_test.sh PROGRAM             the Linux program
#   terminal_test.sh --wine PROGRAM.EXE  addfolder-cli.exe under Wine
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/test_lib.sh"

parse_program_arguments "$@"

# --- The worked example: create mode, then extend mode -------------------

scenario "create mode writes the connection file and links the project"
project=$(new_project)
cd "$project"
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf
expect_same_file "$here/expected/blinky-linked.ewp" blinky.ewp
expect_no_stderr

scenario "extend mode adds only what is new, after what is there"
touch lib/hal/spi.c
mkdir lib/net && touch lib/net/eth.c lib/net/eth.h
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$here/expected/blinky-extend.ipcf" blinky.ipcf
expect_same_file "$here/expected/blinky-linked.ewp" blinky.ewp

scenario "a run with nothing new writes nothing"
touch -d '1 hour ago' blinky.ewp blinky.ipcf
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$here/expected/blinky-extend.ipcf" blinky.ipcf
expect_older_than_a_minute blinky.ipcf blinky.ewp

scenario "an empty answer picks the project directory itself"
project=$(new_project)
cd "$project"
run_program "" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$here/expected/blinky-whole.ipcf" blinky.ipcf

scenario "a working directory other than the project directory writes the same bytes"
project=$(new_project)
cd "$project/.."
run_program "blinky/lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$here/expected/blinky-create.ipcf" "$project/blinky.ipcf"
expect_same_file "$here/expected/blinky-linked.ewp" "$project/blinky.ewp"

scenario "a project name that ends in .ewp names the same project"
project=$(new_project)
cd "$project"
run_program "lib" "$(project_argument "$project")" blinky.EWP
expect_exit 0
expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf
expect_same_file "$here/expected/blinky-linked.ewp" blinky.ewp

scenario "the reference is found by the file that it names, as the host compares names"
project=$(new_project)
cd "$project"
sed 's/\$PROJ_DIR\$\\blinky.ipcf/$PROJ_DIR$\\BLINKY.IPCF/' "$here/expected/blinky-linked.ewp" >blinky.ewp
cp blinky.ewp "$work_root/upper-case.ewp"
sed '/<files>/a\		<group name="mine" />' "$here/expected/blinky-create.ipcf" >blinky.ipcf
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
grep -qF '<group name="mine" />' blinky.ipcf || fail "the connection file was replaced"
if [ "$wine" = yes ]; then
  # Windows names BLINKY.IPCF and blinky.ipcf alike: nothing to add.
  expect_same_file "$work_root/upper-case.ewp" blinky.ewp
else
  # Linux has no BLINKY.IPCF: the reference is added, and blinky.ipcf is extended.
  [ "$(grep -ci 'ipcf</name>' blinky.ewp)" = 2 ] || fail "the project does not hold both references"
fi

scenario "a trailing separator on the project directory"
project=$(new_project)
cd "$project"
run_program "lib" "$(project_argument "$project")$(separator)" blinky
expect_exit 0
expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf

scenario "a folder that does not exist is asked for again"
project=$(new_project)
cd "$project"
run_program $'nowhere\nlib' "$(project_argument "$project")" blinky
expect_exit 0
expect_stderr_line "Not a folder: nowhere"
expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf

# --- Cancel and the command line -----------------------------------------

scenario "end of input cancels and touches nothing"
project=$(new_project)
cd "$project"
run_program_without_input "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_missing blinky.ipcf

scenario "three arguments behave as two"
project=$(new_project)
cd "$project"
run_program "lib" "$(project_argument "$project")" blinky extra
expect_exit 0
expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf

scenario "one argument is refused before anything is touched"
project=$(new_project)
cd "$project"
run_program "lib" "$(project_argument "$project")"
expect_exit 10
expect_stderr_line "Error: Expected two arguments: the project directory and the project name."
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_missing blinky.ipcf

scenario "--version prints the name and version and touches nothing"
project=$(new_project)
cd "$project"
run_program "lib" "$(project_argument "$project")" blinky --version
expect_exit 0
expect_stdout "addfolder $version"
expect_no_stderr
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_missing blinky.ipcf

scenario "--version alone needs no other argument"
run_program_without_input --version
expect_exit 0
expect_stdout "addfolder $version"

scenario "names in any script, or that end in a dot or a blank, give the same bytes on both hosts"
project=$(new_project)
cd "$project"
mkdir -p "lib/Drivers." "lib/space " "lib/Überblick"
touch lib/ölfilter.c lib/Ölpumpe.c lib/βήτα.c lib/Γάμμα.c lib/бета.c lib/Вода.c lib/日本語.c \
  "lib/Drivers./a.c" "lib/Drivers./a.h" "lib/space /b.c" lib/Überblick/ü.c lib/Überblick/u.h
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$here/expected/names-create.ipcf" blinky.ipcf

scenario "a folder renamed in letter case is the same folder on Windows, another one on Linux"
project=$(new_project)
cd "$project"
run_program "lib" "$(project_argument "$project")" blinky
mv lib/hal lib/HAL
run_program "lib" "$(project_argument "$project")" blinky --prune
expect_exit 0
if [ "$wine" = yes ]; then
  expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf
else
  [ "$(grep -c 'lib\\hal' blinky.ipcf)" = 0 ] || fail "the old spelling is still listed: $(cat blinky.ipcf)"
  [ "$(grep -c 'lib\\HAL' blinky.ipcf)" = 5 ] || fail "the new spelling is not listed: $(cat blinky.ipcf)"
fi

# --- Failures leave the project as it was --------------------------------

scenario "a missing project file"
project=$(new_project)
cd "$project"
rm blinky.ewp
echo "kept" > blinky.ipcf
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required EWP file."
[ "$(tr -d '\r' <"$stderr_file" | wc -l)" = 2 ] || fail "no second line says why: $(cat "$stderr_file")"
expect_stderr_line_starting "$(project_argument "$project")$(separator)blinky.ewp: "
expect_content "kept" blinky.ipcf

scenario "a project file that is no XML says where the parser stopped"
project=$(new_project)
cd "$project"
printf '<project>\r\n<file>\r\n</project>\r\n' >blinky.ewp
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required EWP file."
expect_stderr_line "$(project_argument "$project")$(separator)blinky.ewp, line 3: Start-end tags mismatch"
expect_missing blinky.ipcf

scenario "a project that references a missing connection file"
project=$(new_project)
cd "$project"
cp "$here/expected/blinky-linked.ewp" blinky.ewp
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required IPCF file."
expect_missing blinky.ipcf
expect_same_file "$here/expected/blinky-linked.ewp" blinky.ewp

scenario "a project file in windows-1252 is read as such and written as UTF-8"
project=$(new_project)
cd "$project"
LC_ALL=C sed "s/UTF-8/windows-1252/; s/>Debug</>Debug "$'\x80'" M"$'\xfc'"ller</" "$examples/blinky.ewp" >blinky.ewp
sed 's/>Debug</>Debug € Müller</' "$here/expected/blinky-linked.ewp" >"$work_root/converted.ewp"
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$work_root/converted.ewp" blinky.ewp
expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf

scenario "a project file in an encoding that is not read is refused, and nothing is written"
project=$(new_project)
cd "$project"
sed 's/UTF-8/windows-1250/' "$examples/blinky.ewp" >blinky.ewp
cp blinky.ewp "$work_root/refused.ewp"
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required EWP file."
expect_stderr_line "$(project_argument "$project")$(separator)blinky.ewp: The encoding windows-1250 is not supported."
expect_same_file "$work_root/refused.ewp" blinky.ewp
expect_missing blinky.ipcf

scenario "a read-only project file is neither replaced nor changed"
project=$(new_project)
cd "$project"
chmod a-w blinky.ewp
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required EWP file."
expect_stderr_line "$(project_argument "$project")$(separator)blinky.ewp: The file is read-only."
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_missing blinky.ipcf
expect_listing . "blinky.ewp lib main.c main.h"
chmod u+w blinky.ewp

scenario "a connection file that is a folder stops the run before anything is written"
project=$(new_project)
cd "$project"
mkdir blinky.ipcf
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required IPCF file."
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_listing . "blinky.ewp blinky.ipcf lib main.c main.h"

if [ "$wine" = no ]; then
  scenario "a project file that is a FIFO is refused without waiting on it"
  project=$(new_project)
  cd "$project"
  rm blinky.ewp
  mkfifo blinky.ewp
  run_program "lib" "$(project_argument "$project")" blinky
  expect_exit 255
  expect_stderr_line "Error: Error while accessing the required EWP file."
  expect_missing blinky.ipcf
fi

# --- Long runs: progress and interrupts (Linux) ----------------------------

# A tree of 40 folders whose every listing waits 50 ms (SLOW_LISTING_LIBRARY,
# preloaded), so that a walk on one job lasts about two seconds.
make_slow_tree() {
  local n
  for n in $(seq 40); do
    mkdir -p "slow/part$n" && touch "slow/part$n/file$n.c" "slow/part$n/file$n.h"
  done
}
slowly() {
  SLOW_LISTING_PATH=slow LD_PRELOAD="$SLOW_LISTING_LIBRARY" SLOW_LISTING_MS=50 "$@"
}

if [ "$wine" = no ] && [ -f "${SLOW_LISTING_LIBRARY:-}" ] && command -v script >/dev/null; then
  scenario "on a terminal a long walk shows its progress in place, erased before the summary line"
  project=$(new_project)
  cd "$project"
  make_slow_tree
  slowly script -qec "'$program' '$project' blinky --folder slow --jobs 1" "$work_root/typescript" >/dev/null </dev/null
  screen=$(tr -d '\n' <"$work_root/typescript")
  redraws=$(grep -o $'\rScanning: [0-9]* files, [0-9]* folders' <<<"$screen" | wc -l)
  [ "$redraws" -ge 2 ] || fail "the progress line was drawn $redraws times: $(cat -v "$work_root/typescript")"
  grep -qF $'folders\r                              \rblinky.ewp: added the reference to blinky.ipcf; blinky.ipcf: added 40 files in 40 groups and 40 include directories' <<<"$screen" ||
    fail "the summary line does not follow the erased progress: $(cat -v "$work_root/typescript")"

  scenario "without a terminal, and with --quiet, a long walk writes nothing but the summary"
  project=$(new_project)
  cd "$project"
  make_slow_tree
  slowly invoke "$project" blinky --folder slow --jobs 1 </dev/null >"$stdout_file" 2>"$stderr_file"
  expect_no_stderr
  expect_stdout "blinky.ewp: added the reference to blinky.ipcf; blinky.ipcf: added 40 files in 40 groups and 40 include directories"
  slowly script -qec "'$program' '$project' blinky --folder slow --jobs 1 --quiet" "$work_root/typescript" >/dev/null </dev/null
  grep -q Scanning "$work_root/typescript" && fail "--quiet showed the progress: $(cat -v "$work_root/typescript")"

  for signal in INT TERM; do
    scenario "SIG$signal during the walk stops the run with 130 and writes nothing"
    project=$(new_project)
    cd "$project"
    make_slow_tree
    SLOW_LISTING_PATH=slow LD_PRELOAD="$SLOW_LISTING_LIBRARY" SLOW_LISTING_MS=50 \
      "$program" "$project" blinky --folder slow --jobs 1 </dev/null >"$stdout_file" 2>"$stderr_file" &
    sleep 1
    kill -s $signal $!
    wait $!
    exit_code=$?
    expect_exit 130
    expect_same_file "$examples/blinky.ewp" blinky.ewp
    expect_listing . "blinky.ewp lib main.c main.h slow"
  done
fi

# --- Windows only: drives and letter case --------------------------------

if [ "$wine" = yes ]; then
  scenario "a folder typed in another letter case gets the stored spelling"
  project=$(new_project)
  cd "$project"
  run_program "LIB" "$(project_argument "$project")" blinky
  expect_exit 0
  expect_same_file "$here/expected/blinky-create.ipcf" blinky.ipcf

  scenario "a folder on another drive is refused"
  project=$(new_project)
  cd "$project"
  run_program 'C:\windows' "$(project_argument "$project")" blinky
  expect_exit 255
  expect_stderr_line 'Error: The folder C:\windows is on another drive than the project directory, so it cannot be named relative to $PROJ_DIR$. Choose a folder on the project'"'"'s drive.'
  expect_same_file "$examples/blinky.ewp" blinky.ewp
  expect_missing blinky.ipcf
fi

finish
