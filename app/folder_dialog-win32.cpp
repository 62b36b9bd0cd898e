#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <memory>
#include <string>

#include "folder_dialog.h"
#include "messages.h"
#include "win32_path.h"

namespace addfolder {
namespace {

// BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE: file-system folders
// only, an edit box for typing, the resizable style.
constexpr UINT browse_flags = 0x51;

// Long enough for any Win32 path; the classic 260 units would cut deep folders off.
constexpr size_t longest_path = 32768;

int CALLBACK browse_callback(HWND dialog, UINT notification, LPARAM, LPARAM initial_selection) {
  if (notification == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, initial_selection);
  return 0;
}

struct item_list_releaser {
  void operator()(ITEMIDLIST* items) const { CoTaskMemFree(items); }
};

}  // namespace

folder_dialog_end choose_folder(const wide_path& project_directory, wide_path& folder) {
  const std::wstring title = to_win32_text(folder_choice_title);
  const std::wstring initial_selection = to_win32_text(project_directory);

  BROWSEINFOW description{};
  description.hwndOwner = nullptr;
  description.pidlRoot = nullptr;
  description.pszDisplayName = nullptr;
  description.lpszTitle = title.c_str();
  description.ulFlags = browse_flags;
  description.lpfn = browse_callback;
  description.lParam = reinterpret_cast<LPARAM>(initial_selection.c_str());
  description.iImage = 0;

  std::unique_ptr<ITEMIDLIST, item_list_releaser> items(SHBrowseForFolderW(&description));
  if (!items) return folder_dialog_end::cancelled;

  std::wstring buffer(longest_path, L'\0');
  if (!SHGetPathFromIDListEx(items.get(), buffer.data(), static_cast<DWORD>(buffer.size()), GPFIDL_DEFAULT)) {
    // Should a shell refuse the long form for an item, the classic call still
    // delivers any path that fits its 260 units.
    if (!SHGetPathFromIDListW(items.get(), buffer.data())) return folder_dialog_end::no_file_system_path;
  }
  buffer.resize(wcsnlen(buffer.data(), buffer.size()));
  if (buffer.empty()) return folder_dialog_end::no_file_system_path;
  folder = from_win32_text(buffer);
  return folder_dialog_end::chosen;
}

}  // namespace addfolder
