// MDIFORM1, the main window: the MDI frame with its menu, toolbar, status bar and clock, the start-up sequence that
// runs while it is created (login, welcome window, report period, school identity, required-data guide) and the
// dispatch of every menu and toolbar command.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/win.h"

// Ids of the main window (fixed: other windows and the operator's habits rely on them).
enum : int {
  IDC_MDIFORM1_CLIENT = 1000,
  IDC_MDIFORM1_STATUSBAR = 4999,
  IDC_MDIFORM1_REBAR = 5000,
  IDC_MDIFORM1_TOOLBAR = 5100,
  IDT_PEMBAYARAN = 5101, IDT_BAYAR_PER_KELAS = 5102, IDT_TABUNGAN = 5103, IDT_JURNAL_KAS = 5104,
  IDT_JURNAL_BANK = 5105, IDT_LAP_KEUANGAN = 5107, IDT_LAP_PEMBAYARAN = 5108, IDT_LAP_TUNGGAKAN = 5109,
  IDT_LAP_TABUNGAN = 5111,
  IDM_FILE = 6000, IDM_RUBAH_PASSWORD = 6001, IDM_BACKUP = 6002, IDM_RESTORE = 6003, IDM_KONEKSI_DATABASE = 6004,
  IDM_KELUAR = 6005, IDM_DATA = 6006, IDM_DATA_SISWA = 6007, IDM_DATA_REKENING = 6008,
  IDM_DATA_AKUN_PEMBAYARAN = 6009, IDM_DATA_USER = 6011, IDM_RESET_DATA = 6012, IDM_TRANSAKSI = 6013,
  IDM_PEMBAYARAN = 6014, IDM_BAYAR_PER_KELAS = 6015, IDM_TABUNGAN = 6016, IDM_JURNAL_KAS = 6017,
  IDM_JURNAL_BANK = 6018, IDM_LAPORAN = 6019, IDM_LAP_KEUANGAN = 6020, IDM_LAP_PEMBAYARAN = 6021,
  IDM_LAP_TUNGGAKAN = 6022, IDM_LAP_TABUNGAN = 6023, IDM_BULAN = 6024, IDM_JULI = 6025, IDM_JUNI = 6036,
  IDM_SETTING = 6037, IDM_SETTING_STRUK = 6038, IDM_JENIS_PEMBAYARAN = 6039, IDM_PRABAYAR = 6040,
  IDM_PASCA_BAYAR = 6041,
};

std::intptr_t MDIFORM1_Show(Hwnd parent, int modal, int userData);
LResult MDIFORM1_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
void MDIFORM1_CreateControls(Hwnd form);
LResult MDIFORM1_OnCreate(Hwnd form, std::intptr_t userData);
void MDIFORM1_CheckRequiredData();
int MDIFORM1_OnCommand(Hwnd form, Hwnd control, int notification, int id);
void MDIFORM1_OnClockTimer(Hwnd, unsigned, std::uintptr_t, std::uint32_t);
LResult MDIFORM1_ClientSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);

// The status-bar part edges (right edge of each of the nine parts, in pixels) for a bar of `clientWidth` pixels.
std::vector<int> MDIFORM1_StatusPartEdges(int clientWidth);
// The month of a "Bulan" menu item (6025 "Juli" .. 6036 "Juni"); 0 for any other id.
int MDIFORM1_MonthOfCommand(int id);

extern Hwnd gMdiForm1Toolbar;
extern Hwnd gMdiForm1Rebar;
extern std::intptr_t gMdiForm1Menu;
