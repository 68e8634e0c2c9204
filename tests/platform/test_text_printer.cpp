// Raw text printers: recording back end, CUPS queue through lp, text file fallback under cetak/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text_printer.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

using platform::CommandResult;

class TextPrinterTest : public fintest::SeamsTest {
 protected:
  ~TextPrinterTest() override { platform::SetTextPrinterCommandRunnerForTests(nullptr); }

  struct Command {
    std::string program;
    std::vector<std::string> args;
    std::string input;
  };
  // The system's back end with fake lpstat / lp: `queues` exist, lp answers `lpExit`.
  void FakeCups(std::vector<std::string> queues, int lpExit = 0, bool installed = true) {
    platform::SetTextPrinterBackendForTests(platform::MakeSystemTextPrinterBackend());
    platform::SetTextPrinterCommandRunnerForTests(
        [this, queues, lpExit, installed](const std::string& program, const std::vector<std::string>& args,
                                          const std::string& input) {
          commands.push_back({program, args, input});
          if (!installed) return CommandResult{false, -1};
          if (program == "lpstat") {
            bool known = args.size() == 2 && std::find(queues.begin(), queues.end(), args[1]) != queues.end();
            return CommandResult{true, known ? 0 : 1};
          }
          return CommandResult{true, lpExit};
        });
  }
  std::vector<std::string> CetakFiles() {
    std::vector<std::string> names;
    if (!std::filesystem::exists(WorkFile("cetak"))) return names;
    for (const auto& e : std::filesystem::directory_iterator(WorkFile("cetak"))) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::vector<Command> commands;
};

TEST_F(TextPrinterTest, RecordingKeepsEveryJobLineByLine) {
  platform::RecordingTextPrinterBackend* rec = &textPrinted();
  rec->Refuse("Rusak");
  {
    platform::TextPrinter prn;
    ASSERT_TRUE(prn.Open(platform::TextPrinterDevice("Epson LX-300")));
    EXPECT_TRUE(prn.WriteLine("   SD HARAPAN"));
    EXPECT_TRUE(prn.WriteLine(""));
    EXPECT_TRUE(prn.Write("tanpa akhir"));
    EXPECT_TRUE(prn.Close());
    EXPECT_EQ(prn.KeptIn(), "");   // it reached the printer
    EXPECT_FALSE(prn.IsOpen());
    EXPECT_FALSE(prn.Close());
    EXPECT_FALSE(prn.WriteLine("sesudah ditutup"));
  }
  {
    platform::TextPrinter prn;
    EXPECT_FALSE(prn.Open("LPT:Rusak,EMU=TTY"));
    EXPECT_FALSE(prn.Open(""));
    EXPECT_FALSE(prn.WriteLine("x"));
  }
  {
    platform::TextPrinter prn;   // left open: closed when it goes
    ASSERT_TRUE(prn.Open("Kasir"));
    prn.WriteLine("a");
  }
  ASSERT_EQ(rec->Jobs().size(), 2u);
  EXPECT_EQ(rec->Jobs()[0].printer, "Epson LX-300");
  EXPECT_EQ(rec->Jobs()[0].data, "   SD HARAPAN\r\n\r\ntanpa akhir");
  EXPECT_EQ(rec->Jobs()[0].Lines(), (std::vector<std::string>{"   SD HARAPAN", "", "tanpa akhir"}));
  EXPECT_TRUE(rec->Jobs()[0].closed);
  EXPECT_EQ(rec->Jobs()[1].printer, "Kasir");
  EXPECT_EQ(rec->Jobs()[1].Lines(), std::vector<std::string>{"a"});
  EXPECT_TRUE(rec->Jobs()[1].closed);
}

TEST(TextPrinterDevice, DeviceTextAndName) {
  EXPECT_EQ(platform::TextPrinterDevice("Epson"), "LPT:Epson,EMU=TTY");
  EXPECT_EQ(platform::TextPrinterNameOf("LPT:Epson LX,EMU=TTY"), "Epson LX");
  EXPECT_EQ(platform::TextPrinterNameOf("Epson"), "Epson");
  EXPECT_EQ(platform::TextPrinterNameOf("LPT:,EMU=TTY"), "");
}

TEST(TextPrinterDevice, OnlyQueueNamesReachTheCupsCommands) {
  struct Case {
    std::string name;
    bool ok;
  } cases[] = {
      {"Epson_LX-300", true}, {"kasir2", true},       {"", false},          {"-o", false},
      {"Epson LX", false},    {"a;rm -rf ~", false},  {"a/b", false},       {"a#b", false},
      {"x'y", false},         {"tab\tname", false},   {std::string(127, 'p'), true},
      {std::string(128, 'p'), false},                 {"cetak (PDF)", false}, {"é", false},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::IsCupsQueueName(c.name), c.ok) << c.name;
}

TEST_F(TextPrinterTest, ExistingCupsQueueGetsTheJobAsRawTextWithAnArgumentList) {
  FakeCups({"Epson_LX"});
  platform::TextPrinter prn;
  ASSERT_TRUE(prn.Open("LPT:Epson_LX,EMU=TTY"));
  prn.WriteLine("baris 1");
  prn.WriteLine("baris 2");
  ASSERT_EQ(commands.size(), 1u);   // lp runs when the job ends
  EXPECT_TRUE(prn.Close());
  EXPECT_EQ(prn.KeptIn(), "");
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].program, "lpstat");
  EXPECT_EQ(commands[0].args, (std::vector<std::string>{"-p", "Epson_LX"}));
  EXPECT_EQ(commands[1].program, "lp");
  EXPECT_EQ(commands[1].args, (std::vector<std::string>{"-d", "Epson_LX", "-o", "raw"}));
  EXPECT_EQ(commands[1].input, "baris 1\r\nbaris 2\r\n");
  EXPECT_TRUE(CetakFiles().empty());
}

TEST_F(TextPrinterTest, UnknownQueueWritesATextFileUnderCetak) {
  struct Case {
    std::string printer;
    bool asksCups;
    std::string file;
  } cases[] = {
      {"Lain", true, "Lain_20240902_101530.txt"},
      {"Epson LX", false, "Epson LX_20240902_101530.txt"},
      {"a;rm -rf x", false, "a;rm -rf x_20240902_101530.txt"},
      {"../luar", false, "cetak.._luar_20240902_101530.txt"},
  };
  for (const Case& c : cases) {
    commands.clear();
    std::filesystem::remove_all(WorkFile("cetak"));
    FakeCups({"Epson_LX"});
    platform::TextPrinter prn;
    ASSERT_TRUE(prn.Open(c.printer)) << c.printer;
    prn.WriteLine("   BUKU TABUNGAN");
    prn.WriteLine("`");
    EXPECT_TRUE(prn.Close());
    EXPECT_EQ(commands.size(), c.asksCups ? 1u : 0u) << c.printer;
    ASSERT_EQ(CetakFiles(), std::vector<std::string>{c.file}) << c.printer;
    EXPECT_EQ(prn.KeptIn(), WorkFile("cetak/" + c.file)) << c.printer;   // no printer got it
    EXPECT_EQ(fintest::ReadFile(WorkFile("cetak/" + c.file)), "   BUKU TABUNGAN\r\n`\r\n");
  }
}

TEST_F(TextPrinterTest, NoCupsCommandsMeansTextFilesOneJobAfterAnother) {
  FakeCups({}, 0, /*installed=*/false);
  for (const char* line : {"pertama", "kedua"}) {
    platform::TextPrinter prn;
    ASSERT_TRUE(prn.Open("Kasir"));
    prn.WriteLine(line);
    EXPECT_TRUE(prn.Close());
  }
  EXPECT_EQ(CetakFiles(), (std::vector<std::string>{"Kasir_20240902_101530.txt", "Kasir_20240902_101530_2.txt"}));
  EXPECT_EQ(fintest::ReadFile(WorkFile("cetak/Kasir_20240902_101530_2.txt")), "kedua\r\n");
}

TEST_F(TextPrinterTest, RefusedCupsJobIsKeptInAFileAndReported) {
  FakeCups({"Epson_LX"}, /*lpExit=*/1);
  platform::TextPrinter prn;
  ASSERT_TRUE(prn.Open("Epson_LX"));
  prn.WriteLine("isi");
  EXPECT_FALSE(prn.Close());
  EXPECT_EQ(prn.KeptIn(), WorkFile("cetak/Epson_LX_20240902_101530.txt"));
  EXPECT_EQ(CetakFiles(), std::vector<std::string>{"Epson_LX_20240902_101530.txt"});
  EXPECT_EQ(fintest::ReadFile(WorkFile("cetak/Epson_LX_20240902_101530.txt")), "isi\r\n");
}

}  // namespace
