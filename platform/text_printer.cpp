#include "platform/text_printer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <utility>

#include "platform/print_backend.h"

namespace platform {

namespace {
const std::string kDevicePrefix = "LPT:";
const std::string kDeviceSuffix = ",EMU=TTY";
}  // namespace

std::string TextPrinterDevice(const std::string& printerName) { return kDevicePrefix + printerName + kDeviceSuffix; }

std::string TextPrinterNameOf(const std::string& s) {
  if (s.size() >= kDevicePrefix.size() + kDeviceSuffix.size() && s.compare(0, kDevicePrefix.size(), kDevicePrefix) == 0 &&
      s.compare(s.size() - kDeviceSuffix.size(), kDeviceSuffix.size(), kDeviceSuffix) == 0)
    return s.substr(kDevicePrefix.size(), s.size() - kDevicePrefix.size() - kDeviceSuffix.size());
  return s;
}

bool IsCupsQueueName(const std::string& name) {
  if (name.empty() || name.size() > 127 || name[0] == '-') return false;
  for (unsigned char c : name) {
    if (c <= 0x20 || c >= 0x7F || c == '/' || c == '\\' || c == '#' || c == '\'' || c == '"') return false;
  }
  return true;
}

// ----- TextPrinter ---------------------------------------------------------------------------------------------------

TextPrinter::~TextPrinter() { Close(); }

bool TextPrinter::Open(const std::string& printerOrDevice) {
  Close();
  keptIn_.clear();
  std::string name = TextPrinterNameOf(printerOrDevice);
  if (name.empty()) return false;
  job_ = ActiveTextPrinterBackend().Open(name);
  return job_ != nullptr;
}

bool TextPrinter::Write(const std::string& text) { return job_ && job_->Write(text); }

bool TextPrinter::WriteLine(const std::string& line) { return Write(line + "\r\n"); }

bool TextPrinter::Close() {
  if (!job_) return false;
  std::unique_ptr<TextPrintJob> job = std::move(job_);
  const bool ok = job->Close();
  keptIn_ = job->KeptIn();
  return ok;
}

// ----- the system's back end -----------------------------------------------------------------------------------------

namespace {

CommandResult RunWithQProcess(const std::string& program, const std::vector<std::string>& args,
                              const std::string& input) {
  QString exe = QStandardPaths::findExecutable(QString::fromStdString(program));
  if (exe.isEmpty()) return {};
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcess p;
  p.setStandardOutputFile(QProcess::nullDevice());
  p.setStandardErrorFile(QProcess::nullDevice());
  p.start(exe, list, QIODevice::WriteOnly);
  if (!p.waitForStarted(10000)) return {};
  if (!input.empty()) p.write(input.data(), static_cast<qint64>(input.size()));
  p.closeWriteChannel();
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished(5000);
    return {true, -1};
  }
  if (p.exitStatus() != QProcess::NormalExit) return {true, -1};
  return {true, p.exitCode()};
}

CommandRunner& Runner() {
  static CommandRunner runner;
  return runner;
}

CommandResult Run(const std::string& program, const std::vector<std::string>& args, const std::string& input) {
  if (Runner()) return Runner()(program, args, input);
  return RunWithQProcess(program, args, input);
}

// A job written to a text file under "cetak/".
class FileJob final : public TextPrintJob {
 public:
  static std::unique_ptr<FileJob> Create(const std::string& printerName) {
    std::string path = OutputFileName(printerName, ".txt");
    if (path.empty()) return nullptr;
    auto job = std::unique_ptr<FileJob>(new FileJob(path));
    if (!job->file_.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return nullptr;
    return job;
  }
  bool Write(const std::string& bytes) override {
    if (!file_.isOpen()) return false;
    const bool ok =
        file_.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
    whole_ = whole_ && ok;
    return ok;
  }
  bool Close() override {
    if (!file_.isOpen()) return false;
    bool ok = file_.flush();
    file_.close();
    ok = ok && file_.error() == QFileDevice::NoError;
    kept_ = ok && whole_;
    return ok;
  }
  // The file, once it holds the whole text.
  std::string KeptIn() const override { return kept_ ? file_.fileName().toStdString() : std::string(); }

 private:
  explicit FileJob(const std::string& path) : file_(QString::fromStdString(path)) {}
  QFile file_;
  bool whole_ = true;   // every write went in
  bool kept_ = false;
};

// A job kept in memory and handed to the CUPS queue as raw text when it is closed. When `lp` refuses it, the text is
// kept in a file under "cetak/" so that nothing is lost, and Close reports the failure.
class CupsJob final : public TextPrintJob {
 public:
  explicit CupsJob(std::string queue) : queue_(std::move(queue)) {}
  bool Write(const std::string& bytes) override {
    if (closed_) return false;
    data_ += bytes;
    return true;
  }
  bool Close() override {
    if (closed_) return false;
    closed_ = true;
    CommandResult r = Run("lp", {"-d", queue_, "-o", "raw"}, data_);
    if (r.started && r.exitCode == 0) return true;
    if (auto keep = FileJob::Create(queue_)) {
      keep->Write(data_);
      keep->Close();
      keptIn_ = keep->KeptIn();
    }
    return false;
  }
  std::string KeptIn() const override { return keptIn_; }

 private:
  std::string queue_;
  std::string data_;
  std::string keptIn_;
  bool closed_ = false;
};

class SystemTextPrinterBackend final : public TextPrinterBackend {
 public:
  std::unique_ptr<TextPrintJob> Open(const std::string& printerName) override {
    if (printerName.empty()) return nullptr;
    // Printing to a file: the text goes to a file of its own under "cetak/" (named "cetak_" + the time).
    if (printerName == kPdfPrinterName) return FileJob::Create(std::string());
    if (IsCupsQueueName(printerName)) {
      CommandResult r = Run("lpstat", {"-p", printerName}, std::string());
      if (r.started && r.exitCode == 0) return std::make_unique<CupsJob>(printerName);
    }
    return FileJob::Create(printerName);
  }
};

std::shared_ptr<TextPrinterBackend>& Installed() {
  static std::shared_ptr<TextPrinterBackend> backend;
  return backend;
}

}  // namespace

std::unique_ptr<TextPrinterBackend> MakeSystemTextPrinterBackend() {
  return std::make_unique<SystemTextPrinterBackend>();
}

TextPrinterBackend& ActiveTextPrinterBackend() {
  std::shared_ptr<TextPrinterBackend>& b = Installed();
  if (!b) b = MakeSystemTextPrinterBackend();
  return *b;
}

void SetTextPrinterBackendForTests(std::shared_ptr<TextPrinterBackend> backend) { Installed() = std::move(backend); }

void SetTextPrinterCommandRunnerForTests(CommandRunner runner) { Runner() = std::move(runner); }

// ----- recording -----------------------------------------------------------------------------------------------------

std::vector<std::string> RecordedTextJob::Lines() const {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(data.substr(start));
      break;
    }
    lines.push_back(data.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

namespace {

class RecordingJob final : public TextPrintJob {
 public:
  RecordingJob(std::shared_ptr<RecordingTextPrinterBackend::Store> store, std::size_t index)
      : store_(std::move(store)), index_(index) {}
  bool Write(const std::string& bytes) override {
    RecordedTextJob* j = Job();
    if (!j || j->closed) return false;
    j->data += bytes;
    return true;
  }
  bool Close() override {
    RecordedTextJob* j = Job();
    if (!j || j->closed) return false;
    j->closed = true;
    return true;
  }

 private:
  // nullptr once the test cleared the records.
  RecordedTextJob* Job() { return index_ < store_->jobs.size() ? &store_->jobs[index_] : nullptr; }

  std::shared_ptr<RecordingTextPrinterBackend::Store> store_;
  std::size_t index_;
};

}  // namespace

RecordingTextPrinterBackend::RecordingTextPrinterBackend() : store_(std::make_shared<Store>()) {}

std::unique_ptr<TextPrintJob> RecordingTextPrinterBackend::Open(const std::string& printerName) {
  const auto& refused = store_->refused;
  if (std::find(refused.begin(), refused.end(), printerName) != refused.end()) return nullptr;
  RecordedTextJob j;
  j.printer = printerName;
  store_->jobs.push_back(std::move(j));
  return std::make_unique<RecordingJob>(store_, store_->jobs.size() - 1);
}

std::shared_ptr<RecordingTextPrinterBackend> InstallRecordingTextPrinterBackend() {
  auto b = std::make_shared<RecordingTextPrinterBackend>();
  SetTextPrinterBackendForTests(b);
  return b;
}

}  // namespace platform
