// The application manifest that the Windows program carries: without it the
// folder dialog falls back to the old common controls, and Windows may ask for
// elevation.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <pugixml.hpp>
#include <string>

namespace {

// The manifest resource that the loader reads at process start, or nothing.
std::string process_manifest(const wchar_t* program) {
  HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return {};
  std::string manifest;
  if (HRSRC resource = FindResourceW(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST)) {
    if (HGLOBAL loaded = LoadResource(module, resource)) {
      manifest.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
    }
  }
  FreeLibrary(module);
  return manifest;
}

// The value of an XPath query on the manifest, empty when nothing matches.
std::string select(const pugi::xml_document& manifest, const char* query) {
  return manifest.select_node(query).attribute().value();
}

TEST(ApplicationManifest, RequestsTheInvokersRightsAndCommonControlsSix) {
  const wchar_t* program = _wgetenv(L"ADDFOLDER_GUI_PROGRAM");
  if (program == nullptr || *program == L'\0') GTEST_SKIP() << "ADDFOLDER_GUI_PROGRAM names no program";

  const std::string text = process_manifest(program);
  ASSERT_FALSE(text.empty()) << "no manifest resource 1 in the program";
  pugi::xml_document manifest;
  ASSERT_TRUE(manifest.load_buffer(text.data(), text.size())) << text;

  EXPECT_EQ(select(manifest, "//*[local-name()='requestedExecutionLevel']/@level"), "asInvoker");
  EXPECT_EQ(select(manifest,
                   "//*[local-name()='dependentAssembly']/*[local-name()='assemblyIdentity']"
                   "[@name='Microsoft.Windows.Common-Controls']/@version"),
            "6.0.0.0");
}

}  // namespace
