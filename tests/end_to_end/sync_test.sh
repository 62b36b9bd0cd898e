#!/bin/bash
# End-to-end tests of keeping a folder in sync: --folder without a prompt,
# exclusions on a tree shaped like a vendor SDK, pruning, dry runs and checks,
# and the usage errors.
#
#   sync_test.sh PROGRAM             the Linux program
#   sync_test.sh --wine PROGRAM.EXE  addfolder-cli.exe under Wine
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/test_lib.sh"

parse_program_arguments "$@"
expected="$here/expected"

# A vendor's driver folder beside the example's own sources: startup files
# for three toolchains per device, HAL templates, and test folders.
make_vendor_tree() {
  local device flavour
  for device in STM32F030x6 STM32F072xb; do
    for flavour in gcc arm iar; do
      mkdir -p "Drivers/CMSIS/Device/ST/STM32F0xx/Source/Templates/$flavour"
      touch "Drivers/CMSIS/Device/ST/STM32F0xx/Source/Templates/$flavour/startup_${device,,}.s"
    done
  done
  mkdir -p Drivers/CMSIS/Device/ST/STM32F0xx/Include Drivers/CMSIS/Include
  touch Drivers/CMSIS/Device/ST/STM32F0xx/Include/stm32f0xx.h Drivers/CMSIS/Include/core_cm0.h
  touch Drivers/CMSIS/Device/ST/STM32F0xx/Source/Templates/system_stm32f0xx.c
  mkdir -p Drivers/HAL/Src Drivers/HAL/Inc Drivers/HAL/test Drivers/BSP/Board/test
  touch Drivers/HAL/Src/stm32f0xx_hal.c Drivers/HAL/Src/stm32f0xx_hal_gpio.c \
    Drivers/HAL/Src/stm32f0xx_hal_msp_template.c Drivers/HAL/Src/stm32f0xx_hal_timebase_tim_template.c \
    Drivers/HAL/Inc/stm32f0xx_hal.h Drivers/HAL/Inc/stm32f0xx_hal_conf_template.h \
    Drivers/HAL/test/test_hal.c Drivers/HAL/test/test_hal.h \
    Drivers/BSP/Board/board.c Drivers/BSP/Board/board.h Drivers/BSP/Board/test/test_board.c
}

# The hash and modification time of every file in the folder, to show that
# nothing was written.
snapshot() {
  find . -maxdepth 1 -type f -printf '%f %T@\n' | sort
  md5sum ./*.ewp ./*.ipcf 2>/dev/null
}

# A new project, the working directory, beside a vendor tree in ../Repository/Cube.
new_project_beside_cube() {
  project=$(new_project)
  cd "$project" || exit 1
  mkdir -p ../Repository/Cube
  (cd ../Repository/Cube && make_vendor_tree)
}

# Runs the program on the project again, and fails where it writes a file.
expect_rerun_writes_nothing() {
  local before
  before=$(snapshot)
  sleep 1
  run_program_without_input "$(project_argument "$project")" blinky "$@"
  expect_exit 0
  [ "$(snapshot)" = "$before" ] || fail "a file was written"
  expect_stdout_line "blinky.ipcf: nothing to add or remove"
}

patterns=(--exclude gcc/ --exclude 'arm/' --exclude '*_template.c' --exclude 'test/')

# --- Exclusions -----------------------------------------------------------

scenario "--folder adds the folder without a prompt, leaving out what the patterns match"
project=$(new_project)
cd "$project"
make_vendor_tree
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers "${patterns[@]}"
expect_exit 0
expect_same_file "$expected/sync-excluded.ipcf" blinky.ipcf
expect_same_file "$expected/blinky-linked.ewp" blinky.ewp
expect_stdout_line "blinky.ewp: added the reference to blinky.ipcf; blinky.ipcf: added 6 files in 4 groups and 4 include directories"
expect_no_stderr

scenario "the same patterns from a file, with comments, blank lines and CRLF line ends"
project=$(new_project)
cd "$project"
make_vendor_tree
printf '# toolchains we do not use\r\ngcc/\r\n\r\narm\\\r\n*_template.c\r\n**/test/\r\n' >sync.txt
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers --exclude-from sync.txt --quiet
expect_exit 0
expect_same_file "$expected/sync-excluded.ipcf" blinky.ipcf
[ ! -s "$stdout_file" ] || fail "--quiet printed: $(cat "$stdout_file")"

scenario "an anchored pattern leaves out only the folder it names"
project=$(new_project)
cd "$project"
make_vendor_tree
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers \
  --exclude CMSIS/Device/ST/STM32F0xx/Source/Templates --exclude 'Board/test' --exclude 'HAL/' --quiet
expect_exit 0
grep -q 'startup' blinky.ipcf && fail "an anchored folder was listed"
# Board/test is anchored at Drivers, where there is no Board.
grep -qF 'Drivers\BSP\Board\test\test_board.c' blinky.ipcf || fail "Board/test left out BSP/Board/test"
grep -qF 'Drivers\BSP\Board\board.c' blinky.ipcf || fail "board.c is missing"
grep -qF 'Drivers\HAL' blinky.ipcf && fail "the folder HAL was listed"

# --- Pruning --------------------------------------------------------------

scenario "--prune removes what is gone, renamed or newly excluded, and nothing else"
project=$(new_project)
cd "$project"
make_vendor_tree
# Entries outside the folder and files that are no sources stay.
cp "$expected/sync-before-prune.ipcf" blinky.ipcf
cp "$expected/blinky-linked.ewp" blinky.ewp
rm Drivers/HAL/Src/stm32f0xx_hal_gpio.c
mv Drivers/BSP/Board/board.c Drivers/BSP/Board/board_v2.c
rm -r Drivers/CMSIS/Include
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers "${patterns[@]}" \
  --exclude 'system_*.c' --prune
expect_exit 0
expect_same_file "$expected/sync-pruned.ipcf" blinky.ipcf
expect_same_file "$expected/blinky-linked.ewp" blinky.ewp
expect_stdout_line "blinky.ipcf: added 1 file in 1 group, removed 4 files in 4 groups, 2 include directories and 2 empty groups"

scenario "a run with nothing to add or remove writes nothing"
before=$(snapshot)
sleep 1
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers "${patterns[@]}" \
  --exclude 'system_*.c' --prune
expect_exit 0
[ "$(snapshot)" = "$before" ] || fail "a file was written"
expect_stdout_line "blinky.ipcf: nothing to add or remove"

if [ "$wine" = no ]; then
  scenario "--prune removes nothing when part of the folder cannot be read"
  chmod 000 Drivers/HAL/Inc
  if ! ls Drivers/HAL/Inc >/dev/null 2>&1; then
    before=$(snapshot)
    run_program_without_input "$project" blinky --folder Drivers "${patterns[@]}" --exclude 'system_*.c' --prune
    expect_exit 0
    expect_stderr_line "Nothing was removed, since part of the folder could not be read."
    [ "$(snapshot)" = "$before" ] || fail "a file was written"
  fi
  chmod 755 Drivers/HAL/Inc
fi

# --- Groups as a tree, and a base -----------------------------------------

scenario "--groups tree and --base write a tree of groups and texts from the base, and a second run writes nothing"
new_project_beside_cube
tree_options=(--folder ../Repository/Cube/Drivers --groups tree --base CUBE=../Repository/Cube "${patterns[@]}")
run_program_without_input "$(project_argument "$project")" blinky "${tree_options[@]}" --prune
expect_exit 0
expect_same_file "$expected/tree-base.ipcf" blinky.ipcf
expect_stdout_line "blinky.ewp: added the reference to blinky.ipcf; blinky.ipcf: added 6 files in 4 groups and 4 include directories"
expect_rerun_writes_nothing "${tree_options[@]}" --prune

scenario "--sync with groups = \"tree\" and a [base] in the sync file writes the same tree; a second --sync writes nothing"
new_project_beside_cube
cat >blinky.addfolder.toml <<'TOML'
groups = "tree"
exclude = ["gcc/", "arm/", "*_template.c", "test/"]

[base]
CUBE = "../Repository/Cube"

[[folder]]
path = "../Repository/Cube/Drivers"
prune = true
TOML
run_program_without_input "$(project_argument "$project")" blinky --sync
expect_exit 0
expect_same_file "$expected/tree-base.ipcf" blinky.ipcf
expect_rerun_writes_nothing --sync
# The sync file's base names the folder's texts, so the removal finds them at any depth of the tree.
run_program_without_input "$(project_argument "$project")" blinky --remove ../Repository/Cube/Drivers --quiet
expect_exit 0
grep -q '<path>\|<group' blinky.ipcf && fail "the removal left entries: $(cat blinky.ipcf)"
sed -i 's#"../Repository/Cube"#"../Repository/Gone"#' blinky.addfolder.toml
run_program_without_input "$(project_argument "$project")" blinky --sync
expect_exit 10
expect_stderr_line "Error: Not a folder: ../Repository/Gone (blinky.addfolder.toml, line 5)"

scenario "--save records --groups tree and --base; a base that the file names otherwise is refused"
new_project_beside_cube
run_program_without_input "$(project_argument "$project")" blinky "${tree_options[@]}" --prune --save --quiet
expect_exit 0
expect_same_file "$expected/tree-base.ipcf" blinky.ipcf
expect_content "# Folders that addfolder keeps in sync with blinky.ipcf

[base]
CUBE = \"../Repository/Cube\"

[[folder]]
path = \"../Repository/Cube/Drivers\"
exclude = [\"gcc/\", \"arm/\", \"*_template.c\", \"test/\"]
prune = true
groups = \"tree\"" blinky.addfolder.toml
run_program_without_input "$(project_argument "$project")" blinky --sync --check
expect_exit 0
run_program_without_input "$(project_argument "$project")" blinky --folder lib --base CUBE=lib --save
expect_exit 10
expect_stderr_line "Error: CUBE is in blinky.addfolder.toml already; change it there."

# --- Dry run and check ----------------------------------------------------

scenario "a dry run reports every change and writes nothing"
project=$(new_project)
cd "$project"
make_vendor_tree
before=$(snapshot)
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers/BSP --dry-run
expect_exit 0
[ "$(snapshot)" = "$before" ] || fail "a file was written"
expect_listing . "Drivers blinky.ewp lib main.c main.h"
expect_stdout "+ blinky.ewp: project: \$PROJ_DIR\$\\blinky.ipcf
+ blinky.ipcf: includePath: \$PROJ_DIR\$\\Drivers\\BSP\\Board
+ blinky.ipcf: asmIncludePath: \$PROJ_DIR\$\\Drivers\\BSP\\Board
+ blinky.ipcf: group Drivers\\BSP\\Board
+ blinky.ipcf: group Drivers\\BSP\\Board\\test
+ blinky.ipcf: group Drivers\\BSP\\Board: \$PROJ_DIR\$\\Drivers\\BSP\\Board\\board.c
+ blinky.ipcf: group Drivers\\BSP\\Board\\test: \$PROJ_DIR\$\\Drivers\\BSP\\Board\\test\\test_board.c"

scenario "a check exits with 1 while there are changes, and with 0 once the project is in sync"
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers/BSP --exclude test/ --prune --check
expect_exit 1
[ "$(snapshot)" = "$before" ] || fail "a check wrote a file"
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers/BSP --exclude test/ --prune
expect_exit 0
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers/BSP --exclude test/ --prune --check
expect_exit 0
expect_stdout "The project is in sync with the folder."
touch Drivers/BSP/Board/extra.c
run_program_without_input "$(project_argument "$project")" blinky --folder Drivers/BSP --exclude test/ --prune --check
expect_exit 1
expect_stdout "+ blinky.ipcf: group Drivers\\BSP\\Board: \$PROJ_DIR\$\\Drivers\\BSP\\Board\\extra.c"

scenario "a header link loop is skipped, and the walk goes on"
project=$(new_project)
cd "$project"
ln -s loop.h lib/hal/loop.h
run_program_without_input "$(project_argument "$project")" blinky --folder lib --quiet
expect_exit 0
expect_same_file "$expected/blinky-create.ipcf" blinky.ipcf
# Linux reports the loop; Wine takes such a link for a file that is not there.
if [ "$wine" = no ]; then
  grep -q '^Exception :: status: .*lib.hal.loop\.h"' "$stderr_file" || fail "the header is not reported: $(cat "$stderr_file")"
fi

scenario "a check that could not read part of the folder never passes"
project=$(new_project)
cd "$project"
cp "$expected/blinky-create.ipcf" blinky.ipcf
cp "$expected/blinky-linked.ewp" blinky.ewp
make_too_deep lib
for mode in --check --dry-run; do
  run_program_without_input "$(project_argument "$project")" blinky --folder lib "$mode"
  [ "$mode" = --check ] && expect_exit 1 || expect_exit 0
  expect_stdout "The check is incomplete, since part of the folder could not be read."
  grep -q '^Error While Accessing : lib.nnnn' "$stderr_file" || fail "$mode does not print the problem"
done

# --- Several folders and the sync file ------------------------------------

# The vendor's drivers, an RTOS with ports for four toolchains, and the
# example's own lib: three folders that each need patterns of their own.
make_firmware_tree() {
  local port
  make_vendor_tree
  for port in GCC/ARM_CM0 RVDS/ARM_CM0 IAR/ARM_CM0 Keil/ARM_CM0; do
    mkdir -p "Middlewares/Third_Party/FreeRTOS/Source/portable/$port"
    touch "Middlewares/Third_Party/FreeRTOS/Source/portable/$port/port.c" \
      "Middlewares/Third_Party/FreeRTOS/Source/portable/$port/portmacro.h"
  done
  mkdir -p Middlewares/Third_Party/FreeRTOS/Source/include
  touch Middlewares/Third_Party/FreeRTOS/Source/tasks.c Middlewares/Third_Party/FreeRTOS/Source/queue.c \
    Middlewares/Third_Party/FreeRTOS/Source/include/FreeRTOS.h lib/board_template.c
  printf 'test/\n' >drivers.exclude
  cp "$expected/sync-before-prune.ipcf" blinky.ipcf
  cp "$expected/blinky-linked.ewp" blinky.ewp
}

rtos=Middlewares/Third_Party/FreeRTOS/Source
rtos_patterns=(--exclude portable/GCC/ --exclude portable/RVDS/ --exclude portable/Keil/)

scenario "--sync keeps three folders, each with its own patterns, as three runs one after the other do"
singles=$(new_project)
cd "$singles"
make_firmware_tree
run_program_without_input "$(project_argument "$singles")" blinky --folder Drivers --exclude gcc/ --exclude arm/ \
  --exclude-from drivers.exclude --exclude '*_template.c' --prune --quiet
expect_exit 0
run_program_without_input "$(project_argument "$singles")" blinky --folder "$rtos" "${rtos_patterns[@]}" \
  --exclude '*_template.c' --quiet
expect_exit 0
run_program_without_input "$(project_argument "$singles")" blinky --folder lib --exclude '*_template.c' --quiet
expect_exit 0
project=$(new_project)
cd "$project"
make_firmware_tree
cat >blinky.addfolder.toml <<'TOML'
# Folders that addfolder keeps in sync with blinky.ipcf
exclude = ["*_template.c"]

[[folder]]
path = "Drivers"
exclude = ["gcc/", "arm/"]
exclude_from = "drivers.exclude"
prune = true

[[folder]]
path = 'Middlewares\Third_Party\FreeRTOS\Source'
exclude = ["portable/GCC/", "portable/RVDS/", "portable/Keil/"]

[[folder]]
path = "lib"
TOML
run_program_without_input "$(project_argument "$project")" blinky --sync
expect_exit 0
expect_same_file "$singles/blinky.ipcf" blinky.ipcf
expect_same_file "$singles/blinky.ewp" blinky.ewp
expect_stdout "blinky.ipcf: added 8 files in 5 groups and 4 include directories, removed 1 file in 1 group, 1 include directory and 1 empty group"

scenario "a second --sync writes nothing, and --sync --check passes until a folder changes"
before=$(snapshot)
sleep 1
run_program_without_input "$(project_argument "$project")" blinky --sync
expect_exit 0
expect_stdout "blinky.ipcf: nothing to add or remove"
run_program_without_input "$(project_argument "$project")" blinky --sync --check
expect_exit 0
expect_stdout "The project is in sync with the folder."
[ "$(snapshot)" = "$before" ] || fail "a file was written"
touch "$rtos/timers.c"
rm Drivers/HAL/Src/stm32f0xx_hal.c
run_program_without_input "$(project_argument "$project")" blinky --sync --check --jobs 1
expect_exit 1
expect_stdout "- blinky.ipcf: group Drivers\\HAL\\Src: \$PROJ_DIR\$\\Drivers\\HAL\\Src\\stm32f0xx_hal.c
+ blinky.ipcf: group Middlewares\\Third_Party\\FreeRTOS\\Source: \$PROJ_DIR\$\\Middlewares\\Third_Party\\FreeRTOS\\Source\\timers.c"
[ "$(snapshot)" = "$before" ] || fail "a check wrote a file"

scenario "a sync file that names a missing folder, or holds a typo, stops the run before anything is written"
rm -r lib
before=$(md5sum blinky.ewp blinky.ipcf; stat -c %Y blinky.ewp blinky.ipcf)
run_program_without_input "$(project_argument "$project")" blinky --sync
expect_exit 10
expect_stderr_line "Error: Not a folder: lib (blinky.addfolder.toml, line 15)"
sed -i 's/^prune = true/prun = true/' blinky.addfolder.toml
run_program_without_input "$(project_argument "$project")" blinky --sync
expect_exit 10
expect_stderr_line 'Error: blinky.addfolder.toml:8:1: unknown key "prun"'
[ "$(md5sum blinky.ewp blinky.ipcf; stat -c %Y blinky.ewp blinky.ipcf)" = "$before" ] || fail "a file was written"

scenario "--save makes the sync file and then appends to it, and --remove takes a deleted folder out"
project=$(new_project)
cd "$project"
make_firmware_tree
cp "$examples/blinky.ewp" blinky.ewp
rm blinky.ipcf
run_program_without_input "$(project_argument "$project")" blinky --folder lib --save --exclude '*_template.c' \
  --exclude-from drivers.exclude --prune
expect_exit 0
expect_stdout "blinky.ewp: added the reference to blinky.ipcf; blinky.ipcf: added 5 files in 3 groups and 2 include directories; blinky.addfolder.toml: added 1 folder"
run_program_without_input "$(project_argument "$project")" blinky --save --folder "$rtos" --folder Drivers/BSP "${rtos_patterns[@]:0:2}" --quiet
expect_exit 0
expect_content "# Folders that addfolder keeps in sync with blinky.ipcf

[[folder]]
path = \"lib\"
exclude = [\"*_template.c\"]
exclude_from = \"drivers.exclude\"
prune = true

[[folder]]
path = \"$rtos\"
exclude = [\"portable/GCC/\"]

[[folder]]
path = \"Drivers/BSP\"
exclude = [\"portable/GCC/\"]" blinky.addfolder.toml
cp blinky.addfolder.toml "$work_root/saved.toml"
run_program_without_input "$(project_argument "$project")" blinky --save --folder Drivers/BSP/ --dry-run
expect_exit 10
expect_stderr_line "Error: Drivers/BSP is in blinky.addfolder.toml already; change it there."
expect_same_file "$work_root/saved.toml" blinky.addfolder.toml
run_program_without_input "$(project_argument "$project")" blinky --sync --check
expect_exit 0
rm -r Drivers
run_program_without_input "$(project_argument "$project")" blinky --remove Drivers/BSP --remove lib
expect_exit 0
expect_stdout "blinky.ipcf: removed 7 files in 5 groups, 3 include directories and 5 empty groups"
expect_stderr_line "Drivers/BSP is still in blinky.addfolder.toml; the next --sync adds it again."
expect_stderr_line "lib is still in blinky.addfolder.toml; the next --sync adds it again."
run_program_without_input "$(project_argument "$project")" blinky --folder "$rtos" "${rtos_patterns[@]:0:2}" --check
expect_exit 0

# --- Jobs ----------------------------------------------------------------

scenario "any number of jobs writes the same bytes and reports the same problems in the same order"
project=$(new_project)
cd "$project"
make_vendor_tree
mkdir -p Drivers/Empty/one Drivers/Empty/two
if [ "$wine" = no ]; then
  # Names that cannot be named in a project, each reported where the walk meets it.
  touch "Drivers/HAL/Src/bad$(printf '\377').c" 'Drivers/BSP/back\slash.c' "Drivers/CMSIS/odd$(printf '\376')"
fi
for jobs in 1 2 8; do
  cp "$examples/blinky.ewp" blinky.ewp
  rm -f blinky.ipcf
  run_program_without_input "$(project_argument "$project")" blinky --folder Drivers --exclude gcc/ --jobs $jobs
  expect_exit 0
  cp blinky.ipcf "$work_root/jobs$jobs.ipcf"
  cp "$stderr_file" "$work_root/jobs$jobs.err"
done
for jobs in 2 8; do
  expect_same_file "$work_root/jobs1.ipcf" "$work_root/jobs$jobs.ipcf"
  expect_same_file "$work_root/jobs1.err" "$work_root/jobs$jobs.err"
done
if [ "$wine" = no ]; then
  [ "$(grep -c . "$work_root/jobs1.err")" = 5 ] || fail "not every problem was reported: $(cat "$work_root/jobs1.err")"
fi

# --- Runs that overlap ----------------------------------------------------

scenario "eight runs at once on one project take turns, and every folder lands"
project=$(new_project)
cd "$project"
for n in 1 2 3 4 5 6 7 8; do
  mkdir "part$n" && touch "part$n/part$n.c" "part$n/part$n.h"
done
pids=()
for n in 1 2 3 4 5 6 7 8; do
  invoke "$(project_argument "$project")" blinky --folder "part$n" --quiet </dev/null >"$work_root/run$n.out" 2>&1 &
  pids+=($!)
done
for n in 1 2 3 4 5 6 7 8; do
  wait "${pids[$((n - 1))]}" || fail "run $n exited with $?: $(cat "$work_root/run$n.out")"
done
for n in 1 2 3 4 5 6 7 8; do
  grep -qF "<group name=\"part$n\">" blinky.ipcf || fail "part$n is missing"
  [ "$(grep -cF "\$PROJ_DIR\$\\part$n</path>" blinky.ipcf)" = 2 ] || fail "the include directory part$n is not in both sections"
done
[ "$(grep -cF '<name>$PROJ_DIR$\blinky.ipcf</name>' blinky.ewp)" = 1 ] || fail "the project does not hold one reference"
expect_listing . "blinky.ewp blinky.ipcf lib main.c main.h part1 part2 part3 part4 part5 part6 part7 part8"

# --- The command line -----------------------------------------------------

scenario "--help and --version answer without a project"
run_program_without_input --help
expect_exit 0
grep -q '^Usage: addfolder PROJECT_DIR PROJECT_NAME \[OPTIONS\]' "$stdout_file" || fail "no usage line"
for option in --folder --sync --save --remove --exclude --exclude-from --prune --groups --base --dry-run --check \
  --quiet --jobs --help --version; do
  grep -q -- "^  $option" "$stdout_file" || fail "the help does not list $option"
done
run_program_without_input -h
expect_exit 0
run_program_without_input --version
expect_exit 0
expect_stdout "addfolder 1.0.0"

scenario "usage errors name what is wrong, and touch nothing"
project=$(new_project)
cd "$project"
head -c 1048577 /dev/zero | tr '\0' 'a' >big.txt
long=$(printf '%05000d' 0)
# Written in UTF-8 on both hosts, since standard error is no console here.
for case in "nowhere|Not a folder: Öl日|--folder Öl日" \
  "too large|The exclusion file big.txt is too large (over 1 MiB).|--exclude-from big.txt" \
  "missing list|The exclusion file missing.txt cannot be read.|--exclude-from missing.txt" \
  "bad pattern|Invalid pattern: ..|--exclude .." \
  "unknown|Unknown option: --prun|--prun" \
  "no value|The option --exclude needs a value.|--exclude" \
  "jobs|The option --jobs needs a number from 1 to 64: 0|--jobs 0" \
  "groups|The option --groups needs tree or flat: nested|--groups nested" \
  "variable|Invalid argument variable: PROJ_DIR|--base PROJ_DIR=lib" \
  "base folder|Not a folder: nowhere|--base SDK=nowhere" \
  "no sync file|There is no sync file blinky.addfolder.toml.|--sync" \
  "sync and folder|The options --sync and --folder cannot be given together.|--sync --folder lib"; do
  IFS='|' read -r name message options <<<"$case"
  # shellcheck disable=SC2086
  run_program_without_input "$(project_argument "$project")" blinky $options
  expect_exit 10
  expect_stderr_line "Error: $message"
done
# What Windows makes of --exclude "gcc\" --dry-run in a batch file.
run_program_without_input "$(project_argument "$project")" blinky --folder lib --exclude 'gcc" --dry-run'
expect_exit 10
expect_stderr_line 'Error: Invalid pattern: gcc" --dry-run (a \ before a closing quote escapes the quote; write gcc/ or "gcc\\")'
# A pattern too long to show whole is cut after 60 characters; the mark
# after them is in the error stream's encoding.
run_program_without_input "$(project_argument "$project")" blinky --exclude "$long"
expect_exit 10
LC_ALL=C grep -q "^Error: Invalid pattern: ${long:0:60}[^0]" "$stderr_file" || fail "the pattern is not cut: $(cat "$stderr_file")"
run_program_without_input "$(project_argument "$project")" --folder lib
expect_exit 10
expect_stderr_line "Error: Expected two arguments: the project directory and the project name."
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_listing . "big.txt blinky.ewp lib main.c main.h"

finish
