// What the operator is told after printing that reached no printer, so that nothing printed is lost from sight:
//  - a text-printer job (platform/text_printer.h) to a printer that is no print queue, or to a queue that refused
//    the job, leaves the text in a file under "cetak/";
//  - a document of the printer drawing (framework/printer.h) printed while the system has no printer goes to a PDF
//    file under "cetak/".
#pragma once
#include <string>
#include <vector>

namespace platform {
class TextPrinter;
}

// After `job` was closed: when its text was kept in a file and not printed (TextPrinter::KeptIn), tells the operator
// so in a box captioned "Info": "Tidak ada yang tercetak ke printer. Teks cetakan disimpan di " + the file + "..".
// True when it told (nothing reached a printer); false, without a box, when the job went to a printer.
bool FinTellTextKeptInFile(const platform::TextPrinter& job);

// After the documents of one print went to files instead of a printer (PrnKeptIn of each; empty texts, documents that
// went to a printer, are left out): tells the operator where, in a box captioned "Info":
// "Tidak ada yang tercetak ke printer. Cetakan disimpan di " + the file + ".." for one file, and for several
// "Tidak ada yang tercetak ke printer. " + their number + " cetakan disimpan di folder " + their folder + "..".
// True when it told; false, without a box, when there is no such file.
bool FinTellPrintKeptInFiles(const std::vector<std::string>& files);
