// The desktop shortcut through the ShellLink COM class: IShellLinkW filled in, saved by
// IPersistFile. COM is set up for the call when the thread hasn't done it (the window's thread
// has, as a single-threaded apartment).
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/shell_link.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// COM on this thread for the call: only a successful initialisation is undone.
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

// An interface pointer released on every path.
template <typename T>
class Com {
 public:
  ~Com() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace

ShellLinkResult SaveShellLink(const ShellLink& link, const std::string& file) {
  const ComScope com;
  Com<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(shellLink.out()))))
    return ShellLinkResult::kNoShellLinkObject;
  Com<IPersistFile> persist;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.out()))))
    return ShellLinkResult::kNoShellLinkObject;
  if (file.empty() || FAILED(shellLink->SetPath(win32::Wide(link.path).c_str())) ||
      FAILED(shellLink->SetWorkingDirectory(win32::Wide(link.workingDirectory).c_str())) ||
      FAILED(shellLink->SetDescription(win32::Wide(link.description).c_str())) ||
      FAILED(shellLink->SetArguments(win32::Wide(link.arguments).c_str())))
    return ShellLinkResult::kSaveFailed;
  return SUCCEEDED(persist->Save(win32::Wide(file).c_str(), TRUE)) ? ShellLinkResult::kOk
                                                                    : ShellLinkResult::kSaveFailed;
}

}  // namespace platform
