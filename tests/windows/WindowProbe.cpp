// Drives the dialog programs from outside, like a user: finds a top-level
// window by its title, checks its controls, types, clicks and closes. Also
// writes the small wave file the scripted encode starts from.
//
//   probe wait TITLE SECONDS             the window exists
//   probe gone TITLE SECONDS             the window no longer exists
//   probe controls TITLE ID...           each control exists (prints them all)
//   probe settext TITLE ID TEXT
//   probe check TITLE ID                 tick a check box and report the click
//   probe click TITLE ID
//   probe waittext TITLE ID TEXT SECONDS the control shows the text
//   probe close TITLE
//   probe contains TITLE ID TEXT SECONDS the control's text holds the text
//   probe drop TITLE ID PATH...          drops files on the window or a control
//   probe key TITLE ID KEY               a key press (virtual-key code) on a control
//   probe focus TITLE ID                 the control has the keyboard focus
//   probe fit TITLE [FACE...]            every label, button and group text of the
//                                        window fits its control and has glyphs, in
//                                        the control's font and in each named face
//   probe wave PATH FRAMES               a mono 16-bit wave file
//   probe codepage                       the ANSI code page
//   probe list                           the visible top-level windows
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <shellapi.h>
#include <shlobj.h>
#include <string>
#include <vector>

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[8192] = L"";
  // A message with a timeout: a busy or hung program must not hang the probe.
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got);
  return text;
}

struct Search {
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (IsWindowVisible(window) && TextOf(window) == search->title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND Find(const wchar_t* title) {
  Search search{title, nullptr};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitFor(const wchar_t* title, double seconds, bool present) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  for (;;) {
    if ((Find(title) != nullptr) == present) return true;
    if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
    Sleep(100);
  }
}

HWND Control(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  if (control) return control;
  // Controls of child pages.
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if ((control = GetDlgItem(child, id))) return control;
  return nullptr;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  wchar_t className[64] = L"";
  GetClassNameW(child, className, 64);
  const std::wstring text = TextOf(child);
  char line[1400];
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, line, sizeof line, nullptr, nullptr);
  char name[64];
  WideCharToMultiByte(CP_UTF8, 0, className, -1, name, sizeof name, nullptr, nullptr);
  std::printf("  %5d %-18s %s\n", GetDlgCtrlID(child), name, line);
  return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  const std::wstring text = TextOf(window);
  char line[1400];
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, line, sizeof line, nullptr, nullptr);
  std::printf("%p %s\n", static_cast<void*>(window), line);
  return TRUE;
}

void Click(HWND window, int id) {
  HWND control = Control(window, id);
  PostMessageW(control ? GetParent(control) : window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}

std::string Utf8(const std::wstring& text) {
  char line[1400];
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, line, sizeof line, nullptr, nullptr);
  return line;
}

// The text as drawn: "&" marks the mnemonic, "&&" stands for itself.
std::wstring Drawn(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

struct FitCheck {
  std::vector<std::wstring> faces; // empty name: the control's own font
  int problems = 0;
};

// Room for text inside a control: a check or radio box needs its box, a
// group its frame, a push button its edges.
int TextRoom(HWND control, LONG style, int width, bool& singleLine, bool& skip) {
  wchar_t className[64] = L"";
  GetClassNameW(control, className, 64);
  singleLine = true;
  skip = false;
  if (_wcsicmp(className, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_RIGHT && type != SS_CENTER && type != SS_LEFTNOWORDWRAP) skip = true;
    singleLine = type == SS_LEFTNOWORDWRAP;
    return width;
  }
  if (_wcsicmp(className, L"Button") != 0) {
    skip = true;
    return width;
  }
  if (style & (BS_BITMAP | BS_ICON)) {
    skip = true; // shows its image, not its text
    return width;
  }
  switch (style & BS_TYPEMASK) {
  case BS_CHECKBOX:
  case BS_AUTOCHECKBOX:
  case BS_RADIOBUTTON:
  case BS_AUTORADIOBUTTON:
  case BS_3STATE:
  case BS_AUTO3STATE: return width - GetSystemMetrics(SM_CXMENUCHECK) - 4;
  case BS_GROUPBOX: return width - 16;
  default: return width - 6;
  }
}

void CheckFit(HWND control, FitCheck& check) {
  const std::wstring text = Drawn(TextOf(control));
  if (text.empty() || !IsWindowVisible(control)) return;
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  RECT client{};
  GetClientRect(control, &client);
  bool singleLine = true, skip = false;
  const int fullRoom = TextRoom(control, style, client.right - client.left, singleLine, skip);
  if (skip) return;
  HFONT own = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW look{};
  GetObjectW(own ? static_cast<HGDIOBJ>(own) : GetStockObject(DEFAULT_GUI_FONT), sizeof look, &look);
  // A Japanese Windows lays dialogs out in units of ＭＳ Ｐゴシック, whose
  // average character is half an em wide; the stand-in fonts are wider on
  // average, which would give every control more room than it has there.
  RECT unit{0, 0, 4, 8};
  MapDialogRect(GetParent(control), &unit);
  const double pixelsPerUnit = unit.right / 4.0;
  const double em = look.lfHeight < 0 ? -look.lfHeight : look.lfHeight;
  const double scale = pixelsPerUnit > 0 && em > 0 ? std::min(1.0, em / 8.0 / pixelsPerUnit) : 1.0;
  const int room = static_cast<int>(fullRoom * scale);
  HDC dc = GetDC(control);
  for (const std::wstring& face : check.faces) {
    LOGFONTW wanted = look;
    if (!face.empty()) lstrcpynW(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&wanted);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t used[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, used);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    bool missing = false;
    for (std::size_t i = 0; i < text.size(); ++i)
      missing = missing || (glyphs[i] == 0xFFFF && text[i] != L' ');
    RECT need{0, 0, room, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need,
              DT_CALCRECT | DT_NOPREFIX | (singleLine ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(dc, old);
    DeleteObject(font);
    const bool tooWide = need.right > room;
    // A label that wraps onto a line it has no room for is cut as well.
    const bool tooTall = !singleLine && need.bottom > client.bottom;
    if (missing || tooWide || tooTall) {
      ++check.problems;
      std::printf("  %5d %-30s %s: needs %ldx%ld, has %dx%ld (%s)\n", GetDlgCtrlID(control), Utf8(text).c_str(),
                  missing ? "no glyph" : "clipped", need.right, need.bottom, room, client.bottom,
                  Utf8(face.empty() ? used : face + L" = " + used).c_str());
    }
  }
  ReleaseDC(control, dc);
}

BOOL CALLBACK FitChild(HWND child, LPARAM data) {
  CheckFit(child, *reinterpret_cast<FitCheck*>(data));
  return TRUE;
}

// The window of the control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int Fail(const char* what) {
  std::fprintf(stderr, "probe: %s\n", what);
  return 1;
}

// Drops files as the shell does: a DROPFILES block in the receiver's memory
// (fixed memory is its own global handle) and WM_DROPFILES to the target.
int Drop(HWND target, wchar_t** paths, int count) {
  std::wstring names;
  for (int i = 0; i < count; ++i) {
    names += paths[i];
    names.push_back(L'\0');
  }
  names.push_back(L'\0');
  std::vector<char> block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = reinterpret_cast<DROPFILES*>(block.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(block.data() + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  DWORD processId = 0;
  GetWindowThreadProcessId(target, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return Fail("cannot reach the program");
  void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
  CloseHandle(process);
  if (!written) return Fail("cannot hand the files over");
  PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  return 0;
}

int WriteWave(const wchar_t* path, int frames) {
  FILE* file = _wfopen(path, L"wb");
  if (!file) return 1;
  auto u32 = [&](unsigned value) { std::fwrite(&value, 4, 1, file); };
  auto u16 = [&](unsigned short value) { std::fwrite(&value, 2, 1, file); };
  std::fwrite("RIFF", 1, 4, file);
  u32(36 + 2 * frames);
  std::fwrite("WAVEfmt ", 1, 8, file);
  u32(16);
  u16(1);
  u16(1);
  u32(22050);
  u32(44100);
  u16(2);
  u16(16);
  std::fwrite("data", 1, 4, file);
  u32(2 * frames);
  for (int i = 0; i < frames; ++i)
    u16(static_cast<unsigned short>(static_cast<short>((i % 150) * 60 - 4500)));
  return std::fclose(file) == 0 ? 0 : 1;
}

} // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 2) return Fail("no command");
  const std::wstring command = args[1];
  auto number = [&](int i) { return i < count ? _wtoi(args[i]) : 0; };
  auto seconds = [&](int i) { return i < count ? _wtof(args[i]) : 0.0; };
  if (command == L"codepage") {
    std::printf("%u\n", GetACP());
    return 0;
  }
  if (command == L"wave" && count == 4) return WriteWave(args[2], number(3));
  if (command == L"list") {
    EnumWindows(PrintTopLevel, 0);
    return 0;
  }
  if (count < 3) return Fail("no window title");
  const wchar_t* title = args[2];
  if (command == L"wait") return WaitFor(title, seconds(3), true) ? 0 : Fail("window did not appear");
  if (command == L"gone") return WaitFor(title, seconds(3), false) ? 0 : Fail("window did not close");
  HWND window = Find(title);
  if (!window) return Fail("window not found");
  if (command == L"controls") {
    EnumChildWindows(window, PrintChild, 0);
    int missing = 0;
    for (int i = 3; i < count; ++i)
      if (!Control(window, number(i))) {
        std::fprintf(stderr, "probe: control %d missing\n", number(i));
        ++missing;
      }
    return missing ? 1 : 0;
  }
  if (command == L"drop" && count >= 5) {
    HWND target = number(3) ? Control(window, number(3)) : window;
    return target ? Drop(target, args + 4, count - 4) : Fail("control not found");
  }
  if (command == L"fit") {
    FitCheck check;
    check.faces.push_back(L"");
    for (int i = 3; i < count; ++i)
      check.faces.push_back(args[i]);
    EnumChildWindows(window, FitChild, reinterpret_cast<LPARAM>(&check));
    return check.problems ? Fail("texts do not fit their controls") : 0;
  }
  if (command == L"focus" && count == 4) {
    const DWORD end = GetTickCount() + 5000;
    for (;;) {
      HWND focus = FocusOf(window);
      if (focus && GetDlgCtrlID(focus) == number(3)) return 0;
      if (static_cast<LONG>(GetTickCount() - end) > 0) {
        std::fprintf(stderr, "probe: the focus is on control %d\n", focus ? GetDlgCtrlID(focus) : 0);
        return 1;
      }
      Sleep(100);
    }
  }
  if (command == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  HWND control = Control(window, number(3));
  if (!control) return Fail("control not found");
  if (command == L"settext" && count == 5) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[4]), SMTO_ABORTIFHUNG, 2000, &result);
    return 0;
  }
  if (command == L"check") {
    SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
    Click(window, number(3));
    return 0;
  }
  if (command == L"click") {
    Click(window, number(3));
    return 0;
  }
  if (command == L"key" && count == 5) {
    PostMessageW(control, WM_KEYDOWN, number(4), 0);
    PostMessageW(control, WM_KEYUP, number(4), 0xC0000001);
    return 0;
  }
  if (command == L"contains" && count == 6) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds(5) * 1000);
    while (TextOf(control).find(args[4]) == std::wstring::npos) {
      if (static_cast<LONG>(GetTickCount() - end) > 0) return Fail("text did not appear");
      Sleep(100);
    }
    return 0;
  }
  if (command == L"waittext" && count == 6) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds(5) * 1000);
    while (TextOf(control) != args[4]) {
      if (static_cast<LONG>(GetTickCount() - end) > 0) return Fail("text did not appear");
      Sleep(100);
    }
    return 0;
  }
  return Fail("unknown command");
}
