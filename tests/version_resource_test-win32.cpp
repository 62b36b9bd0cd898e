// The version resource of both Windows programs, which Explorer's Properties
// show: the product name, the version that CMake sets, and the licence.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "version_number.h"

namespace {

// The program's whole version resource, or nothing.
std::vector<char> version_resource(const wchar_t* program) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program, &ignored);
  std::vector<char> data(size);
  if (size == 0 || !GetFileVersionInfoW(program, 0, size, data.data())) return {};
  return data;
}

// A string of the U.S. English, Unicode block, or "(none)".
std::wstring string_value(std::vector<char>& resource, const std::wstring& name) {
  const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(resource.data(), path.c_str(), &value, &length) || value == nullptr) return L"(none)";
  return std::wstring(static_cast<const wchar_t*>(value));
}

std::wstring wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

// Checks the resource of the program that the environment variable names.
void expect_version_resource(const char* variable, const wchar_t* file_name) {
  const wchar_t* program = _wgetenv(wide(variable).c_str());
  if (program == nullptr || *program == L'\0') GTEST_SKIP() << variable << " names no program";

  std::vector<char> resource = version_resource(program);
  ASSERT_FALSE(resource.empty()) << "no version resource";

  void* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(resource.data(), L"\\", &fixed, &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  const auto& info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
  EXPECT_EQ(info.dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(info.dwFileVersionMS, static_cast<DWORD>(MAKELONG(ADDFOLDER_VERSION_MINOR, ADDFOLDER_VERSION_MAJOR)));
  EXPECT_EQ(info.dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, ADDFOLDER_VERSION_PATCH)));
  EXPECT_EQ(info.dwProductVersionMS, info.dwFileVersionMS);
  EXPECT_EQ(info.dwProductVersionLS, info.dwFileVersionLS);
  EXPECT_EQ(info.dwFileType, static_cast<DWORD>(VFT_APP));

  EXPECT_EQ(string_value(resource, L"ProductName"), L"addfolder");
  EXPECT_EQ(string_value(resource, L"ProductVersion"), wide(ADDFOLDER_VERSION_TEXT));
  EXPECT_EQ(string_value(resource, L"FileVersion"), wide(ADDFOLDER_VERSION_TEXT));
  EXPECT_EQ(string_value(resource, L"OriginalFilename"), file_name);
  EXPECT_NE(string_value(resource, L"LegalCopyright").find(L"MIT License"), std::wstring::npos);
  EXPECT_NE(string_value(resource, L"FileDescription"), L"(none)");
}

TEST(VersionResource, TheProgramThatTheIdeStarts) { expect_version_resource("ADDFOLDER_GUI_PROGRAM", L"addfolder.exe"); }

TEST(VersionResource, TheTerminalProgram) { expect_version_resource("ADDFOLDER_CLI_PROGRAM", L"addfolder-cli.exe"); }

}  // namespace
