// The chooser tab host FORMREKBAYAR: both choosers made at once as the pages "Per-Bulan" and "Per-Tahun" for the
// arrears row marked at that moment, tab switching that hides one page and shows and places the other, each page
// closing by itself, and the host's own buttons.
#include <QTabWidget>

#include "payments/arrears_fixture.h"
#include "payments/chooser_host.h"

namespace {

using arrearstest::ArrearsTest;

class ChooserHostTest : public ArrearsTest {
 protected:
  void SetUp() override {
    ArrearsTest::SetUp();
    OpenStandIn();
    OpenArrears();
    Mark(gFormTunggakanList, 2);   // SPP
  }
  void TearDown() override {
    if (IsWindow(gFormRekBayarWindow)) WinDestroyWindow(gFormRekBayarWindow);
    ArrearsTest::TearDown();
  }
  Hwnd OpenHost() {
    const Hwnd host = static_cast<Hwnd>(FORMREKBAYAR_Show(gFormTunggakanWindow, 0, 0));
    EXPECT_EQ(host, gFormRekBayarWindow);
    return host;
  }
  static void ExpectPlaced(Hwnd page, int w, int h) {
    int x = 0, y = 0;
    FORMREKBAYAR_DisplayOrigin(&x, &y);
    const WinRect r = WinGetWindowRect(page);
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.width(), w);
    EXPECT_EQ(r.height(), h);
  }
};

TEST_F(ChooserHostTest, MakesBothPagesForTheMarkedRow) {
  const Hwnd host = OpenHost();
  ASSERT_TRUE(IsWindow(host));
  EXPECT_EQ(WinGetWindowText(host), "Form5");
  EXPECT_EQ(WinGetClassName(host), "FORM_FINANCE_FORMREKBAYAR_CLASS");
  EXPECT_EQ(CtlGetText(gFormRekBayarBatalButton), "Batal");
  EXPECT_EQ(CtlGetText(gFormRekBayarSisipButton), "Sisip");
  EXPECT_EQ(WinGetFocus(), gFormRekBayarBatalButton);

  ASSERT_EQ(FORMREKBAYAR_TabCount(), 2);
  EXPECT_EQ(FORMREKBAYAR_TabText(0), "Per-Bulan");
  EXPECT_EQ(FORMREKBAYAR_TabText(1), "Per-Tahun");
  EXPECT_EQ(FORMREKBAYAR_CurrentTab(), 0);
  EXPECT_EQ(FORMREKBAYAR_TabPage(0), gFormRekBayar1Window);
  EXPECT_EQ(FORMREKBAYAR_TabPage(1), gFormRekBayar3Window);
  EXPECT_EQ(WinGetOwner(gFormRekBayar1Window), host);
  EXPECT_EQ(WinGetOwner(gFormRekBayar3Window), host);
  EXPECT_TRUE(WinIsWindowVisible(gFormRekBayar1Window));
  EXPECT_FALSE(WinIsWindowVisible(gFormRekBayar3Window));
  ExpectPlaced(gFormRekBayar1Window, 390, 462);
  ExpectPlaced(gFormRekBayar3Window, 651, 365);

  // Both loaded for SPP: its months, and its (free-amount) payments.
  EXPECT_EQ(LvGetItemCount(gFormRekBayar1List), 12);
  EXPECT_EQ(LvGetItemText(gFormRekBayar1List, 0, 3), "Lunas");
  EXPECT_EQ(CtlGetText(gFormRekBayar3CashEdit), "300000");
}

TEST_F(ChooserHostTest, SwitchingTabsHidesOnePageAndShowsTheOther) {
  OpenHost();
  FORMREKBAYAR_SelectTab(1);
  EXPECT_EQ(FORMREKBAYAR_CurrentTab(), 1);
  EXPECT_FALSE(WinIsWindowVisible(gFormRekBayar1Window));
  EXPECT_TRUE(WinIsWindowVisible(gFormRekBayar3Window));
  EXPECT_EQ(WinGetFocus(), gFormRekBayarTab);
  ExpectPlaced(gFormRekBayar3Window, 651, 365);
  FORMREKBAYAR_SelectTab(0);
  EXPECT_TRUE(WinIsWindowVisible(gFormRekBayar1Window));
  EXPECT_FALSE(WinIsWindowVisible(gFormRekBayar3Window));
}

TEST_F(ChooserHostTest, EachPageClosesByItselfAndTheHostClosesTheRest) {
  const Hwnd host = OpenHost();
  // A page's "Sisip" writes the arrears row and closes that page only.
  Tick(gFormRekBayar1List, 1);
  Click(gFormRekBayar1SisipButton);
  EXPECT_EQ(gFormRekBayar1Window, 0);
  EXPECT_TRUE(IsWindow(host));
  EXPECT_EQ(LvGetItemText(gFormTunggakanList, 2, 2), "SPP Bulan : Agustus s/d Agustus");
  FORMREKBAYAR_SelectTab(1);   // the closed page's tab still switches
  FORMREKBAYAR_SelectTab(0);

  // The host's "Sisip" does nothing; its "Batal" closes it with the page left.
  Click(gFormRekBayarSisipButton);
  EXPECT_TRUE(IsWindow(host));
  EXPECT_TRUE(IsWindow(gFormRekBayar3Window));
  Click(gFormRekBayarBatalButton);
  EXPECT_FALSE(IsWindow(host));
  EXPECT_EQ(gFormRekBayarWindow, 0);
  EXPECT_EQ(gFormRekBayar3Window, 0);
  EXPECT_TRUE(IsWindow(gFormTunggakanWindow));
}

}  // namespace
