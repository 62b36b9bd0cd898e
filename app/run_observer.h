// What watches a run from outside: the front end's progress display, and the
// user's wish to stop, which the run takes at its safe points.
#pragma once

#include "walk_observer.h"

namespace addfolder {

// Asked by the run at each safe point; keep_walking (from walk_observer)
// during the walk.
class run_observer : public walk_observer {
 public:
  // The run waits for another run to let the project's lock go; false stops
  // it with nothing written.
  virtual bool keep_waiting() = 0;
  // The run is about to write, or in a dry run to report; false stops it
  // with nothing written. A cancel is no longer possible after this.
  virtual bool begin_writing() = 0;
  // The run has written one file and has another to write; false stops it there.
  virtual bool keep_writing() = 0;
  // The exit code of a run that the observer stopped.
  virtual int stopped_exit_code() const = 0;
};

}  // namespace addfolder
