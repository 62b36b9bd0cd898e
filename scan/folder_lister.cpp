#include "folder_lister.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace addfolder {
namespace {

// How many folders the helpers list before the walk takes them, at most.
constexpr std::size_t most_folders_ahead = 128;

// How often the walk looks whether a helper has listed the folder it needs
// before it sleeps: a folder takes microseconds, about what sleeping and
// being woken cost.
constexpr int looks_without_yielding = 2048;
constexpr int looks_before_sleeping = looks_without_yielding + 64;

}  // namespace

void list_folder(listed_folder& folder, const exclusion_rules& rules) {
  // Its name ends its path: names that hold the separator are never entered.
  const wide_view path(folder.path);
  const wide_view own_name = folder.parent ? path.substr(path.rfind(u'\\') + 1) : wide_view();
  std::shared_ptr<open_folder> kept;
  folder.error = list_subdirectory(folder.path, folder.parent.get(), own_name, folder.listing, &kept);
  // Once opened, it no longer holds its parent open.
  folder.parent.reset();
  if (folder.error != 0) return;
  const std::vector<directory_entry>& entries = folder.listing.entries;
  const bool excludes = !is_empty(rules);
  // Without patterns nothing is left out, and no flags are kept.
  if (excludes) folder.left_out.assign(entries.size(), false);
  folder.subfolders.reserve(static_cast<std::size_t>(
      std::count_if(entries.begin(), entries.end(), [](const directory_entry& entry) { return entry.is_directory; })));
  exclusion_state below;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const directory_entry& entry = entries[i];
    // The walk reports these and goes past them.
    if (entry.unconvertible_name || entry.name_holds_backslash) continue;
    const wide_view name = folder.listing.name(entry);
    if (excludes && is_excluded(rules, folder.exclusions, name, entry.is_directory,
                                entry.is_directory ? &below : nullptr)) {
      folder.left_out[i] = true;
      continue;
    }
    if (!entry.is_directory) continue;
    auto& subfolder = folder.subfolders.emplace_back(std::make_unique<listed_folder>());
    subfolder->path.reserve(folder.path.size() + 1 + name.size());
    subfolder->path = folder.path;
    append_element(subfolder->path, name);
    subfolder->parent = kept;
    if (excludes) subfolder->exclusions = below;
  }
}

unsigned default_walk_jobs() {
  const unsigned hardware = std::thread::hardware_concurrency();
  return std::clamp(hardware, 1u, 8u);
}

folder_lister::folder_lister(const exclusion_rules& rules, unsigned jobs) : rules_(rules) {
  try {
    for (unsigned i = 1; i < jobs; ++i) helpers_.emplace_back([this] { help(); });
  } catch (const std::system_error&) {
    // The system has no more threads to give: the walk makes do with fewer.
  }
}

folder_lister::~folder_lister() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

// Lists a folder that this thread has taken, and offers its subfolders,
// the first on top.
void folder_lister::list_and_offer(listed_folder& folder) {
  try {
    list_folder(folder, rules_);
  } catch (...) {
    // The walk ends when it takes this folder, so its subfolders are not offered.
    folder.failure = std::current_exception();
    return;
  }
  if (helpers_.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  try {
    for (auto subfolder = folder.subfolders.rbegin(); subfolder != folder.subfolders.rend(); ++subfolder) {
      waiting_.push_back(subfolder->get());
    }
  } catch (const std::bad_alloc&) {
    // What is not offered, the walk lists itself when it gets there.
  }
}

// Takes the folder on top of the waiting ones and lists it ahead of the
// walk; the lock is held before and after, not while it lists.
void folder_lister::list_next_waiting(std::unique_lock<std::mutex>& lock) {
  listed_folder& folder = *waiting_.back();
  waiting_.pop_back();
  folder.progress = listed_folder::stage::listing;
  lock.unlock();
  list_and_offer(folder);
  lock.lock();
  folder.progress = listed_folder::stage::listed;
  ++ahead_;
}

void folder_lister::help() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    work_.wait(lock, [this] { return stopping_ || (!waiting_.empty() && ahead_ < most_folders_ahead); });
    if (stopping_) return;
    list_next_waiting(lock);
    const bool more = !waiting_.empty();
    // Woken after the lock is free, the others need not wait for it.
    lock.unlock();
    listed_.notify_all();
    if (more) work_.notify_all();
    lock.lock();
  }
}

void folder_lister::await(listed_folder& folder) {
  std::unique_lock<std::mutex> lock(mutex_);
  // While a helper lists the folder, this thread lists one that the walk
  // needs later, rather than wait for nothing.
  while (folder.progress == listed_folder::stage::listing && !waiting_.empty() && ahead_ < most_folders_ahead) {
    list_next_waiting(lock);
    if (!waiting_.empty()) work_.notify_all();
  }
  lock.unlock();
  for (int look = 0; look < looks_before_sleeping && folder.progress == listed_folder::stage::listing; ++look) {
    // Most waits end within a few hundred plain looks; yielding beyond
    // those leaves the core to the helper where cores are few.
    if (look >= looks_without_yielding) std::this_thread::yield();
  }
  lock.lock();
  if (folder.progress == listed_folder::stage::waiting) {
    // No helper has it: this thread lists it, and no helper may find it later.
    const auto offered = std::find(waiting_.rbegin(), waiting_.rend(), &folder);
    if (offered != waiting_.rend()) waiting_.erase(std::next(offered).base());
    folder.progress = listed_folder::stage::listing;
    lock.unlock();
    list_and_offer(folder);
    lock.lock();
    folder.progress = listed_folder::stage::listed;
    if (!waiting_.empty()) work_.notify_all();
  } else {
    listed_.wait(lock, [&folder] { return folder.progress == listed_folder::stage::listed; });
    --ahead_;
    lock.unlock();
    work_.notify_one();
  }
  if (folder.failure) std::rethrow_exception(folder.failure);
}

}  // namespace addfolder
