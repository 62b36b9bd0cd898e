// Items kept in order as they arrive: each new item starts a run, and runs
// merge as the digits of a binary counter carry. The merges cost what one
// sort at the end would, but most of them happen while the items still
// come, and what is left at the end is a few merges.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace addfolder {

template <typename T, typename Less>
class sorted_runs {
 public:
  explicit sorted_runs(Less less) : less_(less) {}

  // Adds an item and merges the runs that it completes.
  void add(T item) {
    starts_.push_back(items_.size());
    items_.push_back(std::move(item));
    while (starts_.size() >= 2 && items_.size() - starts_.back() >= starts_.back() - starts_[starts_.size() - 2]) {
      merge_last();
    }
  }

  // All items in order; an equal pair stays in the order in which it came.
  std::vector<T>& sorted() {
    while (starts_.size() >= 2) merge_last();
    return items_;
  }

  // Lets all items go.
  void clear() {
    items_ = {};
    starts_ = {};
  }

 private:
  void merge_last() {
    const auto middle = items_.begin() + static_cast<std::ptrdiff_t>(starts_.back());
    starts_.pop_back();
    std::inplace_merge(items_.begin() + static_cast<std::ptrdiff_t>(starts_.back()), middle, items_.end(), less_);
  }

  Less less_;
  std::vector<T> items_;
  // Where each run begins; the last run ends at the end of items_.
  std::vector<std::size_t> starts_;
};

}  // namespace addfolder
