// The host tests' hand on the Win32 host: windows read through the system's calls, input sent as
// window messages, boxes and the picker found by a thread timer, whose callback runs inside
// their modal loops (a dialog of this thread: class "#32770").
#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "app/win32/Win32Window.h"
#include "platform/win32/wide_text.h"
#include "tests/app_hosts/host_driver.h"

namespace ostrel::app::hosts {
namespace {

using namespace std::chrono_literals;
using platform::win32::Utf8;
using platform::win32::Wide;

std::string TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t kind[32] = {};
  GetClassNameW(window, kind, 32);
  return lstrcmpiW(kind, name) == 0;
}

struct Search {
  const wchar_t* kind;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (IsWindowVisible(window) && HasClass(window, search->kind)) search->found.push_back(window);
  return TRUE;
}

// The visible windows of a class among this thread's top-level windows, or among a window's children.
std::vector<HWND> Shown(const wchar_t* kind, HWND parent = nullptr) {
  Search search{kind, {}};
  if (parent) EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&search));
  else EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

constexpr wchar_t kDialogClass[] = L"#32770";

// What the timer hands the first dialog it finds to; nothing once it has.
const std::function<void(HWND)>* pendingAnswer = nullptr;

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR, DWORD) {
  const std::vector<HWND> dialogs = Shown(kDialogClass);
  if (pendingAnswer && !dialogs.empty()) (*std::exchange(pendingAnswer, nullptr))(dialogs.front());
}

// Runs action while a thread timer asks every 20 ms for a dialog of this thread; the first one
// found is handed to answer, once. True when one was found.
bool WhileRunning(const std::function<void()>& action, const std::function<void(HWND)>& answer) {
  pendingAnswer = &answer;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &LookForDialog);
  action();
  KillTimer(nullptr, timer);
  return std::exchange(pendingAnswer, nullptr) == nullptr;
}

// The icon of a box: the system's shared icon in its picture control.
Icon IconOf(HWND box) {
  for (HWND picture : Shown(L"Static", box)) {
    if ((GetWindowLongW(picture, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    const auto shown = reinterpret_cast<HICON>(SendMessageW(picture, STM_GETICON, 0, 0));
    if (shown == LoadIconW(nullptr, IDI_INFORMATION)) return Icon::Information;
    if (shown == LoadIconW(nullptr, IDI_ERROR)) return Icon::Error;
  }
  return Icon::Other;
}

// The name of the folder the picker's tree has selected (its display name).
std::string SelectedName(HWND picker) {
  for (HWND tree : Shown(WC_TREEVIEWW, picker)) {
    wchar_t name[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = name;
    item.cchTextMax = MAX_PATH;
    if (item.hItem && TreeView_GetItem(tree, &item)) return Utf8(name);
  }
  return {};
}

// Selects the folder in the picker, and waits (at most 2 s) until its tree shows it: a shell
// view still filling may take the first selection before it has the folder's item.
void Select(HWND picker, const std::string& folder) {
  const std::string name = folder.substr(folder.find_last_of('\\') + 1);
  const auto limit = std::chrono::steady_clock::now() + 2s;
  do {
    SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(Wide(folder).c_str()));
    if (SelectedName(picker) == name) return;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    std::this_thread::sleep_for(20ms);
  } while (std::chrono::steady_clock::now() < limit);
}

constexpr LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// The window's end posts the quit message; it is not left for the next test's boxes.
struct QuitDropper {
  ~QuitDropper() {
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
};

// QuitDropper first: it ends after the window.
class Win32Driver : private QuitDropper, public DriverOf<win32::Win32Window> {
 public:
  Win32Driver() : handle_(window_.Handle()) {}

  bool Show() override {
    window_.ShowAtFirstPosition();
    return IsWindowVisible(handle_) != FALSE;
  }

  WindowSeen Seen() override {
    RECT outer{}, client{};
    GetWindowRect(handle_, &outer);
    GetClientRect(handle_, &client);
    const LONG style = GetWindowLongW(handle_, GWL_STYLE);
    return {{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top},
            client.right,
            client.bottom,
            TextOf(handle_),
            (style & WS_POPUP) && !(style & (WS_CAPTION | WS_THICKFRAME)),
            IsWindowVisible(handle_) != FALSE};
  }

  skin::Box Screen() override {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }

  uint32_t Pixel(int x, int y) override {
    UpdateWindow(handle_);
    return window_.Canvas().Pixel(x, y);
  }

  EditSeen Edit() override {
    HWND edit = window_.EditBox();
    RECT r{};
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
    return {{r.left, r.top, r.right - r.left, r.bottom - r.top},
            TextOf(edit),
            IsWindowVisible(edit) != FALSE,
            (GetWindowLongW(edit, GWL_STYLE) & WS_BORDER) || (GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)};
  }

  void Type(const std::string& text) override {
    for (const wchar_t c : Wide(text)) SendMessageW(window_.EditBox(), WM_CHAR, c, 1);
  }

  void Move(int x, int y) override { SendMessageW(handle_, WM_MOUSEMOVE, 0, At(x, y)); }
  void Press(int x, int y, skin::MouseButton button) override {
    const bool left = button == skin::MouseButton::Left;
    SendMessageW(handle_, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, At(x, y));
  }
  void Release(int x, int y, skin::MouseButton button) override {
    SendMessageW(handle_, button == skin::MouseButton::Left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, At(x, y));
  }
  Pointer PointerShape() override {
    const HCURSOR shown = GetCursor();
    if (shown == LoadCursorW(nullptr, IDC_HAND)) return Pointer::Hand;
    if (shown == LoadCursorW(nullptr, IDC_ARROW)) return Pointer::Arrow;
    return Pointer::Other;
  }

  std::optional<BoxSeen> AnswerBox(const std::function<void()>& action) override {
    std::optional<BoxSeen> seen;
    WhileRunning(action, [&](HWND box) {
      wchar_t text[256] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 256);  // the box's text
      seen = BoxSeen{TextOf(box), Utf8(text), IconOf(box), static_cast<int>(Shown(L"Button", box).size()),
                     GetWindow(box, GW_OWNER) == handle_};
      SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    return seen;
  }

  bool AnswerPicker(const std::function<void()>& action, const std::function<void(const PickerSeen&)>& whileOpen,
                    const std::optional<std::string>& chosen) override {
    return WhileRunning(action, [&](HWND picker) {
      whileOpen({IsWindowEnabled(handle_) != FALSE, GetWindow(picker, GW_OWNER) != nullptr});
      if (!IsWindow(picker) || window_.WindowClosed()) return;
      if (chosen) Select(picker, *chosen);
      SendMessageW(picker, WM_COMMAND, chosen ? IDOK : IDCANCEL, 0);
    });
  }

  int OpenPickers() override { return static_cast<int>(Shown(kDialogClass).size()); }

  bool SystemClose() override {
    SendMessageW(handle_, WM_CLOSE, 0, 0);
    return !IsWindow(handle_);
  }

  bool PumpUntil(const std::function<bool()>& done) override {
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > limit) return false;
      window_.ProcessMessages();
      std::this_thread::sleep_for(5ms);
    }
    return true;
  }

 private:
  const HWND handle_;
};

}  // namespace

std::unique_ptr<HostDriver> MakeHostDriver() { return std::make_unique<Win32Driver>(); }

}  // namespace ostrel::app::hosts
