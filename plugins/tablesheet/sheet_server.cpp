#include "sheet_server.h"

#include "plugin_host.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "com/dispatch_object.h"


using namespace com;

const CLSID kSheetApplicationClsid = {0xbd818de7, 0x734b, 0x4a4a, {0xbe, 0x8c, 0x33, 0xbf, 0x49, 0x05, 0x75, 0xb9}};

namespace {

constexpr std::int32_t kNormal = -4143, kMaximized = -4137, kMinimized = -4140;
constexpr int kMaxRow = 1048576, kMaxColumn = 16384;
constexpr std::size_t kMaxCellText = 32767;
constexpr WORD kAppError = 1004;
const std::u16string kSource = u"Excel";

std::atomic<int> gAlive{0};

// ---- the model ----------------------------------------------------------------------------------------------------

struct Cell {
  enum Kind { Text, Number, Boolean, Date } kind = Text;
  std::string text;  // UTF-8
  double number = 0;
  bool boolean = false;
};

struct Sheet {
  std::u16string name;
  std::map<std::pair<int, int>, Cell> cells;  // (row, column), both from 1
};

struct Book {
  std::u16string name;
  SheetTemplate look;
  std::shared_ptr<Sheet> sheet;
  std::string path;  // where it was saved last; empty before
  bool saved = true;
  bool closed = false;
};

struct AppState {
  std::vector<std::shared_ptr<Book>> books;  // open ones, the active one last
  bool visible = false;
  bool fullScreen = false;
  bool quit = false;
  std::int32_t windowState = kNormal;
  int newBooks = 0;                         // "Book1", "Book2", ...
  std::map<std::u16string, int> fromTemplate;  // "Lap1", "Lap2", ... per template
};

// A text is stored as a number when it is a plain decimal number.
bool LooksNumeric(const std::u16string& t) {
  std::size_t k = 0;
  if (k < t.size() && t[k] == u'-') ++k;
  const std::size_t intStart = k;
  while (k < t.size() && t[k] >= u'0' && t[k] <= u'9') ++k;
  const std::size_t intDigits = k - intStart;
  if (intDigits == 0 || intDigits > 15) return false;
  if (intDigits > 1 && t[intStart] == u'0') return false;
  if (k < t.size() && t[k] == u'.') {
    ++k;
    const std::size_t fracStart = k;
    while (k < t.size() && t[k] >= u'0' && t[k] <= u'9') ++k;
    if (k == fracStart) return false;
  }
  return k == t.size();
}

// A decimal number read without regard to the locale; `fallback` when the text is none.
double ParseDouble(const std::string& text, double fallback) {
  double v = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  auto [p, e] = std::from_chars(first, last, v);
  return (e == std::errc() && p == last && first != last) ? v : fallback;
}

std::u16string NumberText(double r) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", r);
  return Widen(buf);
}

// ---- files --------------------------------------------------------------------------------------------------------

std::string Trim(const std::string& s) {
  std::size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return {};
  std::size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool ValidSheetName(const std::string& name) {
  if (name.empty() || Widen(name).size() > 31 || name.front() == '\'' || name.back() == '\'') return false;
  return name.find_first_of("[]:*?/\\") == std::string::npos;
}

// Writes a workbook as an .xlsx file.
bool WriteBook(const Book& book, const std::string& path) {
  lxw_workbook* wb = workbook_new(path.c_str());
  if (!wb) return false;
  const std::string sheetName = Narrow(book.sheet->name);
  lxw_worksheet* ws = workbook_add_worksheet(wb, ValidSheetName(sheetName) ? sheetName.c_str() : nullptr);
  if (!ws) {
    workbook_close(wb);
    return false;
  }
  auto styled = [&](bool bold, const char* numberFormat) {
    lxw_format* f = workbook_add_format(wb);
    format_set_font_name(f, book.look.font.c_str());
    format_set_font_size(f, book.look.fontSize);
    if (bold) format_set_bold(f);
    if (numberFormat) format_set_num_format(f, numberFormat);
    return f;
  };
  lxw_format* body = styled(false, nullptr);
  lxw_format* header = styled(book.look.headerBold, nullptr);
  lxw_format* bodyDate = styled(false, "yyyy-mm-dd");
  lxw_format* headerDate = styled(book.look.headerBold, "yyyy-mm-dd");
  if (book.look.landscape) worksheet_set_landscape(ws);
  if (book.look.fitPagesWide > 0) worksheet_fit_to_pages(ws, static_cast<std::uint16_t>(book.look.fitPagesWide), 0);
  if (book.look.titleRows > 0) worksheet_repeat_rows(ws, 0, static_cast<lxw_row_t>(book.look.titleRows - 1));
  int lastColumn = 0;
  for (const auto& [at, cell] : book.sheet->cells) lastColumn = std::max(lastColumn, at.second);
  if (book.look.columnWidth > 0 && lastColumn > 0)
    worksheet_set_column(ws, 0, static_cast<lxw_col_t>(lastColumn - 1), book.look.columnWidth, nullptr);
  bool ok = true;
  for (const auto& [at, cell] : book.sheet->cells) {
    const auto row = static_cast<lxw_row_t>(at.first - 1);
    const auto col = static_cast<lxw_col_t>(at.second - 1);
    const bool first = at.first == 1;
    lxw_error e = LXW_NO_ERROR;
    switch (cell.kind) {
      case Cell::Text: e = worksheet_write_string(ws, row, col, cell.text.c_str(), first ? header : body); break;
      case Cell::Number: e = worksheet_write_number(ws, row, col, cell.number, first ? header : body); break;
      case Cell::Boolean: e = worksheet_write_boolean(ws, row, col, cell.boolean, first ? header : body); break;
      case Cell::Date: e = worksheet_write_number(ws, row, col, cell.number, first ? headerDate : bodyDate); break;
    }
    ok = ok && e == LXW_NO_ERROR;
  }
  return workbook_close(wb) == LXW_NO_ERROR && ok;
}

// A free name "<folder>/<stem>_<yyyymmdd_hhmmss>.xlsx" in the folder "cetak" of the working folder (made when
// missing); empty, with the folder in `folderOut`, when that folder cannot be made.
std::string ShownPath(const std::u16string& bookName, std::string* folderOut = nullptr) {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::current_path(ec) / "cetak";
  if (folderOut) *folderOut = folder.string();
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) return {};
  std::string stem = Narrow(bookName);
  for (char& c : stem)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  if (stem.empty() || stem.front() == '.') stem = "Buku" + stem;
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &local);
  const std::string base = (folder / (stem + "_" + stamp)).string();
  std::string name = base + ".xlsx";
  for (int n = 2; std::filesystem::exists(name, ec); ++n) name = base + "_" + std::to_string(n) + ".xlsx";
  return name;
}

// The text read from a file name argument: "\" separators become "/".
std::string FilePath(const std::u16string& name) {
  std::string path = Narrow(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// ---- objects ------------------------------------------------------------------------------------------------------

class Application;

bool IsGet(WORD flags) { return flags & DISPATCH_PROPERTYGET; }
bool IsPut(WORD flags) { return flags & DISPATCH_PROPERTYPUT; }
bool IsMethod(WORD flags) { return flags & DISPATCH_METHOD; }

// A child object of an application: it keeps the application alive while it lives.
class AppChild : public DispatchObject {
 protected:
  explicit AppChild(Application* app);
  ~AppChild() override;
  AppState& state();
  Application* app_;
};

class Range final : public AppChild {
 public:
  Range(Application* app, std::shared_ptr<Sheet> sheet, int row, int column)
      : AppChild(app), sheet_(std::move(sheet)), row_(row), column_(column) {}

 protected:
  enum : DISPID { kValue = DISPID_VALUE, kText = 1, kRow = 2, kColumn = 3 };
  std::span<const Member> Members() const override {
    static const Member members[] = {{u"Value", kValue}, {u"Text", kText}, {u"Row", kRow}, {u"Column", kColumn}};
    return members;
  }
  HRESULT Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) override;

 private:
  std::shared_ptr<Sheet> sheet_;
  int row_, column_;
};

class Worksheet final : public AppChild {
 public:
  Worksheet(Application* app, std::shared_ptr<Book> book) : AppChild(app), book_(std::move(book)) {}

 protected:
  enum : DISPID { kName = 1, kCells = 2, kSaveAs = 3 };
  std::span<const Member> Members() const override {
    static const Member members[] = {{u"Name", kName}, {u"Cells", kCells}, {u"SaveAs", kSaveAs}};
    return members;
  }
  HRESULT Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) override;

 private:
  std::shared_ptr<Book> book_;
};

class Workbook final : public AppChild {
 public:
  Workbook(Application* app, std::shared_ptr<Book> book) : AppChild(app), book_(std::move(book)) {}

 protected:
  enum : DISPID { kName = 1, kActiveSheet = 2, kSave = 3, kSaveAs = 4, kSaved = 5, kClose = 6 };
  std::span<const Member> Members() const override {
    static const Member members[] = {{u"Name", kName},     {u"ActiveSheet", kActiveSheet}, {u"Save", kSave},
                                     {u"SaveAs", kSaveAs}, {u"Saved", kSaved},             {u"Close", kClose}};
    return members;
  }
  HRESULT Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) override;

 private:
  std::shared_ptr<Book> book_;
};

class Workbooks final : public AppChild {
 public:
  explicit Workbooks(Application* app) : AppChild(app) {}

 protected:
  enum : DISPID { kItem = DISPID_VALUE, kOpen = 1, kAdd = 2, kCount = 3, kNewEnum = DISPID_NEWENUM };
  std::span<const Member> Members() const override {
    static const Member members[] = {
        {u"Item", kItem}, {u"Open", kOpen}, {u"Add", kAdd}, {u"Count", kCount}, {u"_NewEnum", kNewEnum}};
    return members;
  }
  HRESULT Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) override;

 private:
  HRESULT OpenTemplate(const std::u16string& file, VARIANT* result, EXCEPINFO* exception);
};

class Application final : public DispatchObject {
 public:
  Application() {
    ++gAlive;
    RegisterActiveObject(static_cast<IDispatch*>(this), kSheetApplicationClsid, 0, &cookie_);
  }
  AppState& state() { return state_; }

  // The book made active last, or null.
  std::shared_ptr<Book> ActiveBook() { return state_.books.empty() ? nullptr : state_.books.back(); }
  void Activate(const std::shared_ptr<Book>& book) {
    std::erase(state_.books, book);
    state_.books.push_back(book);
  }
  void Close(const std::shared_ptr<Book>& book) {
    book->closed = true;
    std::erase(state_.books, book);
  }

 protected:
  enum : DISPID {
    kWorkbooks = 1,
    kActiveWorkbook = 2,
    kActiveSheet = 3,
    kVisible = 4,
    kDisplayFullScreen = 5,
    kWindowState = 6,
    kQuit = 7
  };
  std::span<const Member> Members() const override {
    static const Member members[] = {{u"Workbooks", kWorkbooks},
                                     {u"ActiveWorkbook", kActiveWorkbook},
                                     {u"ActiveSheet", kActiveSheet},
                                     {u"Visible", kVisible},
                                     {u"DisplayFullScreen", kDisplayFullScreen},
                                     {u"WindowState", kWindowState},
                                     {u"Quit", kQuit}};
    return members;
  }
  HRESULT Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) override;

 private:
  ~Application() override {
    RevokeActiveObject(cookie_, nullptr);
    if (state_.visible && !state_.quit) Show();
    --gAlive;
  }
  // What the operator would now look at: each open workbook, written and opened with the desktop. A workbook that
  // cannot be written is not lost in silence: the operator is told.
  void Show() {
    for (const auto& book : state_.books) {
      std::string folder;
      const std::string path = ShownPath(book->name, &folder);
      if (path.empty())
        SheetTellOperator("Folder " + folder + " tidak dapat dibuat, workbook tidak dapat disimpan..");
      else if (WriteBook(*book, path)) {
        if (!PluginOpenWithDesktop(path))
          SheetTellOperator("Tidak ada program yang dapat dijalankan untuk membuka " + path + "..");
      } else
        SheetTellOperator("Workbook " + path + " tidak dapat disimpan..");
    }
  }
  AppState state_;
  DWORD cookie_ = 0;
};

AppChild::AppChild(Application* app) : app_(app) { app_->AddRef(); }
AppChild::~AppChild() { app_->Release(); }
AppState& AppChild::state() { return app_->state(); }

// ---- cells --------------------------------------------------------------------------------------------------------

HRESULT CheckCell(int row, int column, EXCEPINFO* exception) {
  if (row < 1 || row > kMaxRow || column < 1 || column > kMaxColumn)
    return RaiseException(exception, kAppError, 0, kSource, u"Application-defined or object-defined error");
  return S_OK;
}

HRESULT PutCell(Sheet& sheet, int row, int column, const VARIANT* value, EXCEPINFO* exception) {
  HRESULT hr = CheckCell(row, column, exception);
  if (Failed(hr)) return hr;
  const auto at = std::make_pair(row, column);
  Cell cell;
  switch (value->vt) {
    case VT_EMPTY:
    case VT_NULL:
      sheet.cells.erase(at);
      return S_OK;
    case VT_ERROR:
      return DISP_E_PARAMNOTFOUND;
    case VT_BOOL:
      cell.kind = Cell::Boolean;
      cell.boolean = value->boolean != 0;
      break;
    case VT_DATE:
      cell.kind = Cell::Date;
      cell.number = value->date;
      break;
    case VT_BSTR:
    case VT_DISPATCH: {
      VARIANT text;
      VariantInit(&text);
      hr = VariantChangeType(&text, value, VARIANT_LOCALBOOL, VT_BSTR);
      if (Failed(hr)) return hr;
      std::u16string t = text.bstr ? std::u16string(text.bstr, SysStringLen(text.bstr)) : std::u16string();
      VariantClear(&text);
      if (t.empty()) {
        sheet.cells.erase(at);
        return S_OK;
      }
      if (t.size() > kMaxCellText)
        return RaiseException(exception, kAppError, 0, kSource,
                              u"Text values in cells are limited to 32767 characters.");
      if (LooksNumeric(t)) {
        cell.kind = Cell::Number;
        cell.number = ParseDouble(Narrow(t), 0);
      } else {
        cell.kind = Cell::Text;
        cell.text = Narrow(t);
      }
      break;
    }
    default: {
      VARIANT number;
      VariantInit(&number);
      hr = VariantChangeType(&number, value, 0, VT_R8);
      if (Failed(hr)) return DISP_E_TYPEMISMATCH;
      cell.kind = Cell::Number;
      cell.number = number.r8;
      break;
    }
  }
  sheet.cells[at] = cell;
  return S_OK;
}

void GetCell(const Sheet& sheet, int row, int column, VARIANT* result) {
  if (!result) return;
  VariantInit(result);
  auto it = sheet.cells.find({row, column});
  if (it == sheet.cells.end()) return;
  const Cell& c = it->second;
  switch (c.kind) {
    case Cell::Text: ResultText(result, Widen(c.text)); break;
    case Cell::Number: ResultDouble(result, c.number); break;
    case Cell::Boolean: ResultBool(result, c.boolean); break;
    case Cell::Date:
      result->vt = VT_DATE;
      result->date = c.number;
      break;
  }
}

HRESULT Range::Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) {
  switch (id) {
    case kValue:
      if (IsPut(flags)) return PutCell(*sheet_, row_, column_, args.value, exception);
      if (!IsGet(flags)) break;
      GetCell(*sheet_, row_, column_, result);
      return S_OK;
    case kText: {
      if (!IsGet(flags)) break;
      auto it = sheet_->cells.find({row_, column_});
      std::u16string text;
      if (it != sheet_->cells.end()) {
        const Cell& c = it->second;
        if (c.kind == Cell::Text) text = Widen(c.text);
        else if (c.kind == Cell::Boolean) text = c.boolean ? u"TRUE" : u"FALSE";
        else {
          VARIANT v;
          GetCell(*sheet_, row_, column_, &v);
          VariantChangeType(&v, &v, 0, VT_BSTR);
          text = v.vt == VT_BSTR && v.bstr ? std::u16string(v.bstr, SysStringLen(v.bstr)) : NumberText(c.number);
          VariantClear(&v);
        }
      }
      ResultText(result, text);
      return S_OK;
    }
    case kRow:
      if (!IsGet(flags)) break;
      ResultInt(result, row_);
      return S_OK;
    case kColumn:
      if (!IsGet(flags)) break;
      ResultInt(result, column_);
      return S_OK;
    default: break;
  }
  return DISP_E_MEMBERNOTFOUND;
}

// ---- saving -------------------------------------------------------------------------------------------------------

HRESULT SaveBookAs(Book& book, const std::string& path, EXCEPINFO* exception) {
  if (path.empty() || !WriteBook(book, path))
    return RaiseException(exception, kAppError, 0, kSource, u"Cannot access '" + Widen(path) + u"'.");
  book.path = path;
  book.name = Widen(std::filesystem::path(path).filename().string());
  book.saved = true;
  return S_OK;
}

HRESULT SaveAsCall(Book& book, const CallArgs& args, EXCEPINFO* exception) {
  std::u16string file;
  HRESULT hr = ArgText(args, 0, &file);
  if (Failed(hr)) return hr;
  if (!args.Missing(1)) {  // the file format: any number is accepted; the file is always written as .xlsx
    std::int32_t format = 0;
    hr = ArgInt(args, 1, &format);
    if (Failed(hr)) return hr;
  }
  return SaveBookAs(book, FilePath(file), exception);
}

HRESULT Worksheet::Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) {
  Sheet& sheet = *book_->sheet;
  switch (id) {
    case kName:
      if (IsPut(flags)) {
        bool ok = false;
        std::u16string name;
        VARIANT v;
        VariantInit(&v);
        if (Succeeded(VariantChangeType(&v, args.value, 0, VT_BSTR)) && v.bstr) {
          name.assign(v.bstr, SysStringLen(v.bstr));
          ok = ValidSheetName(Narrow(name));
        }
        VariantClear(&v);
        if (!ok) return RaiseException(exception, kAppError, 0, kSource, u"That sheet name is not allowed.");
        sheet.name = name;
        book_->saved = false;
        return S_OK;
      }
      if (!IsGet(flags)) break;
      ResultText(result, sheet.name);
      return S_OK;
    case kCells: {
      if (!IsPut(flags) && !IsGet(flags) && !IsMethod(flags)) break;
      if (args.size() != 2) return DISP_E_BADPARAMCOUNT;
      std::int32_t row = 0, column = 0;
      HRESULT hr = ArgInt(args, 0, &row);
      if (Succeeded(hr)) hr = ArgInt(args, 1, &column);
      if (Failed(hr)) return hr;
      if (IsPut(flags)) {
        hr = PutCell(sheet, row, column, args.value, exception);
        if (Succeeded(hr)) book_->saved = false;
        return hr;
      }
      hr = CheckCell(row, column, exception);
      if (Failed(hr)) return hr;
      ResultObject(result, new Range(app_, book_->sheet, row, column));
      return S_OK;
    }
    case kSaveAs:
      if (!IsMethod(flags)) break;
      return SaveAsCall(*book_, args, exception);
    default: break;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT Workbook::Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) {
  switch (id) {
    case kName:
      if (!IsGet(flags)) break;
      ResultText(result, book_->name);
      return S_OK;
    case kActiveSheet:
      if (!IsGet(flags)) break;
      ResultObject(result, book_->closed ? nullptr : new Worksheet(app_, book_));
      return S_OK;
    case kSave: {
      if (!IsMethod(flags)) break;
      std::string path = book_->path.empty() ? ShownPath(book_->name) : book_->path;
      return SaveBookAs(*book_, path, exception);
    }
    case kSaveAs:
      if (!IsMethod(flags)) break;
      return SaveAsCall(*book_, args, exception);
    case kSaved:
      if (IsPut(flags)) {
        bool saved = false;
        HRESULT hr = ValueBool(args.value, &saved);
        if (Failed(hr)) return hr;
        book_->saved = saved;
        return S_OK;
      }
      if (!IsGet(flags)) break;
      ResultBool(result, book_->saved);
      return S_OK;
    case kClose:
      if (!IsMethod(flags)) break;
      app_->Close(book_);
      return S_OK;
    default: break;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT Workbooks::OpenTemplate(const std::u16string& file, VARIANT* result, EXCEPINFO* exception) {
  const std::string path = FilePath(file);
  SheetTemplate look;
  std::string problem;
  if (!SheetReadTemplate(path, &look, &problem))
    return RaiseException(exception, kAppError, 0, kSource, Widen(problem));
  auto book = std::make_shared<Book>();
  book->look = look;
  book->sheet = std::make_shared<Sheet>();
  book->sheet->name = Widen(look.sheet);
  std::filesystem::path p(path);
  const std::string extension = Lower(p.extension().string());
  if (extension == ".xlt" || extension == ".xltx") {
    const std::u16string stem = Widen(p.stem().string());
    book->name = stem + Widen(std::to_string(++state().fromTemplate[stem]));
  } else {
    book->name = Widen(p.filename().string());
    book->path = path;
  }
  app_->Activate(book);
  ResultObject(result, new Workbook(app_, book));
  return S_OK;
}

HRESULT Workbooks::Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) {
  AppState& s = state();
  switch (id) {
    case kOpen: {
      if (!IsMethod(flags)) break;
      std::u16string file;
      HRESULT hr = ArgText(args, 0, &file);
      if (Failed(hr)) return hr;
      return OpenTemplate(file, result, exception);
    }
    case kAdd: {
      if (!IsMethod(flags)) break;
      if (!args.Missing(0)) {
        std::u16string file;
        HRESULT hr = ArgText(args, 0, &file);
        if (Failed(hr)) return hr;
        return OpenTemplate(file, result, exception);
      }
      auto book = std::make_shared<Book>();
      book->sheet = std::make_shared<Sheet>();
      book->sheet->name = Widen(book->look.sheet);
      book->name = u"Book" + Widen(std::to_string(++s.newBooks));
      app_->Activate(book);
      ResultObject(result, new Workbook(app_, book));
      return S_OK;
    }
    case kCount:
      if (!IsGet(flags)) break;
      ResultInt(result, static_cast<std::int32_t>(s.books.size()));
      return S_OK;
    case kItem: {
      if (!IsGet(flags) && !IsMethod(flags)) break;
      std::shared_ptr<Book> found;
      if (!args.Missing(0) && args.positional[0]->vt == VT_BSTR) {
        std::u16string name;
        HRESULT hr = ArgText(args, 0, &name);
        if (Failed(hr)) return hr;
        for (const auto& b : s.books)
          if (SameName(b->name, name)) found = b;
      } else {
        std::int32_t index = 0;
        HRESULT hr = ArgInt(args, 0, &index);
        if (Failed(hr)) return hr;
        if (index >= 1 && static_cast<std::size_t>(index) <= s.books.size()) found = s.books[index - 1];
      }
      if (!found) return RaiseException(exception, 9, 0, kSource, u"Subscript out of range");
      ResultObject(result, new Workbook(app_, found));
      return S_OK;
    }
    case kNewEnum: {
      if (!IsGet(flags) && !IsMethod(flags)) break;
      std::vector<VARIANT> items;
      for (const auto& b : s.books) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_DISPATCH;
        v.dispatch = new Workbook(app_, b);
        items.push_back(v);
      }
      IEnumVARIANT* e = NewVariantEnumerator(items);
      for (VARIANT& v : items) VariantClear(&v);
      if (result) {
        VariantInit(result);
        result->vt = VT_UNKNOWN;
        result->unknown = e;
      } else {
        e->Release();
      }
      return S_OK;
    }
    default: break;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT Application::Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) {
  switch (id) {
    case kWorkbooks:
      if (!IsGet(flags)) break;
      ResultObject(result, new Workbooks(this));
      return S_OK;
    case kActiveWorkbook: {
      if (!IsGet(flags)) break;
      auto book = ActiveBook();
      ResultObject(result, book ? new Workbook(this, book) : nullptr);
      return S_OK;
    }
    case kActiveSheet: {
      if (!IsGet(flags)) break;
      auto book = ActiveBook();
      ResultObject(result, book ? new Worksheet(this, book) : nullptr);
      return S_OK;
    }
    case kVisible:
    case kDisplayFullScreen: {
      bool& flag = id == kVisible ? state_.visible : state_.fullScreen;
      if (IsPut(flags)) return ValueBool(args.value, &flag);
      if (!IsGet(flags)) break;
      ResultBool(result, flag);
      return S_OK;
    }
    case kWindowState:
      if (IsPut(flags)) {
        std::int32_t value = 0;
        HRESULT hr = ValueInt(args.value, &value);
        if (Failed(hr)) return hr;
        if (value != kNormal && value != kMaximized && value != kMinimized)
          return RaiseException(exception, kAppError, 0, kSource, u"Unable to set the WindowState property.");
        state_.windowState = value;
        return S_OK;
      }
      if (!IsGet(flags)) break;
      ResultInt(result, state_.windowState);
      return S_OK;
    case kQuit:
      if (!IsMethod(flags)) break;
      state_.quit = true;
      state_.visible = false;
      return S_OK;
    default: break;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT CreateApplication(const IID& iid, void** object) {
  auto* app = new Application();
  HRESULT hr = app->QueryInterface(iid, object);
  app->Release();
  return hr;
}

}  // namespace

HRESULT SheetServerRegister() {
  IClassFactory* factory = NewClassFactory(&CreateApplication);
  HRESULT hr = CoRegisterClass(kSheetApplicationClsid, u"Excel.Application", CLSCTX_LOCAL_SERVER, factory);
  factory->Release();
  return hr;
}

void SheetServerRevoke() { CoRevokeClass(kSheetApplicationClsid); }

int SheetApplicationsAlive() { return gAlive.load(); }

bool SheetReadTemplate(const std::string& path, SheetTemplate* look, std::string* problem) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::exists(path, ec)) {
    *problem = "The file '" + path + "' could not be found.";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in || !std::filesystem::is_regular_file(path, ec)) {
    *problem = "The file '" + path + "' could not be opened.";
    return false;
  }
  SheetTemplate read;
  std::string line;
  bool signed_ = false;
  bool firstLine = true;
  while (std::getline(in, line)) {
    if (firstLine && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);  // a byte-order mark
    firstLine = false;
    line = Trim(line);
    if (!signed_) {
      if (line.empty()) continue;
      if (line != "FinanceWorkbookTemplate 1") break;
      signed_ = true;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = Lower(Trim(line.substr(0, eq)));
    const std::string value = Trim(line.substr(eq + 1));
    if (key == "sheet" && ValidSheetName(value)) {
      read.sheet = value;
    } else if (key == "font" && !value.empty()) {
      read.font = value;
    } else if (key == "font size") {
      double v = ParseDouble(value, -1);
      if (v >= 1 && v <= 409) read.fontSize = v;
    } else if (key == "column width") {
      double v = ParseDouble(value, -1);
      if (v >= 0 && v <= 255) read.columnWidth = v;
    } else if (key == "header bold") {
      const std::string v = Lower(value);
      read.headerBold = v == "yes" || v == "1" || v == "true";
    } else if (key == "orientation") {
      const std::string v = Lower(value);
      if (v == "landscape" || v == "portrait") read.landscape = v == "landscape";
    } else if (key == "fit to pages wide") {
      double v = ParseDouble(value, -1);
      if (v >= 0 && v <= 32767 && v == static_cast<int>(v)) read.fitPagesWide = static_cast<int>(v);
    } else if (key == "print title rows") {
      double v = ParseDouble(value, -1);
      if (v >= 0 && v <= 100 && v == static_cast<int>(v)) read.titleRows = static_cast<int>(v);
    }
  }
  if (!signed_) {
    *problem = "The file '" + path + "' is not a workbook template that can be opened.";
    return false;
  }
  *look = read;
  return true;
}

void SheetTellOperator(const std::string& text) {
  MessageBoxW(0, Widen(text).c_str(), u"Info", MB_OK | MB_ICONINFORMATION);
}
