// The real back ends of the seams, over Qt.
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "platform/print_backend.h"
#include "platform/seams.h"

namespace platform {

namespace {
// Message-box styles and answers (the same values as the framework's MB_* and ID* constants).
constexpr int kTypeMask = 0xF, kIconMask = 0xF0, kDefMask = 0xF00, kSystemModal = 0x1000, kTopmost = 0x40000;
constexpr int kOk = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4, kRetryCancel = 5;
constexpr int kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40;
constexpr int IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdIgnore = 5, IdYes = 6, IdNo = 7;

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// The window a box without a named owner speaks for: the window the operator works in (the active one), else the
// innermost modal window still shown.
QWidget* ActiveOwner() {
  if (QWidget* w = QApplication::activeWindow(); w && w->isVisible()) return w;
  if (QWidget* w = QApplication::activeModalWidget(); w && w->isVisible()) return w;
  return nullptr;
}

class RealMessageBoxes : public MessageBoxes {
 public:
  int Show(const std::string& text, const std::string& caption, int style, QWidget* owner) override {
    QWidget* parent = owner ? owner->window() : ActiveOwner();
    // The box belongs to its owner's window: the window manager keeps it in front of that window and centres it
    // there. It lives on the heap, as a child of that window: should the window go while the box is open, the box
    // goes with it and the answer is the box's cancel.
    QPointer<QMessageBox> box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setWindowModality(Qt::ApplicationModal);
    // A modal window opened from the owner disables it; its box takes keys and clicks all the same.
    box->setEnabled(true);
    box->setWindowTitle(Q(caption));
    box->setText(Q(text));
    // In front of an owner that stays on top of other windows, the box stays on top as well.
    const bool ownerOnTop = parent && (parent->windowFlags() & Qt::WindowStaysOnTopHint);
    if (ownerOnTop || (style & (kSystemModal | kTopmost))) box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    switch (style & kIconMask) {
      case kIconError: box->setIcon(QMessageBox::Critical); break;
      case kIconQuestion: box->setIcon(QMessageBox::Question); break;
      case kIconWarning: box->setIcon(QMessageBox::Warning); break;
      case kIconInformation: box->setIcon(QMessageBox::Information); break;
      default: box->setIcon(QMessageBox::NoIcon); break;
    }
    struct B { QMessageBox::StandardButton button; int id; };
    std::vector<B> buttons;
    int escapeId = 0;
    switch (style & kTypeMask) {
      case kOkCancel: buttons = {{QMessageBox::Ok, IdOk}, {QMessageBox::Cancel, IdCancel}}; escapeId = IdCancel; break;
      case kAbortRetryIgnore:
        buttons = {{QMessageBox::Abort, IdAbort}, {QMessageBox::Retry, IdRetry}, {QMessageBox::Ignore, IdIgnore}};
        break;
      case kYesNoCancel:
        buttons = {{QMessageBox::Yes, IdYes}, {QMessageBox::No, IdNo}, {QMessageBox::Cancel, IdCancel}};
        escapeId = IdCancel;
        break;
      case kYesNo: buttons = {{QMessageBox::Yes, IdYes}, {QMessageBox::No, IdNo}}; break;
      case kRetryCancel: buttons = {{QMessageBox::Retry, IdRetry}, {QMessageBox::Cancel, IdCancel}}; escapeId = IdCancel; break;
      case kOk:
      default: buttons = {{QMessageBox::Ok, IdOk}}; escapeId = IdOk; break;
    }
    std::vector<std::pair<QAbstractButton*, int>> ids;
    for (const auto& b : buttons) {
      QAbstractButton* w = box->addButton(b.button);
      ids.emplace_back(w, b.id);
      if (b.id == escapeId) box->setEscapeButton(w);
    }
    std::size_t def = std::size_t((style & kDefMask) >> 8);
    if (def < ids.size()) box->setDefaultButton(static_cast<QPushButton*>(ids[def].first));
    box->exec();
    const int cancelled = escapeId ? escapeId : IdCancel;
    if (!box) return cancelled;
    QAbstractButton* clicked = box->clickedButton();
    int answer = cancelled;
    for (const auto& [w, id] : ids)
      if (w == clicked) answer = id;
    delete box.data();
    return answer;
  }
};

class RealFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> Ask(const FileDialogRequest& r) override {
    QFileDialog dlg(r.owner, Q(r.title), Q(r.folder));
    dlg.setAcceptMode(r.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.kind == FileDialogRequest::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters = QtNameFilters(r.filter);
    if (!filters.isEmpty()) dlg.setNameFilters(filters);
    if (!r.defaultExt.empty()) dlg.setDefaultSuffix(Q(r.defaultExt));
    if (!r.fileName.empty()) dlg.selectFile(Q(r.fileName));
    if (r.centre) CentreOnScreen(&dlg);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    QStringList files = dlg.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first().toStdString();
  }
};

class RealPickers : public PickerDialogs {
 public:
  std::optional<std::uint32_t> ChooseColor() override {
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QColor(0, 0, 0));
    QColor c = QColorDialog::getColor(QColor(0, 0, 0));
    if (!c.isValid()) return std::nullopt;
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
  }
  std::optional<FontChoice> ChooseFont(const FontChoice& initial, int minPoints, int maxPoints) override {
    bool ok = false;
    QFont start(Q(initial.face));
    if (initial.points > 0) start.setPointSizeF(initial.points);
    QFont f = QFontDialog::getFont(&ok, start);
    if (!ok) return std::nullopt;
    // Qt's dialog offers every size; the chosen one is kept within the sizes asked for.
    double points = f.pointSizeF();
    if (minPoints > 0 && points < minPoints) points = minPoints;
    if (maxPoints > 0 && maxPoints >= minPoints && points > maxPoints) points = maxPoints;
    return FontChoice{f.family().toStdString(), points};
  }
  bool PageSetup() override {
    QPrinter printer;
    QPageSetupDialog dlg(&printer, QApplication::activeWindow());
    return dlg.exec() == QDialog::Accepted;
  }
  std::optional<std::string> SelectPrinter() override {
    QPrinter printer;
    QPrintDialog dlg(&printer, QApplication::activeWindow());
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    // "Print to File (PDF)" (without a print queue the only choice the dialog offers) names no printer: what is
    // printed then goes to a file under "cetak/", the pseudo-printer's place.
    if (printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty())
      return std::string(kPdfPrinterName);
    return printer.printerName().toStdString();
  }
};

class RealDesktop : public DesktopOpener {
 public:
  bool Open(const std::string& pathOrUrl) override {
    QString text = Q(pathOrUrl).trimmed();
    if (text.isEmpty()) return false;
    QUrl url(text, QUrl::StrictMode);
    // A scheme of two letters or more names a page ("http:", "mailto:", "file:"); anything else is a path.
    if (!(url.isValid() && url.scheme().size() >= 2)) {
      text.replace(QLatin1Char('\\'), QLatin1Char('/'));
      url = QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    }
    return QDesktopServices::openUrl(url);
  }
};

class RealClock : public Clock {
 public:
  QDateTime Now() override { return QDateTime::currentDateTime(); }
};

class RealProgramFolder : public ProgramFolder {
 public:
  std::string Path() override {
    std::string path;
    if (QCoreApplication::instance()) {
      path = QCoreApplication::applicationDirPath().toStdString();
    } else {
      std::error_code ec;
      auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
      path = ec ? std::filesystem::current_path().string() : exe.parent_path().string();
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
};

class RealClipboard : public Clipboard {
 public:
  std::optional<std::string> GetText() override {
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return std::nullopt;
    const QMimeData* data = cb->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
  }
  bool SetText(const std::string& text) override {
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return false;
    cb->setText(Q(text));
    return true;
  }
};

class RealProcessExit : public ProcessExit {
 public:
  [[noreturn]] void Exit(int code) override {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(code);
  }
};

class RealModalHook : public ModalHook {
 public:
  void Started(QWidget*) override {}
};
}  // namespace

namespace {
int CentredOrigin(int left, int span, int size) {
  long long twice = 2LL * left + span - size;   // left + right - size, right = left + span
  long long half = twice >= 0 ? twice / 2 : -((-twice + 1) / 2);   // floor of twice / 2
  if (twice % 2 != 0 && half % 2 != 0) ++half;                      // x.5 goes to the even neighbour
  return int(half);
}
}  // namespace

QPoint CentredPosition(const QRect& desktop, const QSize& size) {
  return QPoint(CentredOrigin(desktop.left(), desktop.width(), size.width()),
                CentredOrigin(desktop.top(), desktop.height(), size.height()));
}

void CentreOnScreen(QWidget* w) {
  if (!w) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  w->adjustSize();
  w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  w->move(CentredPosition(screen->geometry(), w->frameSize()));
}

QStringList QtNameFilters(const std::string& filter) {
  QStringList parts = Q(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString label = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    if (label.isEmpty() && patterns.isEmpty()) continue;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    if (label.endsWith(QLatin1Char(')')) && label.contains(QLatin1Char('('))) {
      QString inside = label.mid(label.lastIndexOf(QLatin1Char('(')) + 1);
      inside.chop(1);
      inside.replace(QLatin1Char(';'), QLatin1Char(' '));
      if (inside.simplified() == patterns) {
        out << label;
        continue;
      }
    }
    out << (label.isEmpty() ? patterns : label + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return out;
}

std::unique_ptr<MessageBoxes> MakeRealMessageBoxes() { return std::make_unique<RealMessageBoxes>(); }
std::unique_ptr<FileDialogs> MakeRealFileDialogs() { return std::make_unique<RealFileDialogs>(); }
std::unique_ptr<PickerDialogs> MakeRealPickers() { return std::make_unique<RealPickers>(); }
std::unique_ptr<DesktopOpener> MakeRealDesktop() { return std::make_unique<RealDesktop>(); }
std::unique_ptr<Clock> MakeRealClock() { return std::make_unique<RealClock>(); }
std::unique_ptr<ProgramFolder> MakeRealProgramFolder() { return std::make_unique<RealProgramFolder>(); }
std::unique_ptr<Clipboard> MakeRealClipboard() { return std::make_unique<RealClipboard>(); }
std::unique_ptr<ProcessExit> MakeRealProcessExit() { return std::make_unique<RealProcessExit>(); }
std::unique_ptr<ModalHook> MakeRealModalHook() { return std::make_unique<RealModalHook>(); }

}  // namespace platform
