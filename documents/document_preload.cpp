#include "document_preload.h"

#include <system_error>
#include <utility>

#include "xml_document.h"

namespace addfolder {

document_preload::document_preload(wide_path file) : file_(std::move(file)) {
  try {
    reader_ = std::thread([this] {
      try {
        loaded_ = !load_document(document_, file_, &stamp_);
      } catch (...) {
        // Out of memory: the run reads the file again under the lock and
        // meets the failure there, where it is reported.
        loaded_ = false;
      }
    });
  } catch (const std::system_error&) {
    // No thread: the run reads the file under the lock alone.
  }
}

document_preload::~document_preload() {
  if (reader_.joinable()) reader_.join();
}

bool document_preload::take(pugi::xml_document& document, const file_stamp& expected) {
  if (reader_.joinable()) reader_.join();
  const bool taken = loaded_ && stamp_.exists && stamp_ == expected;
  loaded_ = false;
  if (taken) {
    document = std::move(document_);
  } else {
    document_.reset();
  }
  return taken;
}

}  // namespace addfolder
