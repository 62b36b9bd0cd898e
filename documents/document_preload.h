// A document read on a thread of its own while the run walks its folders.
//
// The run reads its documents under the project's lock. The largest of them
// can be read and parsed before, while the walk keeps the run busy: under
// the lock the run takes the document only if the file is still in the
// state in which it was read, which its stamp tells, and reads it itself
// otherwise. So the lock guards what the run uses as before.
#pragma once

#include <thread>

#include <pugixml.hpp>

#include "file_stamp.h"
#include "path.h"

namespace addfolder {

class document_preload {
 public:
  // Starts reading file as load_document reads it. Where the system gives
  // no thread, nothing is read and take always declines.
  explicit document_preload(wide_path file);
  // Waits for the reading, which cannot be broken off.
  ~document_preload();
  document_preload(const document_preload&) = delete;
  document_preload& operator=(const document_preload&) = delete;

  // Moves the document into document when it was loaded without an error
  // from the file in the state expected; false otherwise, and then the
  // caller loads the file itself. It gives the document once.
  bool take(pugi::xml_document& document, const file_stamp& expected);

 private:
  wide_path file_;
  pugi::xml_document document_;
  file_stamp stamp_;
  bool loaded_ = false;
  std::thread reader_;
};

}  // namespace addfolder
