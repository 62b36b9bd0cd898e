#include "new_connection_file.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "path_text_match.h"

namespace addfolder {
namespace {

constexpr size_t no_group = connection_entries::no_group;

// The places among texts of the first of each text.
std::vector<size_t> firsts_among(const std::vector<std::string_view>& texts) {
  const std::vector<size_t> first = first_of_same_texts(texts);
  std::vector<size_t> kept;
  for (size_t i = 0; i < first.size(); ++i) {
    if (first[i] == i) kept.push_back(i);
  }
  return kept;
}

// Appends to kept the first of each text among a section's sources, given
// by their places. Sources after one prefix are the same text when what
// follows it is; a few are compared with those kept so far.
void keep_firsts_of_sources(const connection_entries& entries, const size_t* places, size_t count,
                            std::vector<size_t>& kept) {
  constexpr size_t compared_one_by_one = 16;
  bool after_one_prefix = true;
  for (size_t k = 0; k < count; ++k) after_one_prefix = after_one_prefix && !entries.sources[places[k]].is_whole();
  if (after_one_prefix && count <= compared_one_by_one) {
    const size_t first_kept = kept.size();
    for (size_t k = 0; k < count; ++k) {
      const std::string_view text = entries.sources[places[k]].text();
      bool repeated = false;
      for (size_t earlier = first_kept; earlier < kept.size() && !repeated; ++earlier) {
        repeated = same_path_text(entries.sources[kept[earlier]].text(), text);
      }
      if (!repeated) kept.push_back(places[k]);
    }
    return;
  }
  std::vector<std::string> made;
  std::vector<std::string_view> texts;
  made.reserve(count);
  for (size_t k = 0; k < count; ++k) {
    const connection_entries::source& source = entries.sources[places[k]];
    texts.push_back(after_one_prefix ? source.text() : std::string_view(made.emplace_back(path_text_of(entries, source))));
  }
  for (const size_t k : firsts_among(texts)) kept.push_back(places[k]);
}

bool holds_zero_byte(std::string_view text) { return text.find('\0') != std::string_view::npos; }

// The bytes that the library escapes: in an element's text (1) and in an
// attribute's value (2). A carriage return, which the library leaves as it
// is in a text, every save writes as a character reference.
constexpr unsigned char in_text = 1;
constexpr unsigned char in_attribute = 2;
constexpr unsigned char escape_kind(unsigned char byte) {
  if (byte == '&' || byte == '<') return in_text | in_attribute;
  if (byte == '>') return in_text;
  if (byte == '"') return in_attribute;
  if (byte == '\t' || byte == '\n') return in_attribute;
  return byte < 32 ? in_text | in_attribute : 0;
}

// escape_kind for every byte, looked up.
struct escape_table {
  unsigned char kinds[256] = {};
  constexpr escape_table() {
    for (int byte = 0; byte < 256; ++byte) kinds[byte] = escape_kind(static_cast<unsigned char>(byte));
  }
};
constexpr escape_table escapes;

// Whether any of eight bytes may need escaping: a control character, or
// one of & < > ". Almost no text holds one, so most bytes are passed over
// eight at a time.
bool may_need_escaping(std::uint64_t bytes) {
  constexpr std::uint64_t ones = 0x0101010101010101ull;
  constexpr std::uint64_t highs = 0x8080808080808080ull;
  const auto has_zero_byte = [](std::uint64_t word) { return ((word - ones) & ~word & highs) != 0; };
  return ((bytes - ones * 0x20) & ~bytes & highs) != 0 || has_zero_byte(bytes ^ (ones * '&')) ||
         has_zero_byte(bytes ^ (ones * '<')) || has_zero_byte(bytes ^ (ones * '>')) ||
         has_zero_byte(bytes ^ (ones * '"'));
}

// Appends a text to out, escaped where it stands: in an element's text or
// an attribute's value.
void append_escaped(std::string& out, std::string_view text, unsigned char where) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i % 8 == 0) {
      std::uint64_t bytes = 0;
      while (i + 8 <= text.size() && (std::memcpy(&bytes, text.data() + i, 8), !may_need_escaping(bytes))) i += 8;
      if (i == text.size()) break;
    }
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((escapes.kinds[byte] & where) == 0) continue;
    out.append(text, start, i - start);
    start = i + 1;
    if (byte == '&') {
      out += "&amp;";
    } else if (byte == '<') {
      out += "&lt;";
    } else if (byte == '>') {
      out += "&gt;";
    } else if (byte == '"') {
      out += "&quot;";
    } else {
      out += {'&', '#', static_cast<char>('0' + byte / 10), static_cast<char>('0' + byte % 10), ';'};
    }
  }
  out.append(text, start);
}

std::string escaped_text(std::string_view text, unsigned char where) {
  std::string out;
  append_escaped(out, text, where);
  return out;
}

// The bytes of the file, handed to the writer in pieces of 64 KiB.
class file_text {
 public:
  explicit file_text(pugi::xml_writer& writer) : writer_(writer) { text_.reserve(capacity + 1024); }
  ~file_text() { flush(); }
  file_text& operator<<(std::string_view part) {
    text_ += part;
    if (text_.size() >= capacity) flush();
    return *this;
  }
  // A text escaped where it stands.
  void escaped(std::string_view text, unsigned char where) {
    append_escaped(text_, text, where);
    if (text_.size() >= capacity) flush();
  }
  void flush() {
    if (!text_.empty()) writer_.write(text_.data(), text_.size());
    text_.clear();
  }

 private:
  static constexpr size_t capacity = 64 * 1024;
  pugi::xml_writer& writer_;
  std::string text_;
};

void write_path(file_text& file, std::string_view indent, std::string_view text) {
  file << indent << "<path>";
  file.escaped(text, in_text);
  file << "</path>\n";
}

// The files of a group share its prefix, which is escaped once for them all.
void write_sources(file_text& file, std::string_view indent, const connection_entries& entries,
                   std::span<const size_t> places) {
  std::string_view prefix;
  std::string start;
  for (const size_t i : places) {
    const connection_entries::source& source = entries.sources[i];
    const std::string_view own_prefix = path_prefix_of(entries, source);
    if (start.empty() || own_prefix.data() != prefix.data() || own_prefix.size() != prefix.size()) {
      prefix = own_prefix;
      start = indent;
      start += "<path>";
      start += escaped_text(prefix, in_text);
    }
    file << start;
    file.escaped(source.text(), in_text);
    file << "</path>\n";
  }
}

// An element of the document element: empty, or with its children's lines.
template <typename Children>
void write_section(file_text& file, std::string_view name, bool empty, Children children) {
  file << "\t<" << name;
  if (empty) {
    file << " />\n";
    return;
  }
  file << ">\n";
  children();
  file << "\t</" << name << ">\n";
}

}  // namespace

std::optional<new_connection_file> new_connection_file::plan(const connection_entries& entries) {
  if (entries.layout != group_layout::flat) return std::nullopt;
  for (const std::string& text : entries.include_paths) {
    if (text.empty() || holds_zero_byte(text)) return std::nullopt;
  }
  // A group's files share its prefix, which is looked at once.
  std::string_view looked_at;
  for (const connection_entries::source& source : entries.sources) {
    const std::string_view prefix = path_prefix_of(entries, source);
    if (prefix.data() != looked_at.data() || prefix.size() != looked_at.size()) {
      if (holds_zero_byte(prefix)) return std::nullopt;
      looked_at = prefix;
    }
    if ((prefix.empty() && source.text().empty()) || holds_zero_byte(source.text())) return std::nullopt;
  }
  std::vector<std::string_view> names;
  for (const std::string& name : entries.group_names) {
    if (holds_zero_byte(name)) return std::nullopt;
    names.push_back(name);
  }
  if (!are_different_texts(names)) return std::nullopt;

  new_connection_file file(entries);
  file.includes_ = firsts_among({entries.include_paths.begin(), entries.include_paths.end()});
  // The sources section by section, each in its order: the groups', then files'.
  const size_t sections = entries.group_names.size() + 1;
  const auto section_of = [&](const connection_entries::source& source) {
    return source.group() == no_group ? sections - 1 : source.group();
  };
  std::vector<size_t> starts(sections + 1, 0);
  for (const connection_entries::source& source : entries.sources) ++starts[section_of(source) + 1];
  for (size_t k = 1; k <= sections; ++k) starts[k] += starts[k - 1];
  std::vector<size_t> places(entries.sources.size());
  std::vector<size_t> next(starts.begin(), starts.end() - 1);
  for (size_t i = 0; i < entries.sources.size(); ++i) places[next[section_of(entries.sources[i])]++] = i;
  file.sources_.reserve(places.size());
  file.ends_.reserve(sections);
  for (size_t k = 0; k < sections; ++k) {
    keep_firsts_of_sources(entries, places.data() + starts[k], starts[k + 1] - starts[k], file.sources_);
    file.ends_.push_back(file.sources_.size());
  }
  return file;
}

void new_connection_file::count(change_counts& counts) const {
  counts.added_include_directories += includes_.size();
  counts.added_groups += ends_.size() - 1;
  counts.added_files += sources_.size();
  for (size_t group = 0; group + 1 < ends_.size(); ++group) {
    counts.groups_with_added_files += listed_in(group).empty() ? 0 : 1;
  }
}

std::span<const size_t> new_connection_file::listed_in(size_t section) const {
  const size_t begin = section == 0 ? 0 : ends_[section - 1];
  return {sources_.data() + begin, ends_[section] - begin};
}

void new_connection_file::write(pugi::xml_writer& writer) const {
  const connection_entries& entries = *entries_;
  file_text file(writer);
  file << "<?xml version=\"1.0\"?>\n<iarProjectConnection name=\"src\" oneShot=\"false\">\n";
  for (const std::string_view name : {"includePath", "asmIncludePath"}) {
    write_section(file, name, includes_.empty(), [&] {
      for (const size_t i : includes_) write_path(file, "\t\t", entries.include_paths[i]);
    });
  }
  const size_t groups = ends_.size() - 1;
  write_section(file, "files", groups == 0 && listed_in(groups).empty(), [&] {
    for (size_t group = 0; group < groups; ++group) {
      file << "\t\t<group name=\"";
      file.escaped(entries.group_names[group], in_attribute);
      if (listed_in(group).empty()) {
        file << "\" />\n";
        continue;
      }
      file << "\">\n";
      write_sources(file, "\t\t\t", entries, listed_in(group));
      file << "\t\t</group>\n";
    }
    write_sources(file, "\t\t", entries, listed_in(groups));
  });
  file << "</iarProjectConnection>\n";
}

}  // namespace addfolder
