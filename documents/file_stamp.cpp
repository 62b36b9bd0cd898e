#include "file_stamp.h"

namespace addfolder {

bool is_same_file(const file_stamp& left, const file_stamp& right) {
  return left.exists && right.exists && left.volume == right.volume && left.identity == right.identity;
}

}  // namespace addfolder
