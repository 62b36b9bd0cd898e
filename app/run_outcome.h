// How a run, or a step of it, ended: the app layer's one error channel. The
// front ends decide how an outcome is shown.
#pragma once

#include <string>

#include "change_log.h"
#include "exit_codes.h"
#include "wide_text.h"

namespace addfolder {

// The exit code, the message to show when it failed and the line that says
// why, and what it changed (or, in a dry run, would change).
struct run_outcome {
  int exit_code = exit_success;
  std::u16string message;
  std::u16string reason;
  change_log changes;
  // Part of the folder could not be read, so the changes may be incomplete.
  bool walk_incomplete = false;
  // Pruning was asked for but left out, since part of the folder could not be read.
  bool prune_skipped = false;
  // An observer stopped the run at a safe point: before the writes, between
  // them with the first taken back, or after the last. The exit code is the
  // observer's.
  bool stopped = false;

  // True when it failed: there is a message to show.
  bool failed() const { return !message.empty(); }
};

// An outcome that failed with this exit code, message and reason.
run_outcome failure(int exit_code, std::u16string_view message, std::u16string reason = {});

}  // namespace addfolder
