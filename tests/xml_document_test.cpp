// Loading and saving documents: the written form, and saves that never leave
// a half-written or a wrongly replaced file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "document_preload.h"
#include "file_replacement.h"
#include "file_undo.h"
#include "xml_document.h"
#include "text_conversion.h"
#include "tests/test_folder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace addfolder {
namespace {

using test_support::names_in;
using test_support::read_file;
using test_support::test_folder;
using test_support::to_wide_path;
using test_support::write_file;

void make_read_only(const std::filesystem::path& file, bool read_only) {
  using std::filesystem::perms;
  std::filesystem::permissions(file, perms::owner_write | perms::group_write | perms::others_write,
                               read_only ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
}

class XmlDocument : public ::testing::Test {
 protected:
  // Loads bytes from a file; the saved form, or "load failed".
  std::string round_trip(std::string_view bytes) {
    write_file(file_, bytes);
    pugi::xml_document document;
    if (load_document(document, to_wide_path(file_))) return "load failed";
    return saved_form(document);
  }

  test_folder folder_;
  std::filesystem::path file_ = folder_ / "project.ewp";
};

TEST_F(XmlDocument, RoundTripKeepsElementsTextAndAttributesOnly) {
  const std::string input =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<!DOCTYPE project>\r\n"
      "<!-- made by hand -->\r\n"
      "<?tool keep=\"no\"?>\r\n"
      "<project a=\"1\tx\r\ny\" b='&lt;&amp;'>\r\n"
      "  <name> two\r\nlines </name>\r\n"
      "  <empty>   </empty>\r\n"
      "  <data><![CDATA[a<b]]></data>\r\n"
      "  <file><name>$PROJ_DIR$\\a&amp;b.c</name></file>\r\n"
      "</project>\r\n";
  EXPECT_EQ(round_trip(input),
            "<?xml version=\"1.0\"?>\n"
            "<project a=\"1 x y\" b=\"&lt;&amp;\">\n"
            "\t<name> two\nlines </name>\n"
            "\t<empty />\n"
            "\t<data><![CDATA[a<b]]></data>\n"
            "\t<file>\n"
            "\t\t<name>$PROJ_DIR$\\a&amp;b.c</name>\n"
            "\t</file>\n"
            "</project>\n");
}

TEST_F(XmlDocument, DeclaredEncodingsAreReadOrRefusedAndOnlyUtf8IsWritten) {
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("<a>\xFC</a>")) {
    utf16 += c;
    utf16 += '\0';
  }
  const auto declared = [](const char* encoding, const char* text) {
    return std::string("<?xml version=\"1.0\" encoding=") + encoding + "?>\n<a>" + text + "</a>";
  };
  const struct {
    std::string input;
    const char* loaded;
  } cases[] = {
      {declared("\"ISO-8859-1\"", "M\xFCller"), "M\xC3\xBCller"},
      {declared("'latin1'", "\x80"), "\xC2\x80"},
      {declared("\"windows-1252\"", "\x80 M\xFCller \x93x\x94\x9F"),
       "\xE2\x82\xAC M\xC3\xBCller \xE2\x80\x9Cx\xE2\x80\x9D\xC5\xB8"},
      {declared("\"CP1252\"", "\xFC"), "\xC3\xBC"},
      {declared("\"windows-1252\"", "\x81"), "not valid windows-1252"},
      // The line of a parse error is counted in the converted text.
      {declared("\"windows-1252\"", "\xFC\xFC\xFC\xFC\xFC\xFC\xFC\xFC</b>\n\n\n\n\n\n\n\n"), "line 2"},
      {declared("\"windows-1250\"", "\xFC"), "not supported windows-1250"},
      {declared(" 'Shift_JIS' ", "x"), "not supported Shift_JIS"},
      {declared("\"UTF-8\"", "M\xC3\xBCller"), "M\xC3\xBCller"},
      {declared("\"utf-16\"", "M\xC3\xBCller"), "M\xC3\xBCller"},
      {declared("\"UTF-8\"", "M\xFCller"), "not valid UTF-8"},
      {"<a>M\xFCller</a>", "not valid UTF-8"},
      {declared("\"US-ASCII\"", "M\xC3\xBCller"), "not valid US-ASCII"},
      {"<a>&#xD800;</a>", "not valid UTF-8"},
      {"<a x=\"&#x110000;\"/>", "not valid UTF-8"},
      {utf16, "\xC3\xBC"},
  };
  for (const auto& example : cases) {
    write_file(file_, example.input);
    pugi::xml_document document;
    std::string loaded;
    const document_error error = load_document(document, to_wide_path(file_));
    if (!error) {
      loaded = document.child("a").child_value();
      EXPECT_TRUE(is_utf8(saved_form(document))) << example.input;
    } else if (error.failure == document_failure::unsupported_encoding) {
      loaded = "not supported " + error.detail;
    } else if (error.failure == document_failure::invalid_text) {
      loaded = "not valid " + error.detail;
    } else if (error.failure == document_failure::malformed) {
      loaded = "line " + std::to_string(error.line);
    }
    EXPECT_EQ(loaded, example.loaded) << example.input;
  }
  // The declaration goes; the text is written as UTF-8.
  EXPECT_EQ(round_trip(declared("\"windows-1252\"", "\x80")), "<?xml version=\"1.0\"?>\n<a>\xE2\x82\xAC</a>\n");
}

TEST_F(XmlDocument, FilesWithoutOneWholeElementFailToLoad) {
  for (const char* input : {"", "<?xml version=\"1.0\"?>", "<!-- only a comment -->", "<project><file></project>",
                            "<project>", "<project/><", "not xml"}) {
    EXPECT_EQ(round_trip(input), "load failed") << input;
  }
  pugi::xml_document document;
  document.append_child("left");
  EXPECT_TRUE(load_document(document, to_wide_path(folder_ / "missing.ewp")));
  EXPECT_FALSE(document.first_child()) << "a failed load leaves the document empty";
  EXPECT_TRUE(load_document(document, to_wide_path(folder_.path())));
}

TEST_F(XmlDocument, LoadsAsLoadFileDoes) {
  const std::string utf16_be = std::string("\xFE\xFF\0<\0a\0/\0>", 10);
  for (const std::string& input :
       {std::string("<a>x</a>"), std::string("<a>x</a>trailing"), std::string("  <a><b>t</b>\r</a>\r\n"),
        std::string("\xEF\xBB\xBF<a>bom</a>"), std::string("<a>&#x41;&unknown;</a>"), std::string("<a>\0</a>", 8),
        std::string("<a/>\0", 5), utf16_be, std::string("<a>unclosed"), std::string("<a></b>"),
        std::string("<?xml version=\"1.0\" encoding=\"latin1\"?><a b=\"\xE9\"/>")}) {
    write_file(file_, input);
    pugi::xml_document ours;
    pugi::xml_document library;
    const bool loaded = !load_document(ours, to_wide_path(file_));
    ASSERT_EQ(loaded, library.load_file(file_.c_str()).status == pugi::status_ok) << input;
    if (loaded) {
      EXPECT_EQ(saved_form(ours), saved_form(library)) << input;
    } else {
      EXPECT_FALSE(ours.first_child()) << "what the library parsed before the error is dropped";
    }
  }
}

TEST_F(XmlDocument, ASavedFileLoadsBackToTheSameTree) {
  // Texts that a comment split are one text; a text of white space spelled
  // by references is dropped as plain white space is; a carriage return is
  // written as a reference, since written as it is it would load as a line feed.
  // Texts beside elements, CDATA and comments keep their lines.
  const struct {
    const char* input;
    const char* saved;
  } cases[] = {
      {"<a><b>x<!-- c -->y</b><b>&#32;&#10;</b><b>&#32;<!-- c -->&#32;</b><b>1&#13;2</b><b>&#13;</b></a>",
       "<a>\n\t<b>xy</b>\n\t<b />\n\t<b />\n\t<b>1&#13;2</b>\n\t<b />\n</a>\n"},
      {"<a><p>a<x/>b</p><p>a<x/></p><p><x/>b</p><p>t<x>u</x>\n</p></a>",
       "<a>\n\t<p>a<x />b</p>\n\t<p>a<x />\n\t</p>\n\t<p>\n\t\t<x />b</p>\n\t<p>t<x>u</x>\n\t</p>\n</a>\n"},
      {"<a><p>a<![CDATA[b]]>c</p><p><![CDATA[b]]>c</p><p><![CDATA[b]]></p><p>\n<![CDATA[b]]>\n</p></a>",
       "<a>\n\t<p>a<![CDATA[b]]>c</p>\n\t<p><![CDATA[b]]>c</p>\n\t<p><![CDATA[b]]></p>\n\t<p><![CDATA[b]]></p>\n</a>\n"},
      {"<a>\n <p>x<!-- c -->y<x/>z<?c?>w</p><p>&#32;<x/></p><p>&#32;<!-- c -->x</p><p><!-- c -->x</p></a>",
       "<a>\n\t<p>xy<x />zw</p>\n\t<p>\n\t\t<x />\n\t</p>\n\t<p> x</p>\n\t<p>x</p>\n</a>\n"},
      {"<a>t<p>u</p>v</a>", "<a>t<p>u</p>v</a>\n"},
  };
  for (const auto& example : cases) {
    const std::string saved = round_trip(example.input);
    EXPECT_EQ(saved, std::string("<?xml version=\"1.0\"?>\n") + example.saved) << example.input;
    EXPECT_EQ(round_trip(saved), saved);
  }
  // Without a reference anywhere, a comment or an instruction alone still splits a text.
  for (const char* split : {"<a>x<!-- c -->y</a>", "<a>x<?c?>y</a>", "<?xml version=\"1.0\"?><a>x<?c?>y</a>"}) {
    write_file(file_, split);
    pugi::xml_document document;
    ASSERT_FALSE(load_document(document, to_wide_path(file_))) << split;
    EXPECT_STREQ(document.child("a").child_value(), "xy") << split;
  }

  // A NUL byte where a tag goes on ends the file for an in-place parse;
  // the file is refused, as load_file refuses it.
  EXPECT_EQ(round_trip(std::string("<project/\0<file/></project>", 27)), "load failed");
}

TEST_F(XmlDocument, APreloadedDocumentServesOnlyWhileTheFileIsTheOneRead) {
  struct preload_case {
    const char* bytes;      // the file as the run found it; null: no file
    const char* rewritten;  // put in its place before the preload reads; null: none
    bool taken;
  };
  const preload_case cases[] = {
      {"<a>x</a>", nullptr, true},
      {"<a>x</a>", "<a>longer</a>", false},
      {"<a>x</a>", "<a>y</a>", false},
      {"<a>", nullptr, false},
      {nullptr, nullptr, false},
  };
  for (const preload_case& c : cases) {
    SCOPED_TRACE(c.bytes != nullptr ? c.bytes : "no file");
    std::filesystem::remove(file_);
    if (c.bytes != nullptr) write_file(file_, c.bytes);
    file_stamp expected;
    ASSERT_FALSE(query_file_stamp(to_wide_path(file_), expected));
    if (c.rewritten != nullptr) {
      // Another file in its place, as a save puts one there.
      write_file(folder_ / "other", c.rewritten);
      std::filesystem::rename(folder_ / "other", file_);
    }
    document_preload preload(to_wide_path(file_));
    pugi::xml_document document;
    EXPECT_EQ(preload.take(document, expected), c.taken);
    EXPECT_EQ(static_cast<bool>(document.child("a")), c.taken);
    EXPECT_FALSE(preload.take(document, expected)) << "the document is given once";
  }
}

TEST_F(XmlDocument, ADocumentTooDeepToIndentIsNotWritten) {
  // Indenting 40,000 nested elements would take 1.6 GB of tabs.
  pugi::xml_document document;
  pugi::xml_node node = document.append_child("project");
  for (int depth = 0; depth < 40000; ++depth) node = node.append_child("group");
  write_file(file_, "old");
  EXPECT_TRUE(save_document(document, to_wide_path(file_)));
  EXPECT_EQ(read_file(file_), "old");
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
}

TEST_F(XmlDocument, SaveWritesTheSavedFormInPlaceOfTheOldFile) {
  write_file(file_, "old content that is longer than the new one");
  pugi::xml_document document;
  document.append_child("project").append_child("name").text().set("x&y");
  ASSERT_FALSE(save_document(document, to_wide_path(file_)));
  EXPECT_EQ(read_file(file_), "<?xml version=\"1.0\"?>\n<project>\n\t<name>x&amp;y</name>\n</project>\n");
  EXPECT_EQ(read_file(file_), saved_form(document));

  // A new file, in a folder whose name needs more than ASCII.
  const auto other = folder_ / "M\xC3\xBCller/new.ipcf";
  std::filesystem::create_directories(other.parent_path());
  ASSERT_FALSE(save_document(document, to_wide_path(other)));
  EXPECT_EQ(read_file(other), saved_form(document));
  EXPECT_EQ(names_in(other.parent_path()), std::set<std::string>{"new.ipcf"});

  // A name just below the classic Windows length limit, so that the
  // temporary name beside it is longer than the limit.
  std::filesystem::path deep = folder_.path();
  while (deep.native().size() < 200) deep /= "sub";
  std::filesystem::create_directories(deep);
  const auto long_name = deep / (std::string(240 - deep.native().size(), 'n') + ".ipcf");
  write_file(long_name, "old");
  ASSERT_FALSE(save_document(document, to_wide_path(long_name)));
  EXPECT_EQ(read_file(long_name), saved_form(document));
  EXPECT_EQ(names_in(deep).size(), 1u);
}

TEST_F(XmlDocument, FailedSavesLeaveEverythingAsItWas) {
  pugi::xml_document document;
  document.append_child("project");
  write_file(file_, "old");

  make_read_only(file_, true);
  EXPECT_TRUE(save_document(document, to_wide_path(file_)));
  make_read_only(file_, false);
  EXPECT_EQ(read_file(file_), "old");

  EXPECT_TRUE(save_document(document, to_wide_path(folder_ / "missing/project.ewp")));
  std::filesystem::create_directory(folder_ / "folder.ewp");
  EXPECT_TRUE(save_document(document, to_wide_path(folder_ / "folder.ewp")));
  EXPECT_TRUE(save_document(document, u""));
  EXPECT_EQ(names_in(folder_.path()), (std::set<std::string>{"folder.ewp", "project.ewp"}));
  EXPECT_TRUE(std::filesystem::is_empty(folder_ / "folder.ewp"));
}

TEST_F(XmlDocument, AKeptOldFileIsPutBackByARename) {
  write_file(file_, "old");
  wide_path kept;
  ASSERT_FALSE(keep_old_file(to_wide_path(file_), kept));
  pugi::xml_document document;
  document.append_child("project");
  ASSERT_FALSE(save_document(document, to_wide_path(file_)));
  EXPECT_EQ(read_file(file_), saved_form(document));
  ASSERT_FALSE(put_back_old_file(kept, to_wide_path(file_)));
  EXPECT_EQ(read_file(file_), "old");
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});

  ASSERT_FALSE(keep_old_file(to_wide_path(file_), kept));
  forget_old_file(kept);
  EXPECT_EQ(read_file(file_), "old");
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
  EXPECT_TRUE(keep_old_file(to_wide_path(folder_ / "missing.ewp"), kept));
  EXPECT_TRUE(keep_old_file(to_wide_path(folder_.path()), kept));
  make_read_only(file_, true);
  EXPECT_TRUE(keep_old_file(to_wide_path(file_), kept));
  make_read_only(file_, false);
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
}

TEST_F(XmlDocument, AnOpenTargetIsReplacedWhereTheSystemAllowsIt) {
  // Windows refuses to replace a file that another handle holds open without
  // sharing its deletion; POSIX replaces it.
  write_file(file_, "old");
  pugi::xml_document document;
  document.append_child("project");
  bool saved = false;
  {
    std::ifstream reader(file_, std::ios::binary);
    ASSERT_TRUE(reader.is_open());
    saved = !save_document(document, to_wide_path(file_));
  }
  EXPECT_EQ(saved, !test_support::on_windows());
  EXPECT_EQ(read_file(file_), saved ? saved_form(document) : "old");
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
}

TEST_F(XmlDocument, AReplacedFileIsPutBackUnlessTheUndoIsCommitted) {
  const std::string input = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<project>\xE9</project>";
  pugi::xml_document document;
  document.append_child("project");
  file_stamp stamp;
  const auto save_kept = [&](const std::filesystem::path& file, file_undo& undo) {
    ASSERT_FALSE(query_file_stamp(to_wide_path(file), stamp));
    ASSERT_FALSE(save_document_if_unchanged(document, to_wide_path(file), stamp, &undo));
    EXPECT_EQ(read_file(file), saved_form(document));
  };
  // Rolled back by hand, and by an undo that ends uncommitted.
  for (const bool by_hand : {true, false}) {
    write_file(file_, input);
    {
      file_undo undo;
      save_kept(file_, undo);
      if (by_hand) {
        ASSERT_FALSE(undo.roll_back());
      }
    }
    EXPECT_EQ(read_file(file_), input);
    EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
  }
  // A run that completes commits, and keeps what it wrote.
  {
    file_undo undo;
    save_kept(file_, undo);
    undo.commit();
  }
  EXPECT_EQ(read_file(file_), saved_form(document));
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
  // A file that was not there is taken away again.
  {
    file_undo missing;
    save_kept(folder_ / "new.ipcf", missing);
  }
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
}

TEST_F(XmlDocument, AFileChangedSinceItsReadingIsNotReplaced) {
  write_file(file_, "<project/>");
  file_stamp read;
  ASSERT_FALSE(query_file_stamp(to_wide_path(file_), read));
  write_file(file_, "<project>changed</project>");
  pugi::xml_document document;
  document.append_child("project");
  file_undo undo;
  EXPECT_EQ(save_document_if_unchanged(document, to_wide_path(file_), read, &undo).failure,
            document_failure::changed);
  EXPECT_EQ(read_file(file_), "<project>changed</project>");
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
}

TEST_F(XmlDocument, LinksAreWrittenThrough) {
  write_file(folder_ / "real/project.ewp", "old");
  std::error_code error;
  std::filesystem::create_symlink("real/project.ewp", file_, error);
  if (error) GTEST_SKIP() << "cannot create a link here: " << error.message();
  std::filesystem::create_symlink(folder_ / "real/absent.ipcf", folder_ / "dangling.ipcf", error);
  ASSERT_FALSE(error);

  pugi::xml_document document;
  document.append_child("project");
  ASSERT_FALSE(save_document(document, to_wide_path(file_)));
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  EXPECT_EQ(read_file(folder_ / "real/project.ewp"), saved_form(document));

  // A link whose target does not exist yet creates the target.
  ASSERT_FALSE(save_document(document, to_wide_path(folder_ / "dangling.ipcf")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder_ / "dangling.ipcf"));
  EXPECT_EQ(read_file(folder_ / "real/absent.ipcf"), saved_form(document));
  EXPECT_EQ(names_in(folder_ / "real"), (std::set<std::string>{"absent.ipcf", "project.ewp"}));
}

#ifndef _WIN32
TEST_F(XmlDocument, PosixPermissionsAndOwnersAreKept) {
  pugi::xml_document document;
  document.append_child("project");

  write_file(file_, "old");
  ASSERT_EQ(chmod(file_.c_str(), 0640), 0);
  ASSERT_FALSE(save_document(document, to_wide_path(file_)));
  struct stat info;
  ASSERT_EQ(stat(file_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const mode_t mask = umask(022);
  const auto fresh = folder_ / "fresh.ipcf";
  ASSERT_FALSE(save_document(document, to_wide_path(fresh)));
  umask(mask);
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);

  if (geteuid() == 0) {
    // Root replaces a file of another user without taking it over.
    ASSERT_EQ(chown(file_.c_str(), 12345, 23456), 0);
    ASSERT_FALSE(save_document(document, to_wide_path(file_)));
    ASSERT_EQ(stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 12345u);
    EXPECT_EQ(info.st_gid, 23456u);
  }
}

TEST_F(XmlDocument, PosixWriteErrorsLeaveTheOldFile) {
  write_file(file_, "old");
  pugi::xml_document document;
  pugi::xml_node project = document.append_child("project");
  for (int i = 0; i < 2000; ++i) project.append_child("file").text().set("$PROJ_DIR$\\some\\source\\file.c");

  // A file size limit makes the write fail part way.
  struct rlimit previous;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  void (*previous_handler)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = previous;
  limit.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool saved = !save_document(document, to_wide_path(file_));
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previous_handler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(read_file(file_), "old");
  EXPECT_EQ(names_in(folder_.path()), std::set<std::string>{"project.ewp"});
}
#endif

}  // namespace
}  // namespace addfolder
