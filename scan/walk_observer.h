// What watches a walk from outside: it hears how far the walk has come, and
// may ask it to stop.
#pragma once

#include <cstddef>

namespace addfolder {

class folder_receiver;

// Told of the walk's progress from the walk's own thread.
class walk_observer {
 public:
  virtual ~walk_observer() = default;
  // The walk has met so many files and folders so far; false stops it.
  virtual bool keep_walking(std::size_t files, std::size_t folders) = 0;
};

// How a walk runs.
struct walk_options {
  // The number of threads that list folders, the walk's own included.
  unsigned jobs = 1;
  // Told of the progress before each folder that the walk enters, and
  // every few dozen entries; may be null.
  walk_observer* observer = nullptr;
  // Takes each folder's record as soon as the walk has left the folder; may
  // be null, and then the walk's result keeps them all.
  folder_receiver* receiver = nullptr;
};

}  // namespace addfolder
