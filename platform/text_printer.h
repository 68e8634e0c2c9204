// Raw text printers: payment books, savings passbooks, cards and receipts go as plain text lines to a printer the
// operator chose (the device "LPT:" + name + ",EMU=TTY").
//
//   platform::TextPrinter prn;
//   if (!prn.Open(name)) { ... "Gagal Cetak.." ...; return; }
//   prn.WriteLine("   " + gSchoolName);            // each line ends in CR LF
//   prn.Close();                                    // ends the job
//
// The system's back end sends the job as raw text to the CUPS queue of that name (`lp -d NAME -o raw`, the text on
// its standard input) when `lpstat -p NAME` knows the queue; otherwise the job becomes a text file under "cetak/" of
// the working folder, named after the printer and the time the job started (the pseudo-printer kPdfPrinterName,
// printing to a file, gives "cetak_" and the time). Such a job reached no printer: KeptIn()
// names its file after Close, so that the caller can tell the operator. Commands run with an argument list, never
// through a shell. Tests install the recording back end (RecordingTextPrinterBackend), which keeps every job.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// "LPT:" + name + ",EMU=TTY".
std::string TextPrinterDevice(const std::string& printerName);
// The printer name of a device text made by TextPrinterDevice; any other text is taken as the name itself.
std::string TextPrinterNameOf(const std::string& deviceOrName);

// One job on a text printer.
class TextPrintJob {
 public:
  virtual ~TextPrintJob() = default;
  virtual bool Write(const std::string& bytes) = 0;
  // Ends the job (hands it to the printer); false when it could not be handed over.
  virtual bool Close() = 0;
  // After Close: the file the text was kept in because it did not go to a printer (a printer that is no print
  // queue, or a queue that refused the job); empty when the job went to a printer.
  virtual std::string KeptIn() const { return {}; }
};

class TextPrinterBackend {
 public:
  virtual ~TextPrinterBackend() = default;
  // Starts a job on the printer; nullptr when it cannot be opened.
  virtual std::unique_ptr<TextPrintJob> Open(const std::string& printerName) = 0;
};

// What the system's routines use.
class TextPrinter {
 public:
  TextPrinter() = default;
  ~TextPrinter();             // closes an open job
  TextPrinter(const TextPrinter&) = delete;
  TextPrinter& operator=(const TextPrinter&) = delete;

  // Opens the printer by name or by its device text ("LPT:" + name + ",EMU=TTY"); false when it cannot be opened.
  // An open job is closed first.
  bool Open(const std::string& printerOrDevice);
  bool IsOpen() const { return job_ != nullptr; }
  bool Write(const std::string& text);          // as it is
  bool WriteLine(const std::string& line);      // line + CR LF
  bool Close();                                 // false when nothing was open or the job failed
  // After Close: the file under "cetak/" that holds the text of a job that did not reach a printer; empty when the
  // job went to a printer.
  const std::string& KeptIn() const { return keptIn_; }

 private:
  std::unique_ptr<TextPrintJob> job_;
  std::string keptIn_;
};

// ----- back ends -----------------------------------------------------------------------------------------------------

// The active back end (the system's unless a test installed another).
TextPrinterBackend& ActiveTextPrinterBackend();
// Installs `backend` for every text printer opened from now on; nullptr puts the system's back end back.
void SetTextPrinterBackendForTests(std::shared_ptr<TextPrinterBackend> backend);

// The system's back end: CUPS queue when it exists, else a file under "cetak/".
std::unique_ptr<TextPrinterBackend> MakeSystemTextPrinterBackend();

// How the system's back end runs `lpstat` and `lp`: program, arguments (never a shell line), standard input.
// Tests may replace it to see the commands; nullptr puts the real runner (QProcess) back.
struct CommandResult {
  bool started = false;
  int exitCode = -1;
};
using CommandRunner =
    std::function<CommandResult(const std::string& program, const std::vector<std::string>& args, const std::string& input)>;
void SetTextPrinterCommandRunnerForTests(CommandRunner runner);

// True for a name a CUPS queue can have (printable, no blank, "/", "\", "#", quote, not starting with "-", at most
// 127 bytes); other names are never handed to the CUPS commands.
bool IsCupsQueueName(const std::string& name);

// ----- recording (tests) ---------------------------------------------------------------------------------------------

struct RecordedTextJob {
  std::string printer;
  std::string data;           // every byte written
  bool closed = false;
  // The data split into lines at CR LF (a last line without CR LF counts too).
  std::vector<std::string> Lines() const;
};

class RecordingTextPrinterBackend final : public TextPrinterBackend {
 public:
  RecordingTextPrinterBackend();
  // Jobs in the order they were opened.
  const std::vector<RecordedTextJob>& Jobs() const { return store_->jobs; }
  // Printers that refuse to open (their Open fails).
  void Refuse(const std::string& printerName) { store_->refused.push_back(printerName); }
  void Clear() { store_->jobs.clear(); }

  std::unique_ptr<TextPrintJob> Open(const std::string& printerName) override;

  struct Store {
    std::vector<RecordedTextJob> jobs;
    std::vector<std::string> refused;
  };

 private:
  std::shared_ptr<Store> store_;
};

// Installs a new recording back end (SetTextPrinterBackendForTests) and returns it.
std::shared_ptr<RecordingTextPrinterBackend> InstallRecordingTextPrinterBackend();

}  // namespace platform
