// The index answers exactly as the walks over the children do, for sections
// small enough to walk and for those it keeps in its hash set.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "connection_index.h"
#include "tests/reference_model.h"

namespace addfolder {
namespace {

// More children than any section that the index walks instead of hashing.
constexpr int many_children = 40;

// Every node of a document, the document node and a null handle included.
std::vector<pugi::xml_node> every_node(const pugi::xml_document& document) {
  std::vector<pugi::xml_node> nodes{pugi::xml_node(), document};
  struct collector : pugi::xml_tree_walker {
    std::vector<pugi::xml_node>* nodes;
    bool for_each(pugi::xml_node& node) override {
      nodes->push_back(node);
      return true;
    }
  } walker;
  walker.nodes = &nodes;
  const_cast<pugi::xml_document&>(document).traverse(walker);
  return nodes;
}

// Every text and attribute value of a document, and near misses of them.
std::vector<std::string> texts_of(const pugi::xml_document& document) {
  std::vector<std::string> texts{"", " ", "x"};
  for (pugi::xml_node node : every_node(document)) {
    for (std::string text : {std::string(node.value()), std::string(node.child_value())}) {
      texts.push_back(text);
      texts.push_back(" " + text + " ");
      texts.push_back(text + std::string(1, '\0') + "tail");
      if (!text.empty()) texts.push_back(text.substr(1));
      // The same text with its separators turned the other way.
      std::string turned = text;
      for (char& c : turned) c = c == '/' ? '\\' : c == '\\' ? '/' : c;
      texts.push_back(turned);
    }
    for (pugi::xml_attribute attribute : node.attributes()) texts.push_back(attribute.value());
  }
  return texts;
}

// Asks the index and the walks the same questions about every node.
void expect_same_answers(connection_index& index, const pugi::xml_document& document,
                         const std::vector<std::string>& texts) {
  const std::vector<pugi::xml_node> nodes = every_node(document);
  for (const std::string& text : texts) {
    for (pugi::xml_node section : nodes) {
      ASSERT_EQ(is_path_listed(index, section, text), reference::is_path_listed(section, text))
          << "text \"" << text << "\" in a " << section.name() << " of kind " << section.type();
    }
    ASSERT_EQ(find_group(index, text), reference::find_group(index.files, text)) << "group \"" << text << "\"";
  }
}

TEST(ConnectionIndex, AnswersAsTheWalksOnALoadedFile) {
  for (int fillers : {0, many_children}) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(
        "<iarProjectConnection>"
        "<includePath><path>$PROJ_DIR$\\lib</path><path>$PROJ_DIR$\\lib</path><path> $PROJ_DIR$\\lib </path>"
        "<other><![CDATA[$PROJ_DIR$\\cdata]]></other><path><b>inner</b>after</path><path/></includePath>"
        "<files>loose text"
        "<group name=\"LIB\\HAL\"><path>$PROJ_DIR$\\lib\\hal\\a.c</path></group>"
        "<group name=\"lib\\hal\"/>"
        "<group name=\"lib\\hal\"><path>second</path></group>"
        "<grp name=\"lib\"/>"
        "<group id=\"1\" name=\"x\" name=\"lib\"/>"
        "<group name=\"\"/><group/><group name=\"a&amp;b\"/>"
        "<path>$PROJ_DIR$\\main.c</path><path><![CDATA[$PROJ_DIR$\\main.c]]></path>"
        "</files></iarProjectConnection>"));
    pugi::xml_node include_path = document.first_child().child("includePath");
    pugi::xml_node files = document.first_child().child("files");
    for (int i = 0; i < fillers; ++i) {
      include_path.append_child("path").text().set(("$PROJ_DIR$\\filler" + std::to_string(i)).c_str());
      files.append_child("group").append_attribute("name") = ("filler" + std::to_string(i)).c_str();
    }
    connection_index index = start_connection_index(files);
    expect_same_answers(index, document, texts_of(document));

    // After appends through the index, in the sections it has read and in new ones.
    append_path(index, files, "$PROJ_DIR$\\new.c");
    pugi::xml_node group = append_group(index, "lib");
    for (int i = 0; i < many_children; ++i) append_path(index, group, "$PROJ_DIR$\\lib\\b" + std::to_string(i % 30));
    append_group(index, "lib\\hal");
    append_group(index, "brand new");
    append_path(index, include_path, "");
    append_path(index, document.first_child(), "$PROJ_DIR$\\root");
    expect_same_answers(index, document, texts_of(document));
    EXPECT_EQ(find_group(index, "lib"), files.find_child_by_attribute("group", "id", "1"))
        << "the group with two names comes first";
  }
}

TEST(ConnectionIndex, AnswersAsTheWalksWhileRandomDocumentsGrow) {
  std::mt19937 random(20240601);
  const std::vector<std::string> words{"a",   "A",   "b", "a b", " a", "", "$PROJ_DIR$\\a", "$PROJ_DIR$/a", "a/b", "a\\b",
                                       "\xC3\xBC", "\xC3\x9C", "$proj_dir$\\\xC3\x9C"};
  const auto word = [&] { return words[random() % words.size()]; };

  for (int round = 0; round < 30; ++round) {
    pugi::xml_document document;
    pugi::xml_node files = document.append_child("files");
    for (unsigned i = random() % many_children; i > 0; --i) {
      pugi::xml_node child;
      switch (random() % 6) {
        case 0:
          child = files.append_child(random() % 4 == 0 ? "grp" : "group");
          for (unsigned n = random() % 3; n > 0; --n) {
            child.append_attribute(random() % 4 == 0 ? "id" : "name") = word().c_str();
          }
          break;
        case 1:
          files.append_child(pugi::node_pcdata).set_value(word().c_str());
          break;
        case 2:
          files.append_child(pugi::node_comment).set_value(word().c_str());
          break;
        default:
          child = files.append_child("path");
          if (random() % 3 == 0) child.append_child("b").append_child(pugi::node_pcdata).set_value(word().c_str());
          if (random() % 4 != 0) {
            child.append_child(random() % 3 == 0 ? pugi::node_cdata : pugi::node_pcdata).set_value(word().c_str());
          }
      }
    }
    connection_index index = start_connection_index(files);
    for (int step = 0; step < many_children; ++step) {
      // Mostly the same few sections, so that they grow past the walked size.
      const std::vector<pugi::xml_node> nodes = every_node(document);
      const pugi::xml_node section = nodes[random() % std::min<size_t>(nodes.size(), 4)];
      const std::string text = word();
      if (random() % 2 == 0) {
        // Asking first makes the index read the section before it grows.
        ASSERT_EQ(is_path_listed(index, section, text), reference::is_path_listed(section, text));
      }
      if (random() % 3 == 0) {
        append_group(index, text);
      } else {
        append_path(index, section, text);
      }
      expect_same_answers(index, document, words);
    }
  }
}

// Two texts, and whether they name the same file where letter case counts
// and where it does not.
struct text_pair {
  const char* left;
  const char* right;
  bool exact;
  bool ignoring_case;
};

constexpr text_pair text_pairs[] = {
    {"$PROJ_DIR$\\lib\\hal", "$PROJ_DIR$/lib/hal", true, true},
    {"$PROJ_DIR$\\lib\\hal", "$proj_dir$/LIB\\Hal", false, true},
    {"lib\\hal", "lib\\hal ", false, false},
    {"lib[", "lib{", false, false},
    {"\xC3\xB6lfilter.c", "\xC3\x96LFILTER.C", false, true},                                // ölfilter.c
    {"\xCE\xB2\xCE\xAE\xCF\x84\xCE\xB1", "\xCE\x92\xCE\x89\xCE\xA4\xCE\x91", false, true},  // βήτα
    {"\xE6\x97\xA5\xE6\x9C\xAC/a", "\xE6\x97\xA5\xE6\x9C\xAC\\A", false, true},             // 日本
    {"\xC3\xB6", "\xC3\xB7", false, false},                                                  // ö, ÷
    {"stra\xC3\x9F" "e", "STRASSE", false, false},  // ß is one letter, SS two
    {"\xE2\xB1\xA5", "\xC8\xBA", false, true},      // ⱥ and Ⱥ: three bytes and two
    {"A\xFF", "a\xFF", false, true},                // not UTF-8: bytes, ASCII letters aside
    {"a\xFF", "a\xFE", false, false},
};

TEST(PathTextMatch, LetterCaseCountsAsTheHostsNamesCountIt) {
  for (const text_pair& pair : text_pairs) {
    for (const name_rule rule : {name_rule::exact, name_rule::ignoring_case}) {
      const bool same = rule == name_rule::exact ? pair.exact : pair.ignoring_case;
      EXPECT_EQ(same_path_text(pair.left, pair.right, rule), same) << pair.left << " " << pair.right;
      EXPECT_EQ(same_path_text(pair.right, pair.left, rule), same) << pair.right << " " << pair.left;
      if (same) {
        EXPECT_EQ(path_text_hash(pair.left, rule), path_text_hash(pair.right, rule)) << pair.left;
      }
    }
  }
}

TEST(ConnectionIndex, ANewGroupIsAChildWithoutText) {
  pugi::xml_document document;
  pugi::xml_node files = document.append_child("files");
  for (int i = 0; i < many_children; ++i) files.append_child("path").text().set("x");
  connection_index index = start_connection_index(files);
  EXPECT_FALSE(is_path_listed(index, files, ""));
  append_group(index, "lib");
  EXPECT_TRUE(reference::is_path_listed(files, ""));
  EXPECT_TRUE(is_path_listed(index, files, ""));
}

TEST(ConnectionIndex, NullHandlesFindAndAddNothing) {
  connection_index index = start_connection_index(pugi::xml_node());
  EXPECT_FALSE(is_path_listed(index, pugi::xml_node(), ""));
  EXPECT_FALSE(find_group(index, ""));
  EXPECT_FALSE(append_path(index, pugi::xml_node(), "x"));
  EXPECT_FALSE(append_group(index, "x"));
  EXPECT_FALSE(reference::is_path_listed(pugi::xml_node(), ""));
  EXPECT_FALSE(reference::find_group(pugi::xml_node(), ""));
}

}  // namespace
}  // namespace addfolder
