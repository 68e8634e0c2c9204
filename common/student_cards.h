// Student identity cards: the rows of the student list as the printable page "Kartu.html", two cards side by side per
// table row, opened with the desktop's default program (the page asks to print itself).
#pragma once
#include <string>
#include <vector>

#include "framework/win.h"

// One student as the student list shows it.
struct StudentCard {
  std::string id;
  std::string name;
  std::string gender;      // "L" male; anything else reads as female
  std::string birthPlace;
  std::string birthDate;
};

// The card page, lines ended by CR LF. Texts from the data are escaped. An odd last student gets a card of its own.
std::string FinBuildStudentCardsPage(const std::string& schoolName, const std::string& schoolAddress,
                                     const std::vector<StudentCard>& students);

// Writes the cards of the rows of `list` (columns: id, name, gender letter, place of birth, date of birth) into
// "Kartu.html" in the program folder and opens it. A page that cannot be written is not opened and the operator is
// told so (FinPageNotWrittenText); nor is a page no program can open (FinOpenWithDesktop).
void FinPrintStudentCards(Hwnd list);
