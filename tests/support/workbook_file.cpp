#include "support/workbook_file.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <QXmlStreamReader>
#include <vector>

namespace fintest {

std::string Unzip(const std::string& zip, const std::string& member) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {"unzip", "-p", zip.c_str(), member.c_str(), nullptr};
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, "unzip", &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string out;
  char buf[4096];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
  close(fds[0]);
  if (rc == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
  }
  return out;
}

std::string SheetCells(const std::string& xlsx) {
  std::vector<std::string> shared;
  QXmlStreamReader strings(QString::fromStdString(Unzip(xlsx, "xl/sharedStrings.xml")));
  while (!strings.atEnd()) {
    strings.readNext();
    if (strings.isStartElement() && strings.name() == QStringLiteral("t"))
      shared.push_back(strings.readElementText().toStdString());
  }
  std::string sheetName;
  QXmlStreamReader book(QString::fromStdString(Unzip(xlsx, "xl/workbook.xml")));
  while (!book.atEnd()) {
    book.readNext();
    if (book.isStartElement() && book.name() == QStringLiteral("sheet"))
      sheetName = book.attributes().value("name").toString().toStdString();
  }
  std::string out = "sheet " + sheetName + "\n";
  QXmlStreamReader sheet(QString::fromStdString(Unzip(xlsx, "xl/worksheets/sheet1.xml")));
  std::string ref, type;
  while (!sheet.atEnd()) {
    sheet.readNext();
    if (sheet.isStartElement() && sheet.name() == QStringLiteral("c")) {
      ref = sheet.attributes().value("r").toString().toStdString();
      type = sheet.attributes().value("t").toString().toStdString();
    } else if (sheet.isStartElement() && sheet.name() == QStringLiteral("v")) {
      const std::string v = sheet.readElementText().toStdString();
      if (type == "s")
        out += ref + " s \"" + shared.at(std::stoul(v)) + "\"\n";
      else
        out += ref + " " + (type.empty() ? "n" : type) + " " + v + "\n";
    }
  }
  return out;
}

}  // namespace fintest
