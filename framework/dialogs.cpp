#include "framework/dialogs.h"

#include <QDir>
#include <filesystem>

#include "framework/numbers.h"
#include "platform/seams.h"

namespace {

// The "|" form of a filter that may already be a NUL-separated list (the seams take the "|" form).
std::string FilterToBars(const std::string& filter) {
  std::string s = filter;
  if (s.find('\0') == std::string::npos) return s;
  while (!s.empty() && s.back() == '\0') s.pop_back();
  for (char& c : s)
    if (c == '\0') c = '|';
  return s;
}

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  std::size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string AskTextFile(platform::FileDialogRequest::Kind kind, const char* title) {
  platform::FileDialogRequest r;
  r.kind = kind;
  r.title = title;
  r.folder = QDir::homePath().toStdString();
  r.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
  std::optional<std::string> chosen = platform::seams().fileDialogs().Ask(r);
  return chosen ? Trim(*chosen) : std::string();
}

}  // namespace

std::string DlgFilterToList(const std::string& filter) {
  if (!filter.empty() && filter.back() == '\0') return filter;
  std::string out = filter;
  for (char& c : out)
    if (c == '|') c = '\0';
  out += '\0';
  return out;
}

int DlgOpenFile(Hwnd owner, const std::string& title, std::string& fileName, std::string& initialFolder,
                std::string& filter, const std::string& defaultExt, unsigned flags, int centre) {
  filter = DlgFilterToList(filter);
  if (initialFolder.empty()) {
    std::error_code ec;
    initialFolder = std::filesystem::current_path(ec).string();
  }
  platform::FileDialogRequest r;
  r.kind = platform::FileDialogRequest::Open;
  r.owner = WinWidget(owner);
  r.title = title;
  r.fileName = fileName;
  r.folder = initialFolder;
  r.filter = FilterToBars(filter);
  r.defaultExt = defaultExt;
  if (centre != 0) {
    if (flags == 0) flags = OFN_EXPLORER | OFN_ENABLESIZING;
    flags |= OFN_ENABLEHOOK;
    r.centre = true;
  }
  r.flags = flags;
  std::optional<std::string> chosen = platform::seams().fileDialogs().Ask(r);
  if (!chosen) return 0;
  std::string name = *chosen;
  while (!name.empty() && name.back() == '\0') name.pop_back();
  fileName = name;
  return 1;
}

int DlgCenterHookProc(QWidget* dialog) {
  if (!dialog) return 0;
  platform::CentreOnScreen(dialog);
  return 1;
}

std::string DlgOpenTextFile() { return AskTextFile(platform::FileDialogRequest::Open, "Open File"); }

std::string DlgSaveTextFile() { return AskTextFile(platform::FileDialogRequest::Save, "Save File"); }

int DlgChooseColor() {
  std::optional<std::uint32_t> c = platform::seams().pickers().ChooseColor();
  return c ? int(*c & 0x00FFFFFFu) : -1;
}

std::string DlgChooseFont(std::string& face, int& points) {
  std::optional<platform::FontChoice> f = platform::seams().pickers().ChooseFont({"Times New Roman", 12}, 10, 72);
  if (!f) return std::string();
  face = f->face;
  long long tenths = RoundHalfEven(f->points * 10.0);   // the dialog's size in tenths of a point
  points = int(RoundHalfEven(double(tenths) / 10.0));
  return face;
}

int DlgPageSetup() { return platform::seams().pickers().PageSetup() ? 0 : -1; }

std::string DlgSelectPrinter() { return platform::seams().pickers().SelectPrinter().value_or(std::string()); }
