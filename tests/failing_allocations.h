// pugixml's allocator made to fail, to see what happens when memory runs out.
#pragma once

#include <cstdlib>

#include <pugixml.hpp>

namespace addfolder::test_support {

// Lets pugixml allocate a number of times more, then fails every allocation,
// until the end of the scope.
struct failing_allocations {
  static inline long allowed = 0;
  static void* allocate(size_t size) { return allowed-- > 0 ? std::malloc(size) : nullptr; }
  explicit failing_allocations(long count) {
    allowed = count;
    pugi::set_memory_management_functions(allocate, std::free);
  }
  ~failing_allocations() { pugi::set_memory_management_functions(std::malloc, std::free); }
  failing_allocations(const failing_allocations&) = delete;
  failing_allocations& operator=(const failing_allocations&) = delete;
};

}  // namespace addfolder::test_support
