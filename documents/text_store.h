// Many short texts kept back to back in large blocks: one allocation for
// thousands of texts, and no text ever moves, so views of them stay valid
// as long as the store lives, also when the store itself is moved.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace addfolder {

class text_store {
 public:
  // Copies the text into the store; the view lives as long as the store.
  // Raises std::bad_alloc when memory runs out.
  std::string_view add(std::string_view text);

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t block_size_ = 0;
  std::size_t used_ = 0;
};

}  // namespace addfolder
