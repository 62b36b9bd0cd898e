#include "text_store.h"

#include <algorithm>
#include <cstring>

namespace addfolder {
namespace {

constexpr std::size_t usual_block_size = 64 * 1024;

}  // namespace

std::string_view text_store::add(std::string_view text) {
  if (text.empty()) return {};
  if (blocks_.empty() || block_size_ - used_ < text.size()) {
    // A text longer than a block gets a block of its own size.
    block_size_ = std::max(usual_block_size, text.size());
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
    used_ = 0;
  }
  char* start = blocks_.back().get() + used_;
  std::memcpy(start, text.data(), text.size());
  used_ += text.size();
  return std::string_view(start, text.size());
}

}  // namespace addfolder
