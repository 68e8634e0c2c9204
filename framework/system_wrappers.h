// The wrappers over what the desktop gives: message boxes, the clipboard, and today's date and time as text.
#pragma once
#include <QDateTime>
#include <QLocale>
#include <string>

#include "framework/win.h"

// Shows a message box and returns the button pressed (IDOK, IDYES, ... of framework/win.h). All message boxes of the
// system go through it. The box belongs to the window it speaks for: `owner` (any window of a form stands for its
// form's top-level window), or, without one (or when it is gone), the window the operator works in (MsgBoxOwner). It is modal and stands
// in front of that window, also when that window stays on top of the others.
int MsgBox(Hwnd owner, const std::string& text, const std::string& caption, int style);
int MsgBox(const std::string& text, const std::string& caption, int style);
// The window a box without a named owner speaks for: the active window of the program; else the innermost modal form
// still open (FrmModalForm); else the form last activated; else 0.
Hwnd MsgBoxOwner();

// The clipboard's text; empty when it holds no text. In a text without any carriage return every line feed reads as
// carriage return and line feed, as pasted spreadsheet rows do on the desktop the system was made for; a text that
// holds a carriage return is given as it is.
std::string ClipGetText();
// Puts `text` on the clipboard: 1 on success, else 0. The empty text does nothing and gives 0.
int ClipSetText(const std::string& text);

// Today's date / the current time (from the clock) formatted with the default locale (QLocale()) and a date or
// time picture as the forms write them: "MMM dd, yyyy", "dd MMMM yyyy", "yyyy-MM-dd", "HH:mm:ss", "hh:mm tt".
// At most 259 bytes. An empty picture gives the locale's short date / time format.
std::string FmtDateNow(const std::string& picture);
std::string FmtTimeNow(const std::string& picture);

// The formatting itself, for a given moment and locale.
//   date pictures: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, text in '...' ('' is one quote);
//   time pictures: h hh (12-hour), H HH, m mm, s ss, t tt (AM/PM designator), text in '...'.
// Any other character stands for itself.
std::string FormatDatePicture(const QDate& date, const std::string& picture, const QLocale& locale);
std::string FormatTimePicture(const QTime& time, const std::string& picture, const QLocale& locale);
