#include "common/photos.h"

#include <filesystem>
#include <system_error>

bool FinReplacePhoto(const std::string& source, const std::string& target) {
  namespace fs = std::filesystem;
  if (source.empty() || target.empty()) return false;
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return false;
  if (fs::equivalent(source, target, ec) && !ec) return true;   // the photo chosen is the person's own file
  ec.clear();
  const fs::path to(target);
  const fs::path parent = to.has_parent_path() ? to.parent_path() : fs::path(".");
  if (!fs::is_directory(parent, ec)) return false;
  const fs::path partial = to.string() + ".baru";
  if (!fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec) || ec) {
    fs::remove(partial, ec);
    return false;
  }
  fs::rename(partial, to, ec);
  if (!ec) return true;
  std::error_code ignored;
  fs::remove(partial, ignored);
  return false;
}
