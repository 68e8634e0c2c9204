#include "common/student_cards.h"

#include <cstdio>

#include "common/export.h"
#include "common/settings.h"
#include "framework/controls.h"
#include "framework/system_wrappers.h"
#include "platform/seams.h"

namespace {

const char kCardHead[] = "<td style='text-align: center;' colspan='2' rowspan='1'>KARTU IDENTITAS PELAJAR<br>";

void AddDetail(std::string& page, const StudentCard& s) {
  auto line = [&page](const std::string& text) { page += text + "\r\n"; };
  line("<img src=image/" + FinHtmlEscape(s.id) + ".bmp width='90' height='100'></a></td>");
  line("<td>");
  line(FinHtmlEscape(s.id) + "<br/>");
  line(FinHtmlEscape(s.name) + "<br/>");
  line(std::string(s.gender == "L" ? "Laki-Laki" : "Perempuan") + "<br/>");
  line(FinHtmlEscape(s.birthPlace) + ", " + FinHtmlEscape(s.birthDate) + "<br/>");
  line("<br/><br/><br/><br/>");
}

}  // namespace

std::string FinBuildStudentCardsPage(const std::string& schoolName, const std::string& schoolAddress,
                                     const std::vector<StudentCard>& students) {
  std::string page;
  auto line = [&page](const std::string& text) { page += text + "\r\n"; };
  const std::string school = FinHtmlEscape(schoolName), address = FinHtmlEscape(schoolAddress);
  line("<script language=javascript>");
  line("window.print()");
  line("</script>");
  line("<table class='hovertable' border='1' cellpadding='0' cellspacing='0'>");
  line("<tr><th>Photo</th><th>Student Detail</th><th>Photo</th><th>Student Detail</th></tr>");
  for (std::size_t i = 0; i < students.size(); i += 2) {
    const bool pair = i + 1 < students.size();
    line("<tr>");
    line(kCardHead);
    line(school + "<br>");
    line(address + "<br>");
    line("</td>");
    if (pair) {
      line(kCardHead);
      line(school + "<br>");
      line(address + "</td>");
    }
    line("</tr>");
    line("<tr><td>");
    AddDetail(page, students[i]);
    if (pair) {
      line("</td>");
      line("<td>");
      AddDetail(page, students[i + 1]);
      line("</td></tr>");
    } else {
      line("</td>");
      line("</tr>");  // the last student of an odd list has a card of its own
    }
  }
  return page;
}

void FinPrintStudentCards(Hwnd list) {
  std::vector<StudentCard> students;
  const int count = LvGetItemCount(list);
  students.reserve(count > 0 ? count : 0);
  for (int r = 0; r < count; ++r) {
    students.push_back({LvGetItemText(list, r, 0), LvGetItemText(list, r, 1), LvGetItemText(list, r, 2),
                        LvGetItemText(list, r, 3), LvGetItemText(list, r, 4)});
  }
  const std::string page = FinBuildStudentCardsPage(gSchoolName, gSchoolAddress, students);
  const std::string path = platform::ProgramFolderPath() + "/Kartu.html";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f != nullptr;
  if (f) {
    ok = std::fwrite(page.data(), 1, page.size(), f) == page.size();
    ok = (std::fclose(f) == 0) && ok;
  }
  // A page that could not be written is not opened (an earlier page there would be shown as this one): the
  // operator is told, with its path.
  if (!ok) {
    MsgBox(FinPageNotWrittenText(path), "Info", MB_OK | MB_ICONINFORMATION);
    return;
  }
  FinOpenWithDesktop(path);
}
