#!/bin/bash
# End-to-end tests of the Windows program as the IDE starts it: addfolder.exe
# under Wine in a virtual X display, its folder dialog and message boxes driven
# with clicks and keys, real files checked afterwards.
#
#   gui_test.sh ADDFOLDER.EXE WINDOW_PROBE.EXE SCREENSHOT_FOLDER
#
# WINEPREFIX names the Wine prefix (a new one under the temporary folder if
# unset). Xvfb and wineserver are stopped at the end, whatever happens. Every
# wait has a deadline: a window that never comes is a failure, not a hang.
set -u

here="$(cd "$(dirname "$0")" && pwd)"
expected="$here/../end_to_end/expected"
source "$here/../end_to_end/test_lib.sh"

if [ $# -ne 3 ]; then
  echo "usage: gui_test.sh ADDFOLDER.EXE WINDOW_PROBE.EXE SCREENSHOT_FOLDER"
  exit 2
fi
program="$1"
probe="$2"
screenshots="$3"
for tool in Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing (scripts/install-test-dependencies installs it)"
    exit 77
  fi
done

# A fresh prefix takes Wine a while to set up; the rest is quick.
prefix_timeout=300
window_timeout=60
exit_timeout=30
probe_timeout=30

dialog="Browse for Folder"
title="Select folder to be added to the project"

wine_run="$here/../../scripts/wine-run"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
export WINEPREFIX="${WINEPREFIX:-$work_root/wineprefix}"
export WINEDEBUG=-all
# Wine names its dialogs and buttons in the user's language; these are English.
export LC_ALL=C.UTF-8
unset LANGUAGE
drive_link="$WINEPREFIX/dosdevices/p:"
screen_width=1024
screen_height=768
probe_file="$work_root/probe"
program_pid=""
xvfb_pid=""
window=""
failure_shots=0

cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  timeout 30 "$wineserver" -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -f "$drive_link"
  chmod -R u+w "$work_root" 2>/dev/null
  rm -rf "$work_root"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# --- Wine and the display ----------------------------------------------------

# Sets the prefix up headless, so that its first start shows no window, and
# lets its server end, so that every program below belongs to the display.
prepare_wine() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if ! env -u DISPLAY timeout "$prefix_timeout" "$wine_run" wineboot >"$work_root/wineboot.log" 2>&1; then
    echo "Wine could not start in $WINEPREFIX within ${prefix_timeout}s:"
    cat "$work_root/wineboot.log"
    exit 1
  fi
  timeout 60 "$wineserver" -w || timeout 30 "$wineserver" -k
}

start_display() {
  local display_file="$work_root/display" deadline=$((SECONDS + 30))
  Xvfb -displayfd 3 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp -noreset 3>"$display_file" >"$work_root/xvfb.log" 2>&1 &
  xvfb_pid=$!
  until [ -s "$display_file" ]; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ $SECONDS -ge $deadline ]; then
      echo "Xvfb did not start:"
      cat "$work_root/xvfb.log"
      exit 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$display_file")"
}

# --- The program ----------------------------------------------------------------

# A fresh copy of the example project on the drive P:, and the working
# directory set to it, as the IDE does. Prints nothing; sets project.
new_project_on_drive_p() {
  project=$(new_project)
  ln -sfn "$(dirname "$project")" "$drive_link"
  cd "$project"
}

start_program() {
  timeout $((window_timeout + 2 * exit_timeout)) "$wine_run" "$program" "$@" >"$stdout_file" 2>"$stderr_file" &
  program_pid=$!
}

stop_program() {
  [ -n "$program_pid" ] || return 0
  kill "$program_pid" 2>/dev/null
  wait "$program_pid" 2>/dev/null
  program_pid=""
  exit_code=none
}

# Waits for the program to end; sets exit_code (already set if it has ended).
wait_for_exit() {
  local deadline=$((SECONDS + exit_timeout))
  [ -n "$program_pid" ] || return 0
  while kill -0 "$program_pid" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then
      fail "the program did not end within ${exit_timeout}s"
      screenshot_of_failure
      stop_program
      return 1
    fi
    sleep 0.1
  done
  wait "$program_pid"
  exit_code=$?
  program_pid=""
}

screenshot_of_failure() {
  failure_shots=$((failure_shots + 1))
  import -window root "$screenshots/failure-$failure_shots.png" 2>/dev/null &&
    echo "   screen at the failure: $screenshots/failure-$failure_shots.png"
}

# Waits for a visible window with exactly this caption; sets window to its X id.
wait_for_window() {
  local caption="$1" deadline=$((SECONDS + window_timeout))
  window=""
  while [ -z "$window" ]; do
    window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait_for_exit
      fail "no window '$caption': the program ended with exit code $exit_code; stderr: $(cat "$stderr_file")"
      return 1
    fi
    if [ $SECONDS -ge $deadline ]; then
      fail "no window '$caption' within ${window_timeout}s"
      screenshot_of_failure
      # The display or Wine is broken: the next scenarios need not wait as long.
      window_timeout=10
      stop_program
      return 1
    fi
    sleep 0.2
  done
  read_window "$caption"
}

# Reads the window and its controls (class, screen rectangle, text) into
# probe_file: Wine draws controls inside the X window, where X cannot see them.
read_window() {
  if ! timeout "$probe_timeout" "$wine_run" "$probe" "$1" >"$probe_file" 2>"$work_root/probe.err"; then
    fail "cannot read the window '$1': $(cat "$work_root/probe.err")"
    return 1
  fi
}

# The text of the first control of this class.
control_text() {
  awk -F'\t' -v class="$1" '$1 == class { print $6; exit }' "$probe_file"
}

# The longest text of the controls of this class: a message box's message.
longest_control_text() {
  awk -F'\t' -v class="$1" '$1 == class && length($6) > length(text) { text = $6 } END { print text }' "$probe_file"
}

expect_control() {
  awk -F'\t' -v class="$1" -v text="$2" '$1 == class && $6 == text { found = 1 } END { exit !found }' "$probe_file" ||
    fail "no $1 '$2' in the window; it holds: $(cut -f 1,6 "$probe_file" | tr '\t\n' ': ')"
}

# Clicks the middle of the control of this class and text.
click_control() {
  local position
  position=$(awk -F'\t' -v class="$1" -v text="$2" \
    '$1 == class && $6 == text { print int(($2 + $4) / 2), int(($3 + $5) / 2); exit }' "$probe_file")
  if [ -z "$position" ]; then
    fail "no $1 '$2' to click"
    return 1
  fi
  xdotool mousemove $position click 1
}

# Waits until the dialog's edit box shows this folder name.
wait_for_edit_text() {
  local deadline=$((SECONDS + 10))
  while read_window "$dialog"; do
    [ "$(control_text Edit)" = "$1" ] && return 0
    if [ $SECONDS -ge $deadline ]; then
      fail "the dialog's edit box shows '$(control_text Edit)', expected '$1'"
      return 1
    fi
    sleep 0.2
  done
  return 1
}

# The report window, as read_window saw it, lies on the screen and takes at
# most 80% of its width and height; its text, Copy and Close lie inside it.
expect_fits_screen() {
  local problems
  problems=$(awk -F'\t' -v width="$screen_width" -v height="$screen_height" '
    NR == 1 { l = $2; t = $3; r = $4; b = $5
      if (l < 0 || t < 0 || r > width || b > height) print "the window " l "," t "-" r "," b " leaves the screen"
      if ((r - l) * 10 > width * 8 || (b - t) * 10 > height * 8) print "the window is " r - l "x" b - t ", over 80%"
      next }
    $1 == "Edit" || ($1 == "Button" && ($6 == "Copy" || $6 == "Close")) {
      parts++
      if ($2 < l || $3 < t || $4 > r || $5 > b || $4 <= $2 || $5 <= $3) print "the " ($1 == "Edit" ? "text" : $6) " lies outside the window" }
    END { if (parts != 3) print "the window holds " parts + 0 " of its text, Copy and Close" }' "$probe_file")
  [ -z "$problems" ] || fail "$problems"
}

take_screenshot() {
  import -window "$window" "$screenshots/$1.png" || fail "no screenshot $screenshots/$1.png"
}

# --- Scenarios -----------------------------------------------------------------

mkdir -p "$screenshots"
started=$SECONDS
prepare_wine
echo "Wine ready after $((SECONDS - started))s"
start_display

# Starts the program and waits until its dialog shows the project directory.
open_dialog() {
  start_program "$@"
  wait_for_window "$dialog" && wait_for_edit_text blinky
}

# The run added the folder: the connection file as expected, the project linked.
expect_added() {
  expect_same_file "$expected/$1" blinky.ipcf
  expect_same_file "$expected/blinky-linked.ewp" blinky.ewp
}

expect_untouched() {
  expect_same_file "$examples/blinky.ewp" blinky.ewp
  expect_listing . "blinky.ewp lib main.c main.h"
}

scenario "one argument: the message box, exit code 10, nothing touched"
new_project_on_drive_p
start_program 'P:\blinky'
if wait_for_window Error; then
  expect_control Static "Expected two arguments: the project directory and the project name."
  click_control Button OK
fi
wait_for_exit && expect_exit 10
expect_untouched

scenario "--version: the report window with the name and version, exit code 0, nothing touched"
new_project_on_drive_p
start_program --version
if wait_for_window addfolder; then
  expect_control Edit "addfolder $version"
  expect_fits_screen
  take_screenshot version-window
  click_control Button Close
fi
wait_for_exit && expect_exit 0
expect_untouched

scenario "--help: the usage in the report window, exit code 0, nothing touched"
new_project_on_drive_p
start_program --help
if wait_for_window addfolder; then
  usage=$(control_text Edit)
  case "$usage" in
    "Usage: addfolder PROJECT_DIR PROJECT_NAME [OPTIONS] "*) ;;
    *) fail "the box does not begin with the usage line: $usage" ;;
  esac
  for option in --folder --exclude-from --prune --dry-run --check --quiet; do
    [[ "$usage" == *"  $option "* ]] || fail "the box does not list $option"
  done
  expect_fits_screen
  take_screenshot help-window
  click_control Button Close
fi
wait_for_exit && expect_exit 0
expect_untouched

scenario "--folder adds the folder with no dialog and shows nothing"
new_project_on_drive_p
start_program 'P:\blinky' blinky --folder lib
wait_for_exit && expect_exit 0
expect_added blinky-create.ipcf

scenario "problems met while walking the folder appear in the report window after the run"
new_project_on_drive_p
make_too_deep lib
start_program 'P:\blinky' blinky --folder lib
if wait_for_window addfolder; then
  case "$(control_text Edit)" in
    'Error While Accessing : lib\nnnn'*) ;;
    *) fail "the window does not list the problem: $(control_text Edit)" ;;
  esac
  expect_fits_screen
  take_screenshot problems-window
  click_control Button Close
fi
wait_for_exit && expect_exit 0
expect_added blinky-create.ipcf

scenario "--dry-run shows the changes in the report window, Copy puts them on the clipboard, nothing is written"
new_project_on_drive_p
start_program 'P:\blinky' blinky --folder lib --dry-run
if wait_for_window addfolder; then
  case "$(control_text Edit)" in
    '+ blinky.ewp: project: $PROJ_DIR$\blinky.ipcf  + blinky.ipcf: includePath: $PROJ_DIR$\lib  '*) ;;
    *) fail "the window does not begin with the changes: $(control_text Edit)" ;;
  esac
  click_control Button Copy
  clipboard=$(timeout "$probe_timeout" "$wine_run" "$probe" --clipboard | tr -d '\r' | head -n 2)
  [ "$clipboard" = $'+ blinky.ewp: project: $PROJ_DIR$\\blinky.ipcf\n+ blinky.ipcf: includePath: $PROJ_DIR$\\lib' ] ||
    fail "the clipboard begins with: $clipboard"
  click_control Button Close
fi
wait_for_exit && expect_exit 0
expect_untouched

scenario "a dry run of 100 changes: the window fits the screen and scrolls; Close ends the run"
new_project_on_drive_p
mkdir lib/many
for n in $(seq -w 1 100); do touch "lib/many/file$n.c"; done
start_program 'P:\blinky' blinky --folder lib --dry-run
if wait_for_window addfolder; then
  expect_fits_screen
  [[ "$(control_text Edit)" == *'$PROJ_DIR$\lib\many\file100.c '* ]] || fail "the window does not hold every change"
  take_screenshot dry-run-window
  click_control Button Close
fi
wait_for_exit && expect_exit 0
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_missing blinky.ipcf

scenario "the dialog shows its title and the project directory; Cancel touches nothing"
new_project_on_drive_p
if open_dialog 'P:\blinky' blinky; then
  expect_control Static "$title"
  take_screenshot folder-dialog
  click_control Button Cancel
fi
wait_for_exit && expect_exit 0
expect_untouched

scenario "OK without a key adds the preselected project directory"
new_project_on_drive_p
open_dialog 'P:\blinky' blinky && click_control Button OK
wait_for_exit && expect_exit 0
expect_added blinky-whole.ipcf

scenario "Right then Down reaches the subfolder, and OK adds it"
new_project_on_drive_p
if open_dialog 'P:\blinky' blinky; then
  # A click on the title gives the dialog the keyboard; the tree has its focus.
  click_control Static "$title"
  xdotool key Right
  xdotool key Down
  if wait_for_edit_text lib; then
    take_screenshot folder-dialog-subfolder
    click_control Button OK
  fi
fi
wait_for_exit && expect_exit 0
expect_added blinky-create.ipcf

scenario "Add folder… (--save): the folder chosen in the dialog is added and recorded in the sync file"
new_project_on_drive_p
open_dialog 'P:\blinky' blinky --save && click_control Button OK
wait_for_exit && expect_exit 0
expect_added blinky-whole.ipcf
expect_content "# Folders that addfolder keeps in sync with blinky.ipcf

[[folder]]
path = \".\"" blinky.addfolder.toml

scenario "Sync folders (--sync) shows nothing when it succeeds, and its errors in the Error box"
start_program 'P:\blinky' blinky --sync
wait_for_exit && expect_exit 0
expect_added blinky-whole.ipcf
rm blinky.addfolder.toml
start_program 'P:\blinky' blinky --sync
if wait_for_window Error; then
  expect_control Static "There is no sync file blinky.addfolder.toml."
  click_control Button OK
fi
wait_for_exit && expect_exit 10

scenario "a relative project directory is preselected as the working directory"
new_project_on_drive_p
open_dialog . blinky && click_control Button OK
wait_for_exit && expect_exit 0
expect_added blinky-whole.ipcf

scenario "a missing project file: the message box, exit code 255, nothing touched"
new_project_on_drive_p
rm blinky.ewp
echo "kept" >blinky.ipcf
if open_dialog 'P:\blinky' blinky; then
  click_control Button OK
  if wait_for_window Error; then
    # The message, a blank line, and the system's words for why.
    case "$(longest_control_text Static)" in
      "Error while accessing the required EWP file.  "?*) ;;
      *) fail "the box does not say why: $(longest_control_text Static)" ;;
    esac
    take_screenshot error-box
    click_control Button OK
  fi
fi
wait_for_exit && expect_exit 255
expect_content "kept" blinky.ipcf
expect_missing blinky.ewp

# A walk made slow by a preloaded library (built here for the host), so that
# the progress window has time to show.
slow_listing="$work_root/slow_listing.so"
if c++ -shared -fPIC -O2 -o "$slow_listing" "$here/../slow_listing-posix.cpp" -ldl 2>"$work_root/slow_listing.log"; then
  scenario "a long walk shows the progress window; Cancel ends the run with 0 and writes nothing"
  new_project_on_drive_p
  for n in $(seq 40); do
    mkdir -p "slow/part$n" && touch "slow/part$n/file$n.c"
  done
  SLOW_LISTING_PATH=blinky/slow SLOW_LISTING_MS=250 LD_PRELOAD="$slow_listing" \
    start_program 'P:\blinky' blinky --folder slow --jobs 1
  if wait_for_window addfolder; then
    case "$(control_text Static)" in
      "Scanning: "*" files, "*" folders") ;;
      *) fail "the window does not show the count: $(control_text Static)" ;;
    esac
    take_screenshot progress-window
    click_control Button Cancel
  fi
  wait_for_exit && expect_exit 0
  expect_same_file "$examples/blinky.ewp" blinky.ewp
  expect_listing . "blinky.ewp lib main.c main.h slow"
else
  echo "SKIPPED the progress window: the slowing library does not build: $(cat "$work_root/slow_listing.log")"
fi

echo "GUI scenarios took $((SECONDS - started))s; screenshots in $screenshots"
finish
