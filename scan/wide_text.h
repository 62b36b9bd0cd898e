// UTF-16 text: the form in which the core holds paths and the texts it shows.
#pragma once

#include <string>
#include <string_view>

namespace addfolder {

// UTF-16 text that is not a path: a message, a prompt, a line typed by the user.
using wide_text = std::u16string;
using wide_text_view = std::u16string_view;

}  // namespace addfolder
