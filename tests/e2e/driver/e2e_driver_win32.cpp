// e2edriver: drives the programs' windows at message level from inside the same Wine session.
//
//   e2edriver STEP ARGS... [STEP ARGS...]...
//
// Each step prints exactly one line (its result, or "ok"), so the caller can index the output by
// step. Texts are printed with "\n" for a line break and "\\" for a backslash. The first failing
// step ends the program with exit code 1 and a message on stderr. Steps are listed in Usage().
//
// Windows are found by caption among the visible top-level dialogs (class "#32770"); when several
// share a caption, the one without an owner (the program's main dialog) is taken. Clicks, keys and
// typed characters are posted (as real input would be, through the program's message loop), then
// the driver waits until the target thread has worked through them.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The runtime buffers stderr fully when it is a file: flushed here, the reason is never lost.
[[noreturn]] void Fail(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", message.c_str());
  std::fflush(stderr);
  std::exit(1);
}

void PrintLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  std::printf("%s\n", out.c_str());
  std::fflush(stdout);
}

std::string ClassOf(HWND w) {
  char name[256] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

// GetWindowTextA on another process's control returns "": WM_GETTEXT is marshalled across.
std::string TextOf(HWND w) {
  LRESULT length = SendMessageA(w, WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
  SendMessageA(w, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return buffer.data();
}

bool IsDialogWindow(HWND w) { return ClassOf(w) == "#32770"; }

struct Search {
  std::string caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (IsWindowVisible(w) && IsDialogWindow(w) && (search->caption == "*" || TextOf(w) == search->caption))
    search->found.push_back(w);
  return TRUE;
}

std::vector<HWND> Dialogs(const std::string& caption) {
  Search search{caption, {}};
  EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindDialog(const std::string& caption) {
  std::vector<HWND> found = Dialogs(caption);
  for (HWND w : found)
    if (GetWindow(w, GW_OWNER) == nullptr) return w;
  return found.empty() ? nullptr : found.front();
}

HWND RequireDialog(const std::string& caption) {
  HWND w = FindDialog(caption);
  if (w == nullptr) Fail("no window \"" + caption + "\"");
  return w;
}

// A message box: a dialog whose text is the static 0xFFFF and which has nothing but statics and
// buttons; an owned one (modal over the program's window) is preferred.
bool IsMessageBox(HWND w) {
  HWND text = GetDlgItem(w, 0xFFFF);
  if (text == nullptr || ClassOf(text) != "Static") return false;
  for (HWND child = GetWindow(w, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string cls = ClassOf(child);
    if (cls != "Static" && cls != "Button") return false;
  }
  return IsWindowEnabled(w) != FALSE;
}

HWND FindMessageBox(const std::string& caption) {
  HWND unowned = nullptr;
  for (HWND w : Dialogs(caption)) {
    if (!IsMessageBox(w)) continue;
    if (GetWindow(w, GW_OWNER) != nullptr) return w;
    if (unowned == nullptr) unowned = w;
  }
  return unowned;
}

HWND ControlOf(HWND dialog, int id) {
  if (id == 0) return dialog;
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) Fail("no control " + std::to_string(id));
  return control;
}

// A combo box with an edit field types into its inner edit (ID 1001).
HWND EditOf(HWND control) {
  std::string cls = ClassOf(control);
  if (cls == "ComboBox" || cls == "ComboBoxEx32") {
    HWND edit = FindWindowExA(control, nullptr, "Edit", nullptr);
    if (edit == nullptr) {
      HWND inner = FindWindowExA(control, nullptr, "ComboBox", nullptr);
      if (inner != nullptr) edit = FindWindowExA(inner, nullptr, "Edit", nullptr);
    }
    if (edit != nullptr) return edit;
  }
  return control;
}

// Posted messages are handled in order; a sent message is handled at the target thread's next
// message retrieval, that is after at most one more posted message. Enough round trips therefore
// mean that everything posted before has been dispatched (or that a modal loop has taken over).
void Settle(HWND w, int posted) {
  for (int i = 0; i < 2 * posted + 4; ++i) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored)) return;
  }
}

template <class Condition>
void WaitFor(int ms, const std::string& what, Condition condition) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return;
    if (static_cast<int>(GetTickCount() - start) > ms) Fail("timed out after " + std::to_string(ms) + " ms: " + what);
    Sleep(20);
  }
}

int VirtualKey(const std::string& name) {
  static const struct {
    const char* name;
    int key;
  } kNames[] = {{"RETURN", VK_RETURN}, {"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB},
                {"SPACE", VK_SPACE},   {"UP", VK_UP},        {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},
                {"RIGHT", VK_RIGHT},   {"PRIOR", VK_PRIOR},  {"NEXT", VK_NEXT},     {"HOME", VK_HOME},
                {"END", VK_END},       {"DELETE", VK_DELETE}, {"BACK", VK_BACK},   {"F1", VK_F1}};
  for (const auto& entry : kNames)
    if (name == entry.name) return entry.key;
  if (name.size() == 1) return static_cast<unsigned char>(name[0]);
  return static_cast<int>(std::strtol(name.c_str(), nullptr, 0));
}

HWND FocusedControl(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus != nullptr ? info.hwndFocus : dialog;
}

void PostKey(HWND target, int key, bool alt) {
  UINT scan = MapVirtualKeyA(key, 0);
  LPARAM down = 1 | (scan << 16) | (alt ? (1 << 29) : 0);
  LPARAM up = down | (1u << 30) | (1u << 31);
  PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
  PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, up);
}

// A message that fills a structure at lParam: only a few messages are carried across processes,
// so the structure lives in the target process and is read back from there.
template <class T>
T ReadBack(HWND w, UINT message) {
  T value = {};
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) Fail("cannot open the process of the window");
  void* remote = VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE);
  if (remote != nullptr) {
    SendMessageA(w, message, 0, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, &value, sizeof(T), nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return value;
}

std::string RectText(HWND w) {
  RECT r = {};
  GetWindowRect(w, &r);
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

// A registry value as this program sees it: the driver has the build's word size, so it reads
// HKEY_LOCAL_MACHINE\Software through the same view as the build's programs.
std::string RegistryValue(const std::string& path, const std::string& name) {
  HKEY root = nullptr;
  std::string::size_type slash = path.find('\\');
  std::string rootName = path.substr(0, slash);
  if (rootName == "HKLM" || rootName == "HKEY_LOCAL_MACHINE") root = HKEY_LOCAL_MACHINE;
  else if (rootName == "HKCU" || rootName == "HKEY_CURRENT_USER") root = HKEY_CURRENT_USER;
  else Fail("key path must start with HKLM\\ or HKCU\\: " + path);
  std::string subkey = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "(missing)";
  BYTE data[1024] = {};
  DWORD type = 0;
  DWORD size = sizeof data - 1;
  LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return "(missing)";
  if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(data));
  if (type == REG_SZ || type == REG_EXPAND_SZ) return reinterpret_cast<char*>(data);
  return "(type " + std::to_string(type) + ")";
}

std::string ListWindows() {
  std::string out;
  for (HWND w : Dialogs("*")) {
    if (!out.empty()) out += " | ";
    out += TextOf(w);
    if (GetWindow(w, GW_OWNER) != nullptr) out += " (owned)";
    if (!IsWindowEnabled(w)) out += " (disabled)";
  }
  return out;
}

void Usage() {
  std::fprintf(stderr,
               "usage: e2edriver STEP ARGS... [STEP ARGS...]...\n"
               "  noop                      prints ok (boots the session)\n"
               "  windows                   captions of the visible dialogs\n"
               "  wait CAPTION MS           until the dialog is there\n"
               "  gone CAPTION MS           until no such dialog is left\n"
               "  enabled CAPTION MS        until the dialog is enabled again (a modal window closed)\n"
               "  click CAPTION ID          posts BM_CLICK to a button\n"
               "  command CAPTION ID        posts WM_COMMAND(ID) to the dialog (IDOK=1, IDCANCEL=2)\n"
               "  focus CAPTION ID          moves the focus with WM_NEXTDLGCTL (fires kill-focus)\n"
               "  focused CAPTION           ID of the control with the focus\n"
               "  type CAPTION ID TEXT      posts WM_CHAR for each character (a combo: its edit)\n"
               "  key CAPTION KEY           key down+up to the focused control (RETURN, ESCAPE, TAB,\n"
               "                            UP, DOWN, ..., a letter, or a number)\n"
               "  altkey CAPTION KEY        the same with Alt held (menu/mnemonic keys)\n"
               "  settext CAPTION ID TEXT   WM_SETTEXT\n"
               "  gettext CAPTION ID        WM_GETTEXT (ID 0: the caption)\n"
               "  getpos CAPTION ID         trackbar position\n"
               "  setpos CAPTION ID POS     TBM_SETPOS (no notification)\n"
               "  slide CAPTION ID POS      TBM_SETPOS, then the parent gets THUMBPOSITION and ENDTRACK\n"
               "  check CAPTION ID          BM_GETCHECK (0, 1, 2)\n"
               "  visible CAPTION ID        1 or 0\n"
               "  isenabled CAPTION ID      1 or 0\n"
               "  cursel CAPTION ID         CB_GETCURSEL\n"
               "  listitems CAPTION ID      the items of a list box, \" | \"-separated\n"
               "  listsel CAPTION ID        LB_GETCURSEL of a list box (-1: none)\n"
               "  select CAPTION ID INDEX   CB_SETCURSEL, then CBN_SELCHANGE to the parent\n"
               "  rect CAPTION ID           screen rectangle: left top right bottom\n"
               "  thumb CAPTION ID          screen rectangle of a trackbar's thumb\n"
               "  close CAPTION             posts WM_CLOSE, then waits until the window is gone\n"
               "  endsession CAPTION        WM_QUERYENDSESSION (prints its answer), WM_ENDSESSION(TRUE)\n"
               "  regvalue KEY NAME         a registry value as the build's programs see it (a DWORD in\n"
               "                            decimal, a string as it is), or (missing)\n"
               "  msgbox CAPTION|* MS       until a message box is there; prints its caption\n"
               "  msgtext                   text of that message box\n"
               "  msgpress ID               presses its button (IDOK=1, IDCANCEL=2, IDYES=6, IDNO=7)\n"
               "  sleep MS                  pause (for a person watching; tests wait for states)\n");
}

class Driver {
 public:
  Driver(int argc, char** argv) : argc_(argc), argv_(argv) {}

  int Run() {
    if (argc_ < 2) {
      Usage();
      return 2;
    }
    while (next_ < argc_) Step(Take());
    return 0;
  }

 private:
  std::string Take() {
    if (next_ >= argc_) Fail("step \"" + step_ + "\": missing argument");
    return argv_[next_++];
  }
  int TakeInt() {
    std::string text = Take();
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (end == text.c_str() || *end != '\0') Fail("step \"" + step_ + "\": not a number: " + text);
    return static_cast<int>(value);
  }
  HWND TakeDialog() { return RequireDialog(Take()); }
  // Arguments are taken in order: the dialog's caption, then the control's ID.
  HWND TakeControl(HWND dialog) {
    int id = TakeInt();
    return ControlOf(dialog, id);
  }
  HWND TakeControl() {
    HWND dialog = TakeDialog();
    return TakeControl(dialog);
  }

  void Step(const std::string& step) {
    step_ = step;
    if (step == "noop") {
      PrintLine("ok");
    } else if (step == "windows") {
      PrintLine(ListWindows());
    } else if (step == "wait") {
      std::string caption = Take();
      WaitFor(TakeInt(), "window \"" + caption + "\"", [&] { return FindDialog(caption) != nullptr; });
      PrintLine("ok");
    } else if (step == "gone") {
      std::string caption = Take();
      WaitFor(TakeInt(), "window \"" + caption + "\" to go", [&] { return FindDialog(caption) == nullptr; });
      PrintLine("ok");
    } else if (step == "enabled") {
      std::string caption = Take();
      WaitFor(TakeInt(), "window \"" + caption + "\" enabled", [&] {
        HWND w = FindDialog(caption);
        return w != nullptr && IsWindowEnabled(w);
      });
      PrintLine("ok");
    } else if (step == "click") {
      HWND dialog = TakeDialog();
      PostMessageA(TakeControl(dialog), BM_CLICK, 0, 0);
      Settle(dialog, 3);
      PrintLine("ok");
    } else if (step == "command") {
      HWND dialog = TakeDialog();
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(TakeInt(), BN_CLICKED), 0);
      Settle(dialog, 1);
      PrintLine("ok");
    } else if (step == "focus") {
      HWND dialog = TakeDialog();
      PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(TakeControl(dialog)), TRUE);
      Settle(dialog, 2);
      PrintLine("ok");
    } else if (step == "focused") {
      HWND focus = FocusedControl(TakeDialog());
      PrintLine(std::to_string(GetDlgCtrlID(focus)));
    } else if (step == "type") {
      HWND dialog = TakeDialog();
      HWND edit = EditOf(TakeControl(dialog));
      std::string text = Take();
      for (char c : text) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
      Settle(dialog, static_cast<int>(text.size()));
      PrintLine("ok");
    } else if (step == "key" || step == "altkey") {
      HWND dialog = TakeDialog();
      PostKey(FocusedControl(dialog), VirtualKey(Take()), step == "altkey");
      Settle(dialog, 4);
      PrintLine("ok");
    } else if (step == "settext") {
      HWND control = TakeControl();
      std::string text = Take();
      SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
      PrintLine("ok");
    } else if (step == "gettext") {
      HWND dialog = TakeDialog();
      PrintLine(TextOf(TakeControl(dialog)));
    } else if (step == "getpos") {
      HWND control = TakeControl();
      PrintLine(std::to_string(SendMessageA(control, TBM_GETPOS, 0, 0)));
    } else if (step == "setpos") {
      HWND control = TakeControl();
      SendMessageA(control, TBM_SETPOS, TRUE, TakeInt());
      PrintLine("ok");
    } else if (step == "slide") {
      HWND dialog = TakeDialog();
      HWND control = TakeControl(dialog);
      int position = TakeInt();
      SendMessageA(control, TBM_SETPOS, TRUE, position);
      UINT scroll = (GetWindowLongA(control, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
      HWND parent = GetParent(control);
      PostMessageA(parent, scroll, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(control));
      PostMessageA(parent, scroll, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(control));
      Settle(dialog, 2);
      PrintLine("ok");
    } else if (step == "check") {
      HWND control = TakeControl();
      PrintLine(std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0)));
    } else if (step == "visible") {
      HWND control = TakeControl();
      PrintLine(IsWindowVisible(control) ? "1" : "0");
    } else if (step == "isenabled") {
      HWND control = TakeControl();
      PrintLine(IsWindowEnabled(control) ? "1" : "0");
    } else if (step == "cursel") {
      HWND control = TakeControl();
      PrintLine(std::to_string(SendMessageA(control, CB_GETCURSEL, 0, 0)));
    } else if (step == "listitems") {
      HWND control = TakeControl();
      std::string out;
      LRESULT count = SendMessageA(control, LB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        // The wide form: Wine hands another process's list-box text over as UTF-16 either way.
        std::vector<wchar_t> item(static_cast<size_t>(SendMessageW(control, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        char narrow[512] = {};
        WideCharToMultiByte(CP_ACP, 0, item.data(), -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        out += (i > 0 ? " | " : "") + std::string(narrow);
      }
      PrintLine(out);
    } else if (step == "listsel") {
      HWND control = TakeControl();
      PrintLine(std::to_string(SendMessageA(control, LB_GETCURSEL, 0, 0)));
    } else if (step == "select") {
      HWND dialog = TakeDialog();
      int id = TakeInt();
      HWND control = ControlOf(dialog, id);
      SendMessageA(control, CB_SETCURSEL, TakeInt(), 0);
      PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
      Settle(dialog, 1);
      PrintLine("ok");
    } else if (step == "rect") {
      HWND dialog = TakeDialog();
      PrintLine(RectText(TakeControl(dialog)));
    } else if (step == "thumb") {
      HWND control = TakeControl();
      RECT r = ReadBack<RECT>(control, TBM_GETTHUMBRECT);
      MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
      PrintLine(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
                std::to_string(r.bottom));
    } else if (step == "close") {
      // Done when the window is gone: the next step may be the program's end, or a new window
      // of the same caption.
      std::string caption = Take();
      HWND dialog = RequireDialog(caption);
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      WaitFor(10000, "window \"" + caption + "\" to close", [&] { return !IsWindow(dialog); });
      PrintLine("ok");
    } else if (step == "endsession") {
      HWND dialog = TakeDialog();
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(dialog, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &ignored);
      PrintLine(std::to_string(answer));
    } else if (step == "regvalue") {
      std::string key = Take();
      PrintLine(RegistryValue(key, Take()));
    } else if (step == "msgbox") {
      std::string caption = Take();
      WaitFor(TakeInt(), "message box \"" + caption + "\"", [&] { return (box_ = FindMessageBox(caption)) != nullptr; });
      PrintLine(TextOf(box_));
    } else if (step == "msgtext") {
      PrintLine(TextOf(GetDlgItem(RequireBox(), 0xFFFF)));
    } else if (step == "msgpress") {
      HWND box = RequireBox();
      int id = TakeInt();
      HWND button = GetDlgItem(box, id);
      if (button != nullptr) PostMessageA(button, BM_CLICK, 0, 0);
      else PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
      PrintLine("ok");
    } else if (step == "sleep") {
      Sleep(TakeInt());
      PrintLine("ok");
    } else {
      Usage();
      Fail("unknown step \"" + step + "\"");
    }
  }

  HWND RequireBox() {
    if (box_ == nullptr || !IsWindow(box_)) Fail("no message box: use the msgbox step first");
    return box_;
  }

  int argc_;
  char** argv_;
  int next_ = 1;
  std::string step_;
  HWND box_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) { return Driver(argc, argv).Run(); }
