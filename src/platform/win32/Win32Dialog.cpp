#include "platform/DialogHost.h"
#include "platform/win32/Win32DialogView.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

namespace plat {
namespace {

constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT_PTR kDropSubclassId = 1;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)done;
}

std::string WindowText(HWND hwnd) {
  if (!hwnd) return {};
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

} // namespace

Win32DialogView::Win32DialogView(DialogController& controller, bool modal) : controller_(controller), modal_(modal) {}

Win32DialogView::~Win32DialogView() {
  for (HGDIOBJ bitmap : bitmaps_)
    DeleteObject(bitmap);
  for (HICON icon : icons_)
    DestroyIcon(icon);
}

INT_PTR CALLBACK Win32DialogView::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* view = reinterpret_cast<Win32DialogView*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    view->hwnd_ = hwnd;
    // TRUE would move the focus to the first tab stop, over the control the
    // controller chose.
    return view->Initialise(view->controller_) ? TRUE : FALSE;
  }
  auto* view = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!view) return FALSE;
  if (message == WM_DESTROY) {
    view->controller_.OnDestroy();
    {
      std::lock_guard lock(view->postMutex_);
      view->closed_ = true;
      view->posted_.clear();
    }
    for (HWND edit : view->dropEdits_)
      RemoveWindowSubclass(edit, DropEditProc, kDropSubclassId);
    view->dropEdits_.clear();
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    if (!view->modal_) PostQuitMessage(0);
    return TRUE;
  }
  return view->Handle(hwnd, message, wParam, lParam) ? TRUE : FALSE;
}

INT_PTR CALLBACK Win32DialogView::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    return TRUE;
  }
  auto* view = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!view) return FALSE;
  switch (message) {
  case WM_COMMAND:
  case WM_NOTIFY:
  case WM_VSCROLL: return view->Handle(hwnd, message, wParam, lParam) ? TRUE : FALSE;
  default: return FALSE;
  }
}

LRESULT CALLBACK Win32DialogView::DropEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
  if (message == WM_DROPFILES) {
    reinterpret_cast<Win32DialogView*>(data)->Drop(GetDlgCtrlID(hwnd), reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

bool Win32DialogView::Handle(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND: {
    const int id = LOWORD(wParam);
    // Escape in a dialog without a control 2 means the close box.
    if (id == IDCANCEL && !Control(IDCANCEL)) {
      controller_.OnClose();
      return true;
    }
    controller_.OnCommand(id, HIWORD(wParam));
    return true;
  }
  case WM_NOTIFY: {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
      controller_.OnCommand(static_cast<int>(header->idFrom), kTabChanged);
      return true;
    }
    return false;
  }
  case WM_VSCROLL:
  case WM_HSCROLL:
    if (lParam) {
      controller_.OnCommand(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), kUpDownMoved);
      return true;
    }
    return false;
  case WM_DROPFILES: Drop(0, reinterpret_cast<HDROP>(wParam)); return true;
  case WM_CLOSE: controller_.OnClose(); return true;
  case WM_TIMER: controller_.OnTimer(static_cast<int>(wParam)); return true;
  case WM_ACTIVATE: controller_.OnActivate(LOWORD(wParam) != WA_INACTIVE, HIWORD(wParam) != 0); return false;
  case kRunPosted: RunPosted(); return true;
  default: return false;
  }
}

void Win32DialogView::Drop(int id, HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string name(length + 1, '\0');
    DragQueryFileA(drop, i, name.data(), length + 1);
    name.resize(length);
    files.push_back(std::move(name));
  }
  controller_.OnDropFiles(id, files);
  DragFinish(drop);
}

void Win32DialogView::RunPosted() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(postMutex_);
      if (closed_ || posted_.empty()) return;
      task = std::move(posted_.front());
      posted_.pop_front();
    }
    task();
  }
}

HWND Win32DialogView::Control(int id) const {
  if (id == 0) return hwnd_;
  if (HWND control = GetDlgItem(hwnd_, id)) return control;
  for (const auto& [templateId, page] : pages_)
    if (HWND control = GetDlgItem(page, id)) return control;
  return nullptr;
}

std::string Win32DialogView::Text(int id) const { return WindowText(Control(id)); }

void Win32DialogView::SetText(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }

void Win32DialogView::AppendText(int id, const std::string& text) {
  HWND edit = Control(id);
  if (!edit) return;
  // The default limit of an edit would stop a long log after 30000 characters.
  SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
  const LRESULT end = GetWindowTextLengthA(edit);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

bool Win32DialogView::IsChecked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Win32DialogView::SetChecked(int id, bool checked) {
  SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32DialogView::IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

void Win32DialogView::Enable(int id, bool enabled) { ::EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void Win32DialogView::MoveFocus(int id) {
  HWND control = Control(id);
  if (!control) return;
  if (modal_ || GetParent(control) == hwnd_)
    SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  else
    ::SetFocus(control);
}

void Win32DialogView::SetPasswordMask(int id, bool masked) {
  HWND edit = Control(id);
  SendMessageA(edit, EM_SETPASSWORDCHAR, masked ? '*' : 0, 0);
  InvalidateRect(edit, nullptr, TRUE);
}

void Win32DialogView::SetImage(int id, int resourceId) {
  HWND button = Control(id);
  if (!button) return;
  if (FindResourceA(Instance(), MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(2) /* RT_BITMAP */)) {
    HANDLE bitmap = LoadImageA(Instance(), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (!bitmap) return;
    bitmaps_.push_back(static_cast<HGDIOBJ>(bitmap));
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  } else {
    HANDLE icon = LoadImageA(Instance(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
    if (!icon) return;
    icons_.push_back(static_cast<HICON>(icon));
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }
}

void Win32DialogView::SetProgress(int id, int percent) { SendMessageA(Control(id), PBM_SETPOS, percent, 0); }

void Win32DialogView::ListInsert(int id, int index, const std::string& text) {
  SendMessageA(Control(id), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32DialogView::ListDelete(int id, int index) {
  SendMessageA(Control(id), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32DialogView::ListClear(int id) { SendMessageA(Control(id), LB_RESETCONTENT, 0, 0); }

std::vector<int> Win32DialogView::ListSelection(int id) const {
  HWND list = Control(id);
  std::vector<int> selected;
  if (!list) return selected;
  if (GetWindowLongA(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    const LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return selected;
    std::vector<int> items(static_cast<size_t>(count));
    const LRESULT got = SendMessageA(list, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(items.data()));
    items.resize(static_cast<size_t>(got > 0 ? got : 0));
    return items;
  }
  const LRESULT current = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (current != LB_ERR) selected.push_back(static_cast<int>(current));
  return selected;
}

void Win32DialogView::AddTab(int id, const std::string& text) {
  HWND tab = Control(id);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  std::string copy = text;
  item.pszText = copy.data();
  const LRESULT count = SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0);
  SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
}

int Win32DialogView::SelectedTab(int id) const {
  return static_cast<int>(SendMessageA(Control(id), TCM_GETCURSEL, 0, 0));
}

void Win32DialogView::CreateUpDown(int id, int buddyId, int minimum, int maximum, int position) {
  HWND buddy = Control(buddyId);
  HWND parent = buddy ? GetParent(buddy) : hwnd_;
  HWND upDown = CreateWindowExA(
      0, UPDOWN_CLASSA, "",
      WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 100, 100,
      11, 11, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (!upDown) return;
  SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  SendMessageA(upDown, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
  SendMessageA(upDown, UDM_SETPOS32, 0, position);
}

int Win32DialogView::UpDownPosition(int id) const {
  return static_cast<int>(SendMessageA(Control(id), UDM_GETPOS32, 0, 0));
}

void Win32DialogView::SetUpDownPosition(int id, int position) { SendMessageA(Control(id), UDM_SETPOS32, 0, position); }

void Win32DialogView::CreatePage(int templateId, int x, int y) {
  HWND page =
      CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId), hwnd_, PageProc, reinterpret_cast<LPARAM>(this));
  if (!page) return;
  RECT place{x, y, 0, 0};
  MapDialogRect(hwnd_, &place);
  SetWindowPos(page, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pages_[templateId] = page;
}

void Win32DialogView::ShowPage(int templateId, bool shown) {
  auto found = pages_.find(templateId);
  if (found != pages_.end()) ::ShowWindow(found->second, shown ? SW_SHOW : SW_HIDE);
}

void Win32DialogView::EndDialog(int result) {
  if (!hwnd_) return;
  if (modal_)
    ::EndDialog(hwnd_, result);
  else
    DestroyWindow(hwnd_);
}

void Win32DialogView::EnableWindow(bool enabled) { ::EnableWindow(hwnd_, enabled ? TRUE : FALSE); }

void Win32DialogView::ShowWindow(WindowShow show) {
  // Only real changes: restoring a window also activates it, which would
  // start the next activation change.
  const bool minimized = IsIconic(hwnd_) != FALSE;
  if (show == WindowShow::Minimized && !minimized) ::ShowWindow(hwnd_, SW_MINIMIZE);
  if (show == WindowShow::Restored && minimized) ::ShowWindow(hwnd_, SW_RESTORE);
}

int Win32DialogView::ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
  return MessageBoxA(hwnd_, text.c_str(), caption.c_str(), style);
}

int Win32DialogView::RunModal(int templateId, DialogController& controller) {
  Win32DialogView view(controller, true);
  const INT_PTR result =
      DialogBoxParamA(Instance(), MAKEINTRESOURCEA(templateId), hwnd_, DialogProc, reinterpret_cast<LPARAM>(&view));
  return static_cast<int>(result);
}

void Win32DialogView::Post(std::function<void()> task) {
  std::lock_guard lock(postMutex_);
  if (closed_ || !hwnd_) return;
  posted_.push_back(std::move(task));
  PostMessageA(hwnd_, kRunPosted, 0, 0);
}

void Win32DialogView::AcceptDrops(int id) {
  HWND target = Control(id);
  if (!target) return;
  DragAcceptFiles(target, TRUE);
  if (id != 0 && SetWindowSubclass(target, DropEditProc, kDropSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    dropEdits_.push_back(target);
}

bool Win32DialogView::ChooseFile(const std::string& title, const std::string& filterName, const std::string& pattern,
                                 std::string& path) {
  std::string filter = filterName;
  filter.push_back('\0');
  filter += pattern;
  filter.push_back('\0');
  filter.push_back('\0');
  char name[256] = "";
  OPENFILENAMEA open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = hwnd_;
  open.lpstrFilter = filter.c_str();
  open.lpstrFile = name;
  open.nMaxFile = sizeof name - 1;
  open.lpstrTitle = title.c_str();
  open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&open)) return false;
  path = name;
  return true;
}

void Win32DialogView::SetTimer(int id, unsigned milliseconds) {
  ::SetTimer(hwnd_, static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

void Win32DialogView::KillTimer(int id) { ::KillTimer(hwnd_, static_cast<UINT_PTR>(id)); }

int RunMainDialog(int templateId, DialogController& controller) {
  InitCommonControlsOnce();
  Win32DialogView view(controller, false);
  HWND window = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId), nullptr, Win32DialogView::DialogProc,
                                   reinterpret_cast<LPARAM>(&view));
  if (!window) return 1;
  ::ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsWindow(window) && IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

} // namespace plat
