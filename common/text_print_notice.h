// What the operator is told after a text-printer job (platform/text_printer.h) that reached no printer: a printer
// that is no print queue, or a queue that refused the job, leaves the text in a file under "cetak/".
#pragma once

namespace platform {
class TextPrinter;
}

// After `job` was closed: when its text was kept in a file and not printed (TextPrinter::KeptIn), tells the operator
// so in a box captioned "Info": "Tidak ada yang tercetak ke printer. Teks cetakan disimpan di " + the file + "..".
// True when it told (nothing reached a printer); false, without a box, when the job went to a printer.
bool FinTellTextKeptInFile(const platform::TextPrinter& job);
