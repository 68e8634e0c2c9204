#include "platform/print_recording.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace platform {

namespace {

std::string Coord(int v) { return v == kNoPageUnit ? std::string("-") : std::to_string(v); }

std::string Hex(std::uint32_t colorRef) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
  return buf;
}

class RecordingDevice final : public PrintDevice {
 public:
  RecordingDevice(std::shared_ptr<RecordingPrintBackend::Store> store, std::string name)
      : store_(std::move(store)), name_(std::move(name)) {}
  ~RecordingDevice() override { AbortIfOpen(); }

  std::string Name() const override { return name_; }
  int PageWidth() const override { return store_->settings.pageWidth; }
  int PageHeight() const override { return store_->settings.pageHeight; }
  int DpiX() const override { return store_->settings.dpiX; }
  int DpiY() const override { return store_->settings.dpiY; }

 protected:
  bool DoStartDoc(const std::string& docName) override {
    RecordedDocument d;
    d.printer = name_;
    d.name = docName;
    store_->documents.push_back(std::move(d));
    doc_ = store_->documents.size() - 1;
    return true;
  }
  bool DoStartPage() override {
    if (RecordedDocument* d = Doc()) d->pages.emplace_back();
    return true;
  }
  bool DoEndPage() override { return true; }
  bool DoEndDoc() override {
    if (RecordedDocument* d = Doc()) d->ended = true;
    return true;
  }
  void DoAbortDoc() override {
    if (RecordedDocument* d = Doc()) d->aborted = true;
  }

  void DoDrawText(const TextDraw& t) override {
    RecordedCall c;
    c.kind = RecordedCall::Kind::Text;
    c.page = t.page;
    c.rect = t.rect;
    c.text = t.text;
    c.face = t.face;
    c.points = t.points;
    c.pixelHeight = t.pixelHeight;
    c.color = t.color;
    c.backColor = t.backColor;
    c.backMode = t.backMode;
    c.format = t.format;
    Keep(std::move(c));
  }
  void DoDrawImage(const ImageDraw& i) override {
    RecordedCall c;
    c.kind = RecordedCall::Kind::Image;
    c.page = i.page;
    c.rect = DeviceRect{i.x, i.y, i.x + i.image.width(), i.y + i.image.height()};
    c.image = i.image;
    Keep(std::move(c));
  }
  void DoDrawRectangle(const RectangleDraw& r) override {
    RecordedCall c;
    c.kind = RecordedCall::Kind::Rectangle;
    c.page = r.page;
    c.rect = r.rect;
    c.color = r.penColor;
    c.penWidth = r.penWidth;
    Keep(std::move(c));
  }

 private:
  // nullptr once the test cleared the records.
  RecordedDocument* Doc() { return doc_ < store_->documents.size() ? &store_->documents[doc_] : nullptr; }
  void Keep(RecordedCall c) {
    RecordedDocument* d = Doc();
    if (d && !d->pages.empty()) d->pages.back().calls.push_back(std::move(c));
  }

  std::shared_ptr<RecordingPrintBackend::Store> store_;
  std::string name_;
  std::size_t doc_ = 0;
};

}  // namespace

std::string RecordedCall::Describe() const {
  switch (kind) {
    case Kind::Text:
      return "text (" + Coord(page.x) + "," + Coord(page.y) + ") [" + std::to_string(rect.left) + "," +
             std::to_string(rect.top) + "] \"" + face + "\" " + std::to_string(points) + "pt " + Hex(color) + " \"" +
             text + "\"";
    case Kind::Image:
      return "image (" + Coord(page.x) + "," + Coord(page.y) + ")-(" + Coord(page.x2) + "," + Coord(page.y2) + ") [" +
             std::to_string(rect.left) + "," + std::to_string(rect.top) + "]-[" + std::to_string(rect.right) + "," +
             std::to_string(rect.bottom) + "] " + std::to_string(image.width()) + "x" +
             std::to_string(image.height());
    case Kind::Rectangle:
      return "rectangle (" + Coord(page.x) + "," + Coord(page.y) + ")-(" + Coord(page.x2) + "," + Coord(page.y2) +
             ") [" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "]-[" + std::to_string(rect.right) +
             "," + std::to_string(rect.bottom) + "] pen " + std::to_string(penWidth) + " " + Hex(color);
  }
  return {};
}

std::vector<std::string> RecordedPage::Lines() const {
  std::vector<std::string> out;
  for (const RecordedCall& c : calls) out.push_back(c.Describe());
  return out;
}

std::vector<std::string> RecordedPage::Texts() const {
  std::vector<std::string> out;
  for (const RecordedCall& c : calls)
    if (c.kind == RecordedCall::Kind::Text) out.push_back(c.text);
  return out;
}

RecordingPrintBackend::RecordingPrintBackend() : RecordingPrintBackend(Settings{}) {}
RecordingPrintBackend::RecordingPrintBackend(Settings settings) : store_(std::make_shared<Store>()) {
  store_->settings = std::move(settings);
}

void RecordingPrintBackend::Clear() {
  store_->documents.clear();
  store_->opened.clear();
}

std::string RecordingPrintBackend::DefaultPrinterName() { return store_->settings.defaultPrinter; }
std::vector<std::string> RecordingPrintBackend::PrinterNames() { return store_->settings.printers; }

std::unique_ptr<PrintDevice> RecordingPrintBackend::Open(const std::string& printerName) {
  const auto& names = store_->settings.printers;
  if (printerName.empty()) return nullptr;
  if (!names.empty() && std::find(names.begin(), names.end(), printerName) == names.end()) return nullptr;
  store_->opened.push_back(printerName);
  return std::make_unique<RecordingDevice>(store_, printerName);
}

std::shared_ptr<RecordingPrintBackend> InstallRecordingPrintBackend() {
  return InstallRecordingPrintBackend(RecordingPrintBackend::Settings{});
}
std::shared_ptr<RecordingPrintBackend> InstallRecordingPrintBackend(RecordingPrintBackend::Settings settings) {
  auto b = std::make_shared<RecordingPrintBackend>(std::move(settings));
  SetPrintBackendForTests(b);
  return b;
}

}  // namespace platform
