#include "platform/print_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

#include <utility>

#include "platform/print_paint.h"
#include "platform/seams.h"

namespace platform {

// ----- document and page control ------------------------------------------------------------------------------------

namespace {
int gNextJobId = 1;
constexpr int kSpError = -1;
}  // namespace

int PrintDevice::StartDoc(const std::string& docName) {
  if (inDoc_) return kSpError;
  if (!DoStartDoc(docName)) return kSpError;
  inDoc_ = true;
  pageOpen_ = false;
  return gNextJobId++;
}

int PrintDevice::StartPage() {
  if (!inDoc_ || pageOpen_) return kSpError;
  if (!DoStartPage()) return kSpError;
  pageOpen_ = true;
  return 1;
}

int PrintDevice::EndPage() {
  if (!inDoc_ || !pageOpen_) return kSpError;
  pageOpen_ = false;
  return DoEndPage() ? 1 : kSpError;
}

int PrintDevice::EndDoc() {
  if (!inDoc_) return kSpError;
  bool ok = true;
  if (pageOpen_) {
    pageOpen_ = false;
    ok = DoEndPage();
  }
  inDoc_ = false;
  ok = DoEndDoc() && ok;
  return ok ? 1 : kSpError;
}

int PrintDevice::AbortDoc() {
  if (!inDoc_) return kSpError;
  inDoc_ = false;
  pageOpen_ = false;
  DoAbortDoc();
  return 1;
}

void PrintDevice::AbortIfOpen() {
  if (inDoc_) AbortDoc();
}

void PrintDevice::DrawText(const TextDraw& t) {
  if (pageOpen_) DoDrawText(t);
}
void PrintDevice::DrawImage(const ImageDraw& i) {
  if (pageOpen_) DoDrawImage(i);
}
void PrintDevice::DrawRectangle(const RectangleDraw& r) {
  if (pageOpen_) DoDrawRectangle(r);
}

// ----- output files ---------------------------------------------------------------------------------------------------

std::string OutputFolder() {
  QDir cwd = QDir::current();
  if (!cwd.mkpath(QStringLiteral("cetak"))) return {};
  QString path = cwd.absoluteFilePath(QStringLiteral("cetak"));
  if (!QFileInfo(path).isDir()) return {};
  return path.toStdString();
}

std::string OutputFileName(const std::string& baseName, const std::string& extension) {
  std::string folder = OutputFolder();
  if (folder.empty()) return {};
  QString base = QString::fromUtf8(baseName.data(), static_cast<qsizetype>(baseName.size())).trimmed();
  for (QChar& c : base) {
    if (c.unicode() < 0x20 || c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
        c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('"') || c == QLatin1Char('<') ||
        c == QLatin1Char('>') || c == QLatin1Char('|'))
      c = QLatin1Char('_');
  }
  if (base.size() > 80) base.truncate(80);
  if (base.isEmpty() || base.startsWith(QLatin1Char('.'))) base.prepend(QStringLiteral("cetak"));
  QString stem = QString::fromStdString(folder) + QLatin1Char('/') + base + QLatin1Char('_') +
                 Now().toString(QStringLiteral("yyyyMMdd_HHmmss"));
  QString ext = QString::fromStdString(extension);
  QString name = stem + ext;
  for (int n = 2; QFileInfo::exists(name); ++n) name = stem + QLatin1Char('_') + QString::number(n) + ext;
  return name.toStdString();
}

// ----- devices over Qt --------------------------------------------------------------------------------------------------

namespace {

// A device that paints with a QPainter on some paint device.
class PainterDevice : public PrintDevice {
 protected:
  void DoDrawText(const TextDraw& t) override {
    if (painter_.isActive()) PaintText(painter_, t);
  }
  void DoDrawImage(const ImageDraw& i) override {
    if (painter_.isActive()) PaintImage(painter_, i);
  }
  void DoDrawRectangle(const RectangleDraw& r) override {
    if (painter_.isActive()) PaintRectangle(painter_, r);
  }
  QPainter painter_;
};

class QtPrinterDevice final : public PainterDevice {
 public:
  explicit QtPrinterDevice(const std::string& name) : name_(name), printer_(QPrinter::HighResolution) {
    printer_.setPrinterName(QString::fromStdString(name));
    printer_.setFullPage(false);
  }
  ~QtPrinterDevice() override { AbortIfOpen(); }

  bool Valid() const { return printer_.isValid(); }
  std::string Name() const override { return name_; }
  int PageWidth() const override { return printer_.width(); }
  int PageHeight() const override { return printer_.height(); }
  int DpiX() const override { return printer_.logicalDpiX(); }
  int DpiY() const override { return printer_.logicalDpiY(); }

 protected:
  bool DoStartDoc(const std::string& docName) override {
    printer_.setDocName(QString::fromStdString(docName));
    firstPage_ = true;
    return true;
  }
  bool DoStartPage() override {
    if (firstPage_) {
      firstPage_ = false;
      return painter_.begin(&printer_);
    }
    return painter_.isActive() && printer_.newPage();
  }
  bool DoEndPage() override { return true; }
  bool DoEndDoc() override { return painter_.isActive() ? painter_.end() : true; }
  void DoAbortDoc() override {
    if (painter_.isActive()) {
      printer_.abort();
      painter_.end();
    }
  }

 private:
  std::string name_;
  QPrinter printer_;
  bool firstPage_ = true;
};

class PdfDevice final : public PainterDevice {
 public:
  PdfDevice()
      : layout_(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(6.35, 6.35, 6.35, 6.35),
                QPageLayout::Millimeter) {
    paintRect_ = layout_.paintRectPixels(kDpi);
  }
  ~PdfDevice() override { AbortIfOpen(); }

  std::string Name() const override { return kPdfPrinterName; }
  int PageWidth() const override { return paintRect_.width(); }
  int PageHeight() const override { return paintRect_.height(); }
  int DpiX() const override { return kDpi; }
  int DpiY() const override { return kDpi; }
  std::string KeptIn() const override { return keptIn_; }

 protected:
  bool DoStartDoc(const std::string& docName) override {
    keptIn_.clear();
    std::string file = OutputFileName(docName, ".pdf");
    if (file.empty()) return false;
    QFile reserve(QString::fromStdString(file));   // holds the name for this document
    if (!reserve.open(QIODevice::WriteOnly)) return false;
    reserve.close();
    file_ = QString::fromStdString(file);
    writer_ = std::make_unique<QPdfWriter>(file_);
    writer_->setResolution(kDpi);
    writer_->setPageLayout(layout_);
    writer_->setTitle(QString::fromStdString(docName));
    writer_->setCreator(QStringLiteral("Finance"));
    pages_ = 0;
    return true;
  }
  bool DoStartPage() override {
    if (pages_++ == 0) return painter_.begin(writer_.get());
    return painter_.isActive() && writer_->newPage();
  }
  bool DoEndPage() override { return true; }
  bool DoEndDoc() override {
    bool ok = painter_.isActive() ? painter_.end() : true;
    writer_.reset();
    if (pages_ == 0) QFile::remove(file_);   // a document without pages leaves no file
    else if (ok) keptIn_ = file_.toStdString();
    return ok;
  }
  void DoAbortDoc() override {
    if (painter_.isActive()) painter_.end();
    writer_.reset();
    QFile::remove(file_);
  }

 private:
  static constexpr int kDpi = 300;
  QPageLayout layout_;
  QRect paintRect_;
  std::unique_ptr<QPdfWriter> writer_;
  QString file_;
  std::string keptIn_;   // the file of the last document ended whole
  int pages_ = 0;
};

class SystemPrintBackend final : public PrintBackend {
 public:
  std::string DefaultPrinterName() override {
    std::string name = QPrinterInfo::defaultPrinterName().toStdString();
    return name.empty() ? kPdfPrinterName : name;
  }
  std::vector<std::string> PrinterNames() override {
    std::vector<std::string> names;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
    names.push_back(kPdfPrinterName);
    return names;
  }
  std::unique_ptr<PrintDevice> Open(const std::string& printerName) override {
    if (printerName == kPdfPrinterName) return OpenPdfDevice();
    if (printerName.empty()) return nullptr;
    if (QPrinterInfo::printerInfo(QString::fromStdString(printerName)).isNull()) return nullptr;
    auto device = std::make_unique<QtPrinterDevice>(printerName);
    if (!device->Valid()) return nullptr;
    return device;
  }
};

class PdfPrintBackend final : public PrintBackend {
 public:
  std::string DefaultPrinterName() override { return kPdfPrinterName; }
  std::vector<std::string> PrinterNames() override { return {kPdfPrinterName}; }
  std::unique_ptr<PrintDevice> Open(const std::string&) override { return OpenPdfDevice(); }
};

std::shared_ptr<PrintBackend>& Installed() {
  static std::shared_ptr<PrintBackend> backend;
  return backend;
}

}  // namespace

std::unique_ptr<PrintDevice> OpenPdfDevice() { return std::make_unique<PdfDevice>(); }

std::unique_ptr<PrintBackend> MakeSystemPrintBackend() { return std::make_unique<SystemPrintBackend>(); }
std::unique_ptr<PrintBackend> MakePdfPrintBackend() { return std::make_unique<PdfPrintBackend>(); }

PrintBackend& ActivePrintBackend() {
  std::shared_ptr<PrintBackend>& b = Installed();
  if (!b) b = MakeSystemPrintBackend();
  return *b;
}

void SetPrintBackendForTests(std::shared_ptr<PrintBackend> backend) { Installed() = std::move(backend); }

std::string DefaultPrinterName() { return ActivePrintBackend().DefaultPrinterName(); }
std::vector<std::string> PrinterNames() { return ActivePrintBackend().PrinterNames(); }
std::unique_ptr<PrintDevice> OpenPrintDevice(const std::string& printerName) {
  return ActivePrintBackend().Open(printerName);
}

}  // namespace platform
