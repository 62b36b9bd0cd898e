#include "documents/file_access.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace addfolder {

void release_file_bytes(file_bytes& bytes) {
  if (bytes.data != nullptr) pugi::get_memory_deallocation_function()(bytes.data);
  bytes = file_bytes{};
}

bool read_until_end(file_bytes& bytes, size_t size_hint, const std::function<long long(char*, size_t)>& read_some) {
  release_file_bytes(bytes);
  // One byte more than the file holds, so that the end is seen without a second block.
  size_t capacity = size_hint + 1;
  bytes.data = static_cast<char*>(pugi::get_memory_allocation_function()(capacity));
  if (bytes.data == nullptr) return false;
  while (true) {
    if (bytes.size == capacity) {
      // The file grew while it was read.
      const size_t larger = capacity * 2;
      char* grown = static_cast<char*>(pugi::get_memory_allocation_function()(larger));
      if (grown == nullptr) {
        release_file_bytes(bytes);
        return false;
      }
      std::memcpy(grown, bytes.data, bytes.size);
      pugi::get_memory_deallocation_function()(bytes.data);
      bytes.data = grown;
      capacity = larger;
    }
    const long long count = read_some(bytes.data + bytes.size, capacity - bytes.size);
    if (count < 0) {
      release_file_bytes(bytes);
      return false;
    }
    if (count == 0) return true;
    bytes.size += static_cast<size_t>(count);
  }
}

std::string unique_name_suffix(const char* extension) {
  static unsigned counter = 0;
  const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  char text[64];
  std::snprintf(text, sizeof text, ".%llx-%x%s", stamp & 0xFFFFFFFFFFull, counter++, extension);
  return text;
}

}  // namespace addfolder
