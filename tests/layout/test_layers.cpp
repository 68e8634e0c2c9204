// The layers of the source tree, read from its own includes: framework and platform at the bottom, common/ above them,
// the subsystems (students, accounts, payments, savings, reports) above common/, the shell (app/) on top. A file may
// include its own folder and any lower layer; a subsystem includes another subsystem only where kAllowed says so,
// with the reason. plugins/, bench/ and tests/ stand outside the layers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/fixtures.h"

namespace {

namespace fs = std::filesystem;

// The layer of each folder; a higher number is a higher layer.
const std::map<std::string, int>& Layers() {
  static const std::map<std::string, int> layers = {
      {"framework", 0}, {"platform", 0},                                                  //
      {"common", 1},                                                                       //
      {"students", 2},  {"accounts", 2}, {"payments", 2}, {"savings", 2}, {"reports", 2},  //
      {"app", 3}};
  return layers;
}
constexpr int kSubsystemLayer = 2;

struct Allowed {
  const char* file;     // the including file
  const char* header;   // the other subsystem's header
  const char* reason;
};

// The includes from one subsystem into another, each with what it is for.
const Allowed kAllowed[] = {
    {"students/import_window.cpp", "accounts/account_globals.h",
     "the import in mode \"Akun\" reads the class of the imported fees from the fee list's class combo"},
    {"students/import_window.cpp", "accounts/fee_rules.h",
     "imported fees take their ids by the fee list's own id rule"},
    {"accounts/code_list_window.cpp", "students/import_window.h",
     "the ledger account list opens the import window (mode \"Rekening\")"},
    {"accounts/fee_list_window.cpp", "students/import_window.h",
     "the fee list opens the import window (mode \"Akun\")"},
    {"payments/payment_window.cpp", "students/student_pickers.h",
     "the payment window opens its student picker and hands it where the chosen student goes"},
    {"savings/savings_teller_window.cpp", "students/student_pickers.h",
     "the savings teller opens its student picker and hands it where the chosen student goes"},
    {"savings/savings_teller_window.cpp", "students/student_record_window.h",
     "a student's photo file is named as the student record window names it"},
    {"reports/arrears_reports.cpp", "payments/arrears.h",
     "the arrears reports count what is owed by the arrears window's own rule"},
    {"reports/arrears_reports.cpp", "payments/arrears_bill.h",
     "the arrears notes and their archives share the arrears bill's head and file name"},
    {"reports/arrears_reports.cpp", "payments/receipt_layouts.h",
     "the arrears notes fill their amount lines as the receipt layouts do"},
};

// Windows that are opened by another window of their folder and take what they need from it when it opens them: none
// of them includes its opener (the payment book is printed by the receipt printing, never the other way round).
const std::pair<const char*, const char*> kNeverIncluded[] = {
    {"accounts/fee_copy_window", "accounts/fee_list_window.h"},
    {"app/operator_editor_window", "app/operator_list_window.h"},
    {"payments/payment_revision_window", "payments/payment_list_window.h"},
    {"payments/payment_book", "payments/receipt_print.h"},
    {"common/receipt_settings_window", "payments/payment_window.h"},
    {"students/student_pickers", "payments/payment_window.h"},
    {"students/student_pickers", "savings/savings_teller_window.h"},
};

struct Include {
  std::string file;     // relative to the root, "common/sql.cpp"
  std::string header;   // as written, "app/globals.h"
};

std::string FolderOf(const std::string& path) { return path.substr(0, path.find('/')); }

// Every `#include "folder/..."` of the layered folders under `root` whose folder is a layered one too.
std::vector<Include> LayeredIncludes(const fs::path& root) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<Include> out;
  for (const auto& [folder, layer] : Layers()) {
    if (!fs::is_directory(root / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string rel = fs::relative(entry.path(), root).generic_string();
      std::ifstream in(entry.path());
      std::string line;
      std::smatch m;
      while (std::getline(in, line))
        if (std::regex_search(line, m, kInclude) && Layers().count(FolderOf(m[1].str())))
          out.push_back({rel, m[1].str()});
    }
  }
  std::sort(out.begin(), out.end(),
            [](const Include& a, const Include& b) { return a.file + a.header < b.file + b.header; });
  return out;
}

bool Upward(const Include& inc) {
  return Layers().at(FolderOf(inc.header)) > Layers().at(FolderOf(inc.file));
}

bool CrossSubsystem(const Include& inc) {
  const std::string from = FolderOf(inc.file), to = FolderOf(inc.header);
  return from != to && Layers().at(from) == kSubsystemLayer && Layers().at(to) == kSubsystemLayer;
}

bool IsAllowed(const Include& inc) {
  return std::any_of(std::begin(kAllowed), std::end(kAllowed),
                     [&](const Allowed& a) { return inc.file == a.file && inc.header == a.header; });
}

// The faults of a tree: upward includes, and includes between subsystems that kAllowed does not name.
std::vector<std::string> Faults(const fs::path& root) {
  std::vector<std::string> faults;
  for (const Include& inc : LayeredIncludes(root)) {
    if (Upward(inc))
      faults.push_back(inc.file + " includes the higher layer's " + inc.header);
    else if (CrossSubsystem(inc) && !IsAllowed(inc))
      faults.push_back(inc.file + " includes another subsystem's " + inc.header + " without a reason in kAllowed");
  }
  return faults;
}

// Per folder: upward includes (files) and includes of another subsystem.
std::string Table(const fs::path& root) {
  std::map<std::string, std::set<std::string>> upFiles;
  std::map<std::string, int> up, cross;
  for (const Include& inc : LayeredIncludes(root)) {
    const std::string folder = FolderOf(inc.file);
    if (Upward(inc)) {
      ++up[folder];
      upFiles[folder].insert(inc.file);
    }
    if (CrossSubsystem(inc)) ++cross[folder];
  }
  std::ostringstream t;
  t << "folder     upward includes (files)   includes of another subsystem\n";
  for (const auto& [folder, layer] : Layers())
    t << folder << std::string(11 - folder.size(), ' ') << up[folder] << " (" << upFiles[folder].size() << ")"
      << std::string(22, ' ') << cross[folder] << "\n";
  return t.str();
}

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

}  // namespace

TEST(LayersTest, NoFileIncludesAHigherLayerOrAnotherSubsystemWithoutAReason) {
  std::cout << Table(FIN_SOURCE_DIR);
  const std::vector<std::string> faults = Faults(FIN_SOURCE_DIR);
  std::string all;
  for (const std::string& f : faults) all += f + "\n";
  EXPECT_TRUE(faults.empty()) << all;
}

TEST(LayersTest, EveryAllowedIncludeIsStillMade) {
  const std::vector<Include> includes = LayeredIncludes(FIN_SOURCE_DIR);
  for (const Allowed& a : kAllowed)
    EXPECT_TRUE(std::any_of(includes.begin(), includes.end(),
                            [&](const Include& inc) { return inc.file == a.file && inc.header == a.header; }))
        << a.file << " no longer includes " << a.header << ": drop it from kAllowed";
}

TEST(LayersTest, WindowsOpenedByAnotherIncludeNothingOfIt) {
  const std::vector<Include> includes = LayeredIncludes(FIN_SOURCE_DIR);
  for (const auto& [window, opener] : kNeverIncluded)
    for (const char* ext : {".h", ".cpp"})
      EXPECT_FALSE(std::any_of(includes.begin(), includes.end(), [&](const Include& inc) {
        return inc.file == std::string(window) + ext && inc.header == opener;
      })) << window << ext << " includes " << opener;
}

// The check itself, on a small tree of its own: what it must find, and what it must let pass.
TEST(LayersTest, TheCheckFindsEachKindOfFaultAndPassesTheRest) {
  fintest::TempDir dir;
  const fs::path root = dir.path();
  struct Case {
    const char* file;
    const char* include;
    bool fault;
  };
  const Case cases[] = {
      {"common/a.cpp", "app/globals.h", true},                  // common into the shell
      {"payments/b.cpp", "app/config.h", true},                 // a subsystem into the shell
      {"framework/c.h", "common/session.h", true},              // the bottom into common
      {"common/d.cpp", "payments/payment_globals.h", true},     // common into a subsystem
      {"students/e.cpp", "payments/payment_globals.h", true},   // a subsystem into another, no reason given
      {"app/f.cpp", "payments/payment_window.h", false},        // the shell may include everything
      {"payments/g.cpp", "common/session.h", false},            // downward
      {"payments/h.cpp", "payments/payment_globals.h", false},  // its own folder
      {"payments/payment_window.cpp", "students/student_pickers.h", false},   // allowed, with its reason
      {"tests/i.cpp", "app/globals.h", false},                  // outside the layers
  };
  for (const Case& c : cases) {
    fintest::TempDir one;
    Write(one.path() / c.file, std::string("#include \"") + c.include + "\"\n");
    EXPECT_EQ(Faults(one.path()).size(), c.fault ? 1u : 0u) << c.file << " -> " << c.include;
    Write(root / c.file, std::string("#include \"") + c.include + "\"\n");
  }
  EXPECT_EQ(Faults(root).size(), 5u);
}
