#include "run_outcome.h"

namespace addfolder {

run_outcome failure(int exit_code, std::u16string_view message, std::u16string reason) {
  run_outcome outcome;
  outcome.exit_code = exit_code;
  outcome.message = message;
  outcome.reason = std::move(reason);
  return outcome;
}

}  // namespace addfolder
