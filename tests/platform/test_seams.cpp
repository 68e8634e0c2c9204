// The seams' scripted back ends, the fixture every test derives from, and the wrappers over the seams.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cmath>
#include <filesystem>
#include <limits>

#include "framework/numbers.h"
#include "framework/system_wrappers.h"
#include "platform/scripted_seams.h"
#include "support/seams_fixture.h"

namespace {

class SeamsFixtureTest : public fintest::SeamsTest {};

TEST_F(SeamsFixtureTest, MessageBoxesAreRecordedAndAnsweredInOrder) {
  ExpectMsgBox("Yakin hapus data ini?", "Confirm Delete", IDYES, MB_YESNO | MB_ICONQUESTION);
  AnswerMsgBox(IDNO);
  EXPECT_EQ(MsgBox("Yakin hapus data ini?", "Confirm Delete", MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(MsgBox("Simpan?", "Info", MB_YESNO), IDNO);
  ASSERT_EQ(msgBoxes().size(), 2u);
  EXPECT_EQ(msgBoxes()[0].text, "Yakin hapus data ini?");
  EXPECT_EQ(msgBoxes()[0].caption, "Confirm Delete");
  EXPECT_EQ(msgBoxes()[0].style, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(msgBoxes()[1].text, "Simpan?");
  EXPECT_EQ(msgBoxes()[1].answer, IDNO);
  EXPECT_TRUE(scripted().errors().empty());
}

TEST_F(SeamsFixtureTest, UnscriptedQuestionsAreReportedAndCancelled) {
  struct Case { int style; int answer; };
  const Case cases[] = {{MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNO, IDNO}, {MB_YESNOCANCEL, IDCANCEL},
                        {MB_ABORTRETRYIGNORE, IDABORT}, {MB_RETRYCANCEL, IDCANCEL}};
  for (const auto& c : cases) EXPECT_EQ(MsgBox("x", "y", c.style | MB_ICONERROR), c.answer) << c.style;
  platform::FileDialogRequest r;
  r.title = "Pilih";
  EXPECT_FALSE(platform::seams().fileDialogs().Ask(r));
  EXPECT_FALSE(platform::seams().pickers().ChooseColor());
  EXPECT_FALSE(platform::seams().pickers().PageSetup());
  EXPECT_FALSE(platform::seams().pickers().SelectPrinter());
  EXPECT_FALSE(platform::seams().pickers().ChooseFont({"Arial", 9}, 10, 72));
  EXPECT_EQ(scripted().errors().size(), std::size(cases) + 5);
  EXPECT_EQ(scripted().errors()[0], "unexpected message box \"x\" / \"y\" style 16");
  EXPECT_EQ(scripted().errors()[6], "unexpected open file dialog \"Pilih\" in \"\"");
  scripted().ClearScript();   // reported on purpose: not a failure of this test
}

TEST_F(SeamsFixtureTest, MismatchedAndUnusedAnswersAreReported) {
  ExpectMsgBox("Data tersimpan", "Info", IDOK);
  ExpectMsgBox("never shown", "Info", IDOK);
  AnswerFileDialog("/tmp/a.db3");
  AnswerPrinter("Epson");
  EXPECT_EQ(MsgBox("Data tersimpan..", "Info", MB_OK), IDOK);   // answered all the same
  ASSERT_EQ(scripted().errors().size(), 1u);
  EXPECT_NE(scripted().errors()[0].find("\"Data tersimpan..\""), std::string::npos);
  std::vector<std::string> left = scripted().Unconsumed();
  ASSERT_EQ(left.size(), 3u);
  EXPECT_NE(left[0].find("never shown"), std::string::npos);
  EXPECT_NE(left[1].find("/tmp/a.db3"), std::string::npos);
  EXPECT_NE(left[2].find("Epson"), std::string::npos);
  scripted().ClearScript();
  EXPECT_TRUE(scripted().Unconsumed().empty());
}

TEST_F(SeamsFixtureTest, AllowedMessageBoxesAreNoError) {
  AllowMsgBoxes();
  EXPECT_EQ(MsgBox("a", "b", MB_YESNO), IDYES);
  AllowMsgBoxes(IDCANCEL);
  EXPECT_EQ(MsgBox("a", "b", MB_OKCANCEL), IDCANCEL);
  EXPECT_TRUE(scripted().errors().empty());
  EXPECT_EQ(msgBoxes().size(), 2u);
}

TEST_F(SeamsFixtureTest, PickersAnswerFromTheirQueues) {
  AnswerColor(0x0000FFu);
  AnswerColor(std::nullopt);
  AnswerFont(platform::FontChoice{"Tahoma", 11});
  AnswerPageSetup(true);
  AnswerPrinter("EPSON LX-310");
  auto& p = platform::seams().pickers();
  EXPECT_EQ(p.ChooseColor(), std::optional<std::uint32_t>(0x0000FFu));
  EXPECT_EQ(p.ChooseColor(), std::nullopt);
  auto font = p.ChooseFont({"Times New Roman", 12}, 10, 72);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->face, "Tahoma");
  EXPECT_TRUE(p.PageSetup());
  EXPECT_EQ(p.SelectPrinter(), std::optional<std::string>("EPSON LX-310"));
  ASSERT_EQ(scripted().pickerCalls().size(), 5u);
  EXPECT_EQ(scripted().pickerCalls()[2].kind, platform::PickerCall::Font);
  EXPECT_EQ(scripted().pickerCalls()[2].initialFont.face, "Times New Roman");
  EXPECT_EQ(scripted().pickerCalls()[2].maxPoints, 72);
}

TEST_F(SeamsFixtureTest, FoldersClockAndOpenerAreScripted) {
  EXPECT_EQ(platform::ProgramFolderPath(), programDir());
  EXPECT_NE(programDir(), workDir());
  EXPECT_EQ(std::filesystem::current_path().string(), workDir());
  EXPECT_TRUE(std::filesystem::is_directory(programDir()));
  EXPECT_EQ(platform::Now(), QDateTime(QDate(2024, 9, 2), QTime(10, 15, 30)));
  EXPECT_EQ(platform::Today(), QDate(2024, 9, 2));
  SetClock(2025, 1, 31, 23, 59, 59);
  AdvanceClock(1);
  EXPECT_EQ(platform::Now(), QDateTime(QDate(2025, 2, 1), QTime(0, 0, 0)));
  EXPECT_TRUE(platform::OpenWithDesktop(ProgramFile("Lap.html")));
  EXPECT_TRUE(platform::OpenWithDesktop("https://example.org/"));
  EXPECT_EQ(opened(), (std::vector<std::string>{ProgramFile("Lap.html"), "https://example.org/"}));
}

TEST_F(SeamsFixtureTest, ModalFormsAreDrivenFromInsideTheirLoop) {
  QWidget form;
  form.setWindowTitle("Login");
  QEventLoop loop;
  bool ranInLoop = false;
  OnModal([&](QWidget* w) {
    ranInLoop = loop.isRunning();
    EXPECT_EQ(w, &form);
    loop.quit();
  });
  platform::ModalLoopStarted(&form);
  EXPECT_FALSE(ranInLoop);   // not before the loop runs
  loop.exec();
  EXPECT_TRUE(ranInLoop);
  EXPECT_EQ(scripted().modalCount(), 1);
}

TEST_F(SeamsFixtureTest, AnUnscriptedModalFormIsReportedAndClosed) {
  auto* form = new QWidget;
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->setWindowTitle("Pembayaran");
  form->show();
  QPointer<QWidget> guard(form);
  platform::ModalLoopStarted(form);
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
  ASSERT_EQ(scripted().errors().size(), 1u);
  EXPECT_EQ(scripted().errors()[0], "unexpected modal form \"Pembayaran\"");
  scripted().ClearScript();
}

TEST_F(SeamsFixtureTest, AppExitEndsTheProcessWithItsCode) {
  EXPECT_EXIT(AppExit(3), ::testing::ExitedWithCode(3), "");
  ThrowOnExit();
  try {
    AppExit(1);
    ADD_FAILURE() << "AppExit returned";
  } catch (const platform::ExitCalled& e) {
    EXPECT_EQ(e.code, 1);
  }
  EXPECT_EQ(exits(), std::vector<int>{1});
}

TEST(SeamsRegistry, ScriptedSeamsPutTheRealBackEndsBack) {
  platform::MessageBoxes* real = &platform::seams().messageBoxes();
  {
    platform::ScriptedSeams scripted;
    EXPECT_NE(&platform::seams().messageBoxes(), real);
  }
  // The real clock runs again.
  QDateTime before = QDateTime::currentDateTime().addSecs(-1);
  EXPECT_GE(platform::Now(), before);
  EXPECT_EQ(platform::ProgramFolderPath(), QCoreApplication::applicationDirPath().toStdString());
}

TEST(SeamsRegistry, QtNameFiltersFromBarSeparatedFilters) {
  EXPECT_EQ(platform::QtNameFilters("Database files (*.db3)|*.db3|All Files (*.*)|*.*"),
            (QStringList{"Database files (*.db3)", "All Files (*.*)"}));
  EXPECT_EQ(platform::QtNameFilters("Gambar|*.bmp;*.jpg"), QStringList{"Gambar (*.bmp *.jpg)"});
  EXPECT_EQ(platform::QtNameFilters(""), QStringList{});
}

// ----- clipboard -----

class ClipboardTest : public fintest::SeamsTest {};

TEST_F(ClipboardTest, LineFeedsAloneReadAsCarriageReturnLineFeed) {
  struct Case { std::optional<std::string> held; std::string read; };
  const Case cases[] = {
      {"a\tb\nc\td\n", "a\tb\r\nc\td\r\n"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      // A text that holds a carriage return is given as it is: its line feeds alone belong to cells.
      {"a\nb\r\nc", "a\nb\r\nc"},
      {"\"Jl. Mawar\nRT 2\"\tBudi\r\n", "\"Jl. Mawar\nRT 2\"\tBudi\r\n"},
      {"\n\n", "\r\n\r\n"},
      {"satu baris", "satu baris"},
      {"", ""},
      {std::nullopt, ""},
  };
  for (const auto& c : cases) {
    SetClipboard(c.held);
    EXPECT_EQ(ClipGetText(), c.read) << (c.held ? *c.held : "(none)");
  }
}

TEST_F(ClipboardTest, SetTextPutsTheTextAndTheEmptyTextDoesNothing) {
  SetClipboard("lama");
  EXPECT_EQ(ClipSetText(""), 0);
  EXPECT_EQ(clipboard(), std::optional<std::string>("lama"));
  EXPECT_EQ(ClipSetText("Pembayaran Rp 150.000"), 1);
  EXPECT_EQ(clipboard(), std::optional<std::string>("Pembayaran Rp 150.000"));
  EXPECT_EQ(scripted().clipboardWrites(), std::vector<std::string>{"Pembayaran Rp 150.000"});
  scripted().SetClipboardFails(true);
  EXPECT_EQ(ClipSetText("x"), 0);
  EXPECT_EQ(ClipGetText(), "");
}

// ----- date and time texts -----

class DateTimeTextTest : public fintest::SeamsTest {};

TEST_F(DateTimeTextTest, PicturesInIndonesianAndEnglish) {
  SetClock(2024, 8, 17, 22, 5, 9);   // a Saturday
  struct Case { QLocale::Language language; QLocale::Country country; const char* picture; const char* date; };
  const Case dates[] = {
      {QLocale::Indonesian, QLocale::Indonesia, "MMM dd, yyyy", "Agu 17, 2024"},
      {QLocale::Indonesian, QLocale::Indonesia, "dd MMMM yyyy", "17 Agustus 2024"},
      {QLocale::Indonesian, QLocale::Indonesia, "yyyy-MM-dd", "2024-08-17"},
      {QLocale::Indonesian, QLocale::Indonesia, "dddd, d/M/yy", "Sabtu, 17/8/24"},
      {QLocale::Indonesian, QLocale::Indonesia, "'Tanggal' dd 'bulan''s' MM", "Tanggal 17 bulan's 08"},
      {QLocale::English, QLocale::UnitedStates, "MMM dd, yyyy", "Aug 17, 2024"},
      {QLocale::English, QLocale::UnitedStates, "dd MMMM yyyy", "17 August 2024"},
      {QLocale::English, QLocale::UnitedStates, "ddd, yyyy-MM-dd", "Sat, 2024-08-17"},
  };
  for (const auto& c : dates) {
    QLocale::setDefault(QLocale(c.language, c.country));
    EXPECT_EQ(FmtDateNow(c.picture), c.date) << c.picture;
  }
  const Case times[] = {
      {QLocale::Indonesian, QLocale::Indonesia, "HH:mm:ss", "22:05:09"},
      {QLocale::Indonesian, QLocale::Indonesia, "H:m:s", "22:5:9"},
      {QLocale::English, QLocale::UnitedStates, "hh:mm tt", "10:05 PM"},
      {QLocale::English, QLocale::UnitedStates, "h 'o''clock' t", "10 o'clock P"},
      {QLocale::English, QLocale::UnitedStates, "HHmmss", "220509"},
  };
  for (const auto& c : times) {
    QLocale::setDefault(QLocale(c.language, c.country));
    EXPECT_EQ(FmtTimeNow(c.picture), c.date) << c.picture;
  }
}

TEST_F(DateTimeTextTest, TheFixedClockGivesTheStatusBarTexts) {
  EXPECT_EQ(FmtDateNow("MMM dd, yyyy"), "Sep 02, 2024");
  EXPECT_EQ(FmtTimeNow("HH:mm:ss"), "10:15:30");
  SetClock(2024, 1, 5, 0, 7, 0);
  EXPECT_EQ(FmtTimeNow("hh:mm:ss tt"), "12:07:00 AM");
  EXPECT_EQ(FmtDateNow("d MMMM yyyy"), "5 Januari 2024");
}

TEST_F(DateTimeTextTest, LongResultsStopAt259Bytes) {
  std::string picture(300, 'x');
  EXPECT_EQ(FmtDateNow(picture).size(), 259u);
  // never inside a character: "é" is two bytes
  std::string accents;
  for (int i = 0; i < 150; ++i) accents += "é";
  EXPECT_EQ(FmtTimeNow(accents).size(), 258u);
}

// ----- numbers -----

TEST(Numbers, ValReadsTheLeadingNumber) {
  struct Case { const char* text; double value; };
  const Case cases[] = {
      {"12abc", 12}, {"  -3.5x", -3.5}, {"abc", 0}, {"", 0}, {"150000", 150000}, {"+7", 7}, {"-", 0},
      {".5", 0.5}, {"-.25kg", -0.25}, {"5.", 5}, {"1.2.3", 1.2}, {"\t 42 ", 42}, {"1 000", 1}, {"-0", 0},
      {"Rp 5000", 0}, {"007", 7}, {"9007199254740993", 9007199254740992.0},
  };
  for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.value) << c.text;
  EXPECT_FALSE(std::signbit(Val("-0")));
}

TEST(Numbers, RoundHalfEven) {
  struct Case { double value; long long rounded; };
  const Case cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {-0.5, 0}, {2.4999, 2}, {2.5001, 3},
      {-2.6, -3}, {0, 0}, {150000.0, 150000}, {1e300, std::numeric_limits<long long>::max()},
      {-1e300, std::numeric_limits<long long>::min()}, {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

}  // namespace

namespace {
TEST(RealClipboard, RoundTripOnTheOffscreenDesktop) {
  auto clip = platform::MakeRealClipboard();
  ASSERT_TRUE(clip->SetText("Nama\tKelas\nBudi\tX IPA 1\n"));
  EXPECT_EQ(clip->GetText(), std::optional<std::string>("Nama\tKelas\nBudi\tX IPA 1\n"));
  ASSERT_TRUE(clip->SetText("Rp 1.500"));
  EXPECT_EQ(clip->GetText(), std::optional<std::string>("Rp 1.500"));
}
}  // namespace

// ----- the real message boxes: owned by the window they speak for ------------------------------------------------
namespace {

class RealBackEndTest : public fintest::SeamsTest {
 protected:
  void TearDown() override {
    for (auto& w : windows_) delete w.data();
  }
  QWidget* Window(const char* title, bool onTop) {
    auto* w = new QWidget;
    w->setWindowTitle(title);
    w->resize(420, 260);
    if (onTop) w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    w->show();
    windows_.emplace_back(w);
    return w;
  }
  std::vector<QPointer<QWidget>> windows_;
};

TEST_F(RealBackEndTest, AMessageBoxStandsInFrontOfTheWindowItSpeaksFor) {
  ShowRealMsgBoxes();
  struct Case {
    const char* name;
    bool onTop;          // the owner stays on top of other windows (the login, the choosers)
    bool disabled;       // a modal window opened from the owner has disabled it
    bool named;          // the owner is named (else it is the active window)
    bool byControl;      // named by one of its controls
  };
  const Case cases[] = {
      {"always on top", true, false, true, false},
      {"ordinary window", false, false, true, false},
      {"disabled owner", false, true, true, false},
      {"named by a control", true, false, true, true},
      {"the active window", true, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget* owner = Window(c.name, c.onTop);
    auto* control = new QWidget(owner);
    control->setGeometry(10, 10, 80, 20);
    if (c.disabled) owner->setEnabled(false);
    if (!c.named) QApplication::setActiveWindow(owner);
    const std::size_t before = shownBoxes().size();
    const Hwnd named = c.named ? WinHandle(c.byControl ? control : owner) : 0;
    const int answer = c.named ? MsgBox(named, "Data tersimpan..", "Info", MB_OKCANCEL | MB_ICONINFORMATION)
                               : MsgBox("Data tersimpan..", "Info", MB_OKCANCEL | MB_ICONINFORMATION);
    EXPECT_EQ(answer, IDOK);
    ASSERT_EQ(shownBoxes().size(), before + 1);
    const auto& box = shownBoxes().back();
    EXPECT_EQ(box.text, "Data tersimpan..");
    EXPECT_EQ(box.caption, "Info");
    EXPECT_EQ(box.parent.data(), owner);
    EXPECT_TRUE(box.transientForParent);
    EXPECT_EQ(box.onTop, c.onTop);
    EXPECT_TRUE(box.modal);
    EXPECT_TRUE(box.enabled);
    EXPECT_TRUE(box.visible);
    EXPECT_TRUE(box.centredOnParent);
    ASSERT_FALSE(msgBoxes().empty());
    EXPECT_EQ(msgBoxes().back().owner.data(), owner);
    EXPECT_EQ(msgBoxes().back().ownerTitle, c.name);
    EXPECT_EQ(msgBoxes().back().answer, IDOK);
    // The box is gone with its answer; the owner keeps what it was.
    EXPECT_TRUE(owner->findChildren<QMessageBox*>().isEmpty());
    EXPECT_EQ(owner->isEnabled(), !c.disabled);
  }
}

TEST_F(RealBackEndTest, ABoxWhoseWindowGoesEndsWithItsCancelAnswer) {
  QPointer<QWidget> owner = Window("Pembayaran", true);
  scripted().UseRealMessageBoxes([&](QWidget* box) {
    EXPECT_EQ(box->parentWidget(), owner.data());
    delete owner.data();   // the window closes while its box is open
  });
  EXPECT_EQ(MsgBox(WinHandle(owner), "Simpan data ini?", "Confirm", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_TRUE(owner.isNull());
  EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
}

TEST_F(RealBackEndTest, WithoutAWindowTheBoxStandsAlone) {
  ShowRealMsgBoxes();
  QApplication::setActiveWindow(nullptr);
  EXPECT_EQ(MsgBox("Tidak ada data..", "Info", MB_OK), IDOK);
  ASSERT_EQ(shownBoxes().size(), 1u);
  EXPECT_EQ(shownBoxes()[0].parent.data(), nullptr);
  EXPECT_TRUE(shownBoxes()[0].modal);
  EXPECT_TRUE(shownBoxes()[0].visible);
}

}  // namespace
