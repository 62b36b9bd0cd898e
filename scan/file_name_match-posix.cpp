#include "file_name_match.h"

namespace addfolder {

const name_rule host_name_rule = name_rule::exact;

}  // namespace addfolder
