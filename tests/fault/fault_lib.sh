# Helpers for the fault tests, on top of the end-to-end helpers: runs under
# resource limits, and checks that a file is whole.

source "$here/../end_to_end/test_lib.sh"

# Large trees and documents take longer than the end-to-end examples.
run_time_limit=300

# The arguments of every fault test: [--wine] PROGRAM, then the tools that
# the test needs: DOCUMENT-CHECK (addfolder-document-loads), TREE-GENERATOR
# (addfolder-bench-tree), then the test's own.
parse_fault_arguments() {
  parse_program_arguments "$@"
  [ "$wine" = no ] || shift
  shift
  document_check="" generator=""
  [ $# -eq 0 ] || document_check="$(absolute_path "$1")"
  [ $# -le 1 ] || generator="$(absolute_path "$2")"
  local tool
  for tool in "$document_check" "$generator"; do
    [ -z "$tool" ] || [ -f "$tool" ] || { echo "no tool at $tool"; exit 2; }
  done
}

# Runs the program with the given text typed at the prompt, under a ulimit
# option and value (such as -f 1), bounded in time.
run_limited() {
  local option="$1" value="$2" input="$3"
  shift 3
  (ulimit "$option" "$value" && printf '%s\n' "$input" | timeout "$run_time_limit" "$program" "$@") >"$stdout_file" 2>"$stderr_file"
  exit_code=$?
}

# Each file exists and loads by the program's load convention.
expect_loads() {
  local file
  for file in "$@"; do
    if [ ! -f "$file" ]; then
      fail "$file is missing"
    elif ! "$document_check" "$file" 2>/dev/null; then
      fail "$file does not load"
    fi
  done
}

# Makes count empty files named PREFIX-N.c in a folder.
make_sources() {
  local folder="$1" count="$2" prefix="$3" i
  mkdir -p "$folder"
  for ((i = 0; i < count; ++i)); do : >"$folder/$prefix-$i.c"; done
}

# A file of the given size in bytes, made of one line repeated.
repeat_line() {
  local line="$1" bytes="$2"
  yes "$line" | head -c "$bytes"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# In the current folder, a copy of the example project: a project file with
# 100,000 more entries and a generated tree sdk of 30,000 files. Leaves in
# $saved the files to compare with: pristine.ewp, linked.ewp (after any
# run), before.ipcf (the first run's), and, once the tree has grown by a
# tenth, extended.ipcf (extend mode from before.ipcf) and created.ipcf
# (create mode). Sets run_duration_ms to the time one run took. Ends with
# the pristine project file and no connection file.
prepare_large_project() {
  "$generator" sdk 30000 7 >/dev/null
  {
    sed '/<\/project>/d' "$examples/blinky.ewp"
    seq 0 99999 | sed 's|.*|    <file><name>$PROJ_DIR$\\old\\entry_&.c</name></file>|'
    echo '</project>'
  } >blinky.ewp
  saved="$work_root/saved"
  mkdir -p "$saved"
  cp blinky.ewp "$saved/pristine.ewp"
  run_program "sdk" "$PWD" blinky
  expect_exit 0
  cp blinky.ewp "$saved/linked.ewp"
  cp blinky.ipcf "$saved/before.ipcf"
  "$generator" --grow sdk 10 >/dev/null
  local start
  start=$(now_ms)
  run_program "sdk" "$PWD" blinky
  run_duration_ms=$(($(now_ms) - start))
  expect_exit 0
  cp blinky.ipcf "$saved/extended.ipcf"
  cp "$saved/pristine.ewp" blinky.ewp
  rm blinky.ipcf
  run_program "sdk" "$PWD" blinky
  expect_exit 0
  cp blinky.ipcf "$saved/created.ipcf"
  cp "$saved/pristine.ewp" blinky.ewp
  rm blinky.ipcf
}

# Puts the files back as a run in create or extend mode finds them, and sets
# old_project, old_connection (empty in create mode) and new_connection.
start_mode() {
  if [ "$1" = create ]; then
    old_project="$saved/pristine.ewp" old_connection="" new_connection="$saved/created.ipcf"
    rm -f blinky.ipcf
  else
    old_project="$saved/linked.ewp" old_connection="$saved/before.ipcf" new_connection="$saved/extended.ipcf"
    cp "$old_connection" blinky.ipcf
  fi
  cp "$old_project" blinky.ewp
}

