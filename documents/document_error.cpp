#include "document_error.h"

namespace addfolder {

document_error make_document_error(document_failure failure, const wide_path& file, int code) {
  document_error error;
  error.failure = failure;
  error.file = file;
  error.code = code;
  return error;
}

document_error encoding_error(document_failure failure, const wide_path& file, const std::string& encoding) {
  document_error error = make_document_error(failure, file);
  error.detail = encoding;
  return error;
}

document_error wrong_root_error(const wide_path& file, const char* found, const char* expected) {
  document_error error = make_document_error(document_failure::wrong_root, file);
  error.detail = found;
  error.expected = expected;
  return error;
}

}  // namespace addfolder
