// For the Windows files of the documents layer: a handle that closes itself.
#pragma once

#include <windows.h>

#include <memory>

namespace addfolder {

struct handle_closer {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using unique_handle = std::unique_ptr<void, handle_closer>;

// Takes over a handle; INVALID_HANDLE_VALUE gives none.
inline unique_handle adopt(HANDLE handle) {
  return unique_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// ReadFile and WriteFile take at most this much at once.
inline constexpr size_t largest_transfer = 1u << 30;

}  // namespace addfolder
