#include "file_bytes.h"

#include <cstring>

#include <pugixml.hpp>

#include "file_reading.h"

namespace addfolder {
namespace {

char* allocate(size_t size) { return static_cast<char*>(pugi::get_memory_allocation_function()(size)); }

}  // namespace

void release_file_bytes(file_bytes& bytes) {
  if (bytes.data != nullptr) pugi::get_memory_deallocation_function()(bytes.data);
  bytes = file_bytes{};
}

document_error read_until_end(const wide_path& file, file_bytes& bytes, size_t size_hint, size_t most_bytes,
                              const std::function<long long(char*, size_t, int&)>& read_some) {
  release_file_bytes(bytes);
  if (size_hint > most_bytes) return make_document_error(document_failure::too_large, file);
  // One byte more than the file holds, so that the end is seen without a second block.
  size_t capacity = size_hint + 1;
  bytes.data = allocate(capacity);
  if (bytes.data == nullptr) return make_document_error(document_failure::out_of_memory, file);
  while (true) {
    if (bytes.size > most_bytes) {
      release_file_bytes(bytes);
      return make_document_error(document_failure::too_large, file);
    }
    if (bytes.size == capacity) {
      // The file grew while it was read.
      const size_t larger = capacity * 2;
      char* grown = allocate(larger);
      if (grown == nullptr) {
        release_file_bytes(bytes);
        return make_document_error(document_failure::out_of_memory, file);
      }
      std::memcpy(grown, bytes.data, bytes.size);
      pugi::get_memory_deallocation_function()(bytes.data);
      bytes.data = grown;
      capacity = larger;
    }
    int code = 0;
    const long long count = read_some(bytes.data + bytes.size, capacity - bytes.size, code);
    if (count < 0) {
      release_file_bytes(bytes);
      return make_document_error(document_failure::system_call, file, code);
    }
    if (count == 0) return {};
    bytes.size += static_cast<size_t>(count);
  }
}

}  // namespace addfolder
