// The one error value of the documents layer: what failed, with the file,
// the platform's code and, for XML that does not parse, where. The front
// ends make the user's words of it.
#pragma once

#include <cstddef>
#include <string>

#include "path.h"

namespace addfolder {

// What failed.
enum class document_failure {
  // Nothing: the operation succeeded.
  none,
  // A call to the system failed; code holds the platform's code.
  system_call,
  // The name leads to a folder, a device or a pipe, not to a file.
  not_a_file,
  // The file is read-only, and a read-only file is never replaced.
  read_only,
  // The parser refused the bytes: detail holds its description, line and
  // offset where it stopped.
  malformed,
  // The root element is not the one of this kind of document: detail holds
  // its name, expected the name it should have.
  wrong_root,
  // Written out, the document's indentation alone would exceed 1 GiB.
  too_deep,
  // The declaration names an encoding that this program does not read:
  // detail holds the name.
  unsupported_encoding,
  // The bytes, or a character that a reference names, are not valid in the
  // document's encoding: detail holds the encoding's name, as declared or as
  // the bytes show it.
  invalid_text,
  // The file is larger than its reader takes.
  too_large,
  // Another program changed the file after this run read it, on every attempt.
  changed,
  // The lock of the project cannot be taken: code holds the platform's code.
  lock_failed,
  // The lock's name is taken by something that is no file, such as a folder.
  lock_not_a_file,
  // Another run held the project's lock for all of the run's patience.
  lock_timed_out,
  // The run was asked to stop while it waited for another run's lock.
  lock_wait_stopped,
  // Memory ran out.
  out_of_memory,
};

// What failed, and where.
struct document_error {
  document_failure failure = document_failure::none;
  // The file concerned.
  wide_path file;
  // The platform's error code (errno on POSIX, the Win32 error on Windows), or 0.
  int code = 0;
  // Where the parser stopped: the offset in the file's bytes and its line,
  // counted from 1; 0 when there is none.
  size_t offset = 0;
  size_t line = 0;
  // The parser's description of a malformed document, the name of a wrong
  // root, or the name of an encoding.
  std::string detail;
  // The root element's name that a wrong_root document should have.
  std::string expected;

  // True when something failed.
  explicit operator bool() const { return failure != document_failure::none; }
};

// An error of one kind about a file, with the platform's code where there is one.
document_error make_document_error(document_failure failure, const wide_path& file, int code = 0);

// A document whose text is refused in the encoding named.
document_error encoding_error(document_failure failure, const wide_path& file, const std::string& encoding);

// A document whose root element is named found where expected was due.
document_error wrong_root_error(const wide_path& file, const char* found, const char* expected);

}  // namespace addfolder
