#include "text_store.h"

#include <cstring>

namespace addfolder {
namespace {

constexpr std::size_t usual_block_size = 64 * 1024;

}  // namespace

std::string_view text_store::add(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > usual_block_size / 4 && (blocks_.empty() || block_size_ - used_ < text.size())) {
    // A long text that does not fit gets a block of its own, placed before
    // the one being filled, so that the room left in that one is not lost.
    auto own = std::make_unique_for_overwrite<char[]>(text.size());
    std::memcpy(own.get(), text.data(), text.size());
    const std::string_view stored(own.get(), text.size());
    blocks_.insert(blocks_.empty() ? blocks_.end() : blocks_.end() - 1, std::move(own));
    return stored;
  }
  if (blocks_.empty() || block_size_ - used_ < text.size()) {
    block_size_ = usual_block_size;
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
    used_ = 0;
  }
  char* start = blocks_.back().get() + used_;
  std::memcpy(start, text.data(), text.size());
  used_ += text.size();
  return std::string_view(start, text.size());
}

}  // namespace addfolder
