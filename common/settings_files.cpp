#include "common/settings_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/seams.h"

bool AppReadWholeFile(const std::string& path, std::string& text) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream ss;
  ss << in.rdbuf();
  text = ss.str();
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);   // a UTF-8 mark left by an editor
  return true;
}

bool AppReadLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string text;
  if (!AppReadWholeFile(path, text)) return false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t lf = text.find('\n', start);
    std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (lf == std::string::npos) break;
    start = lf + 1;
  }
  return true;
}

bool AppWriteLineFile(const std::string& path, const std::string& line) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << line << "\r\n";
  out.flush();
  return static_cast<bool>(out);
}

std::string AppProgramFile(const std::string& name) { return platform::ProgramFolderPath() + "/" + name; }

bool AppWriteStrukLine(const std::string& line) { return AppWriteLineFile(AppProgramFile("setting_struk.txt"), line); }
