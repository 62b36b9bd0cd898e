// Folders listed ahead of the walk, on several threads.
//
// A walk meets folders in one order, depth-first, and takes them one at a
// time. Listing a folder is what costs: the system calls, the conversion of
// every name, the sort, the exclusion patterns. The lister does that on
// helper threads for the folders that the walk will need soon, so that the
// walk finds them ready; a folder that no helper has taken yet when the
// walk needs it is listed on the walk's own thread. Every folder's listing
// is the same whichever thread makes it, and the walk takes them in its own
// order, so the walk's results do not depend on the number of threads.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "exclusion_rules.h"
#include "file_system.h"
#include "path.h"

namespace addfolder {

// One folder as the walk takes it.
struct listed_folder {
  // The folder's path: the scan root, then "\" and a name per level.
  wide_path path;
  // The open folder that lists it, while it is not listed yet; null where
  // none is kept, and it is then opened by its path.
  std::shared_ptr<open_folder> parent;
  // The exclusion patterns that its entries are matched against.
  exclusion_state exclusions;
  // Its entries in listing order; empty when it could not be listed.
  directory_listing listing;
  // The platform's error code when it could not be listed, else 0.
  int error = 0;
  // For each entry: the user leaves it out; empty where nothing is.
  std::vector<bool> left_out;
  // The folders among the entries that the walk enters, in listing order:
  // those that are not left out and whose names can be named.
  std::vector<std::unique_ptr<listed_folder>> subfolders;

  // Who lists it; changed under the lister's lock, and read without it
  // while the walk waits for a helper to end.
  enum class stage : std::uint8_t { waiting, listing, listed };
  std::atomic<stage> progress{stage::waiting};
  // A failure other than the listing's own (memory), raised again on the walk's thread.
  std::exception_ptr failure;
};

// Lists a folder whose path and exclusions are set, on the calling thread.
// A folder whose listing fails keeps its error and has no entries.
void list_folder(listed_folder& folder, const exclusion_rules& rules);

// The threads that list folders ahead of one walk. It must outlive nothing
// that it lists: the walk destroys it before the folders.
class folder_lister {
 public:
  // Starts jobs - 1 helper threads; with one job there are none and every
  // folder is listed by the walk, one after the other.
  folder_lister(const exclusion_rules& rules, unsigned jobs);
  ~folder_lister();
  folder_lister(const folder_lister&) = delete;
  folder_lister& operator=(const folder_lister&) = delete;

  // Makes the folder listed: waits for the helper that lists it, or lists it
  // on this thread when no helper has taken it. Raises what listing raised.
  void await(listed_folder& folder);

 private:
  void help();
  void list_and_offer(listed_folder& folder);
  void list_next_waiting(std::unique_lock<std::mutex>& lock);

  const exclusion_rules& rules_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable listed_;
  // Folders that wait for a helper; the last is taken first, which keeps
  // the helpers near the walk.
  std::vector<listed_folder*> waiting_;
  // Folders listed by helpers that the walk has not taken yet; the helpers
  // stop at a limit, so that memory stays small when the walk is slower.
  std::size_t ahead_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

// The number of jobs that a walk uses by default: the hardware's threads, at most 8.
unsigned default_walk_jobs();

}  // namespace addfolder
