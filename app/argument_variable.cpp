#include "argument_variable.h"

#include <algorithm>

#include "messages.h"
#include "text_conversion.h"
#include "user_pattern.h"

namespace addfolder {
namespace {

// The argument variables that the IDE itself defines.
constexpr std::u16string_view ide_variables[] = {
    u"CONFIG_NAME", u"CUR_DIR",      u"CUR_LINE",     u"DATE",         u"EW_DIR",      u"EXE_DIR",
    u"FILE_BNAME",  u"FILE_BPATH",   u"FILE_DIR",     u"FILE_FNAME",   u"FILE_PATH",   u"LIST_DIR",
    u"OBJ_DIR",     u"PROJ_DIR",     u"PROJ_FNAME",   u"PROJ_PATH",    u"PROJ_NAME",   u"TARGET_BNAME",
    u"TARGET_BPATH", u"TARGET_DIR",  u"TARGET_FNAME", u"TARGET_PATH",  u"TOOLKIT_DIR", u"USER_NAME",
    u"WS_DIR",      u"WS_FNAME",     u"WS_PATH",
};

bool is_name_character(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
}

}  // namespace

bool same_variable_name(wide_text_view left, wide_text_view right) {
  return left.size() == right.size() && std::equal(left.begin(), left.end(), right.begin(), [](char16_t a, char16_t b) {
           return ascii_upper(a) == ascii_upper(b);
         });
}

bool is_custom_variable_name(wide_text_view name) {
  if (name.empty() || !std::all_of(name.begin(), name.end(), is_name_character)) return false;
  if (name.size() >= 2 && name.front() == u'_' && name.back() == u'_') return false;
  return std::none_of(std::begin(ide_variables), std::end(ide_variables),
                      [&](std::u16string_view own) { return same_variable_name(name, own); });
}

bool parse_base_value(wide_text_view value, base_definition& base, wide_text& error) {
  const size_t equals = value.find(u'=');
  if (equals == wide_text_view::npos || equals + 1 == value.size()) {
    error = wide_text(base_without_folder) + wide_text(value);
    return false;
  }
  base.name = value.substr(0, equals);
  base.directory = value.substr(equals + 1);
  if (!is_custom_variable_name(base.name)) {
    error = wide_text(invalid_argument_variable) + base.name;
    return false;
  }
  return check_typed_value(base.directory, error);
}

bool add_base_definition(std::vector<base_definition>& bases, base_definition base, wide_text& error) {
  for (const base_definition& known : bases) {
    if (!same_variable_name(known.name, base.name)) continue;
    error = wide_text(argument_variable_twice_intro) + base.name + wide_text(argument_variable_twice_detail);
    return false;
  }
  bases.push_back(std::move(base));
  return true;
}

}  // namespace addfolder
