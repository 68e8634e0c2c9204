// The desktop opener of a benchmark: an "xdg-open" that opens nothing, put first in PATH, so that the plug-ins' pages
// and workbooks are written and timed but no viewer is started.
#pragma once
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

inline void InstallSilentOpener(const std::filesystem::path& folder) {
  const std::filesystem::path opener = folder / "xdg-open";
  if (std::FILE* f = std::fopen(opener.c_str(), "w")) {
    std::fputs("#!/bin/sh\nexit 0\n", f);
    std::fclose(f);
  }
  std::error_code ec;
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all, ec);
  const char* path = getenv("PATH");
  setenv("PATH", (folder.string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
}
