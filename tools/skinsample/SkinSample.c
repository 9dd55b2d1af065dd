/* SkinSample.exe: a plain Win32 program in C, without any framework, skinned by the skin
 * engine's DLL. Its main window has a menu bar and a status bar; F2 (or File > Controls
 * dialog) opens a dialog made from a resource template that holds the standard controls, F3
 * shows the File menu as a popup menu.
 *
 *   SkinSample.exe [--skin FILE]
 *
 * The three lines that skin it are marked "skin:" below. */
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>
#include <wchar.h>

#include "SampleIds.h"
#include "lbbskin.h" /* skin: 1 of 3 */

#define SAMPLE_CLASS L"LbbSkinSample"
#define STATUS_ID 3001

static HINSTANCE g_instance;
static HWND g_status;

/* ---- the dialog of standard controls */

static void FillListView(HWND view) {
  static const wchar_t* const columns[] = {L"Name", L"Size"};
  static const wchar_t* const names[] = {L"alpha.txt", L"beta.png", L"gamma.ini"};
  LVCOLUMNW col;
  LVITEMW item;
  int i;
  ZeroMemory(&col, sizeof col);
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  for (i = 0; i < 2; ++i) {
    col.pszText = (wchar_t*)columns[i];
    col.cx = i == 0 ? 150 : 80;
    SendMessageW(view, LVM_INSERTCOLUMNW, (WPARAM)i, (LPARAM)&col);
  }
  ZeroMemory(&item, sizeof item);
  item.mask = LVIF_TEXT;
  for (i = 0; i < 3; ++i) {
    item.iItem = i;
    item.pszText = (wchar_t*)names[i];
    SendMessageW(view, LVM_INSERTITEMW, 0, (LPARAM)&item);
  }
}

static void FillTabs(HWND tabs) {
  static const wchar_t* const names[] = {L"General", L"Details", L"More"};
  TCITEMW tab;
  int i;
  ZeroMemory(&tab, sizeof tab);
  tab.mask = TCIF_TEXT;
  for (i = 0; i < 3; ++i) {
    tab.pszText = (wchar_t*)names[i];
    SendMessageW(tabs, TCM_INSERTITEMW, (WPARAM)i, (LPARAM)&tab);
  }
}

static void FillControls(HWND dlg) {
  static const wchar_t* const items[] = {L"First", L"Second", L"Third", L"Fourth", L"Fifth"};
  int i;
  for (i = 0; i < 5; ++i) {
    SendDlgItemMessageW(dlg, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)items[i]);
    SendDlgItemMessageW(dlg, IDC_LIST, LB_ADDSTRING, 0, (LPARAM)items[i]);
  }
  SendDlgItemMessageW(dlg, IDC_COMBO, CB_SETCURSEL, 0, 0);
  SetDlgItemTextW(dlg, IDC_EDIT, L"An edit box");
  SetDlgItemTextW(dlg, IDC_MEMO, L"A multi-line edit\r\nwith scroll bars\r\nthree\r\nfour\r\nfive");
  CheckDlgButton(dlg, IDC_CHECK, BST_CHECKED);
  CheckRadioButton(dlg, IDC_RADIO1, IDC_RADIO2, IDC_RADIO1);
  FillListView(GetDlgItem(dlg, IDC_LISTVIEW));
  FillTabs(GetDlgItem(dlg, IDC_TAB));
  SendDlgItemMessageW(dlg, IDC_TRACK, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendDlgItemMessageW(dlg, IDC_TRACK, TBM_SETPOS, TRUE, 4);
  SendDlgItemMessageW(dlg, IDC_PROGRESS, PBM_SETPOS, 60, 0);
  SendDlgItemMessageW(dlg, IDC_UPDOWN, UDM_SETRANGE32, 0, 100);
  SendDlgItemMessageW(dlg, IDC_UPDOWN, UDM_SETPOS32, 0, 42);
}

static INT_PTR CALLBACK ControlsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (msg) {
    case WM_INITDIALOG:
      FillControls(dlg);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

/* ---- the main window */

static void ShowFileMenuAsPopup(HWND hwnd) {
  HMENU bar = LoadMenuW(g_instance, MAKEINTRESOURCEW(IDR_SAMPLEMENU));
  RECT r;
  if (!bar) return;
  GetWindowRect(hwnd, &r);
  TrackPopupMenu(GetSubMenu(bar, 0), TPM_LEFTALIGN | TPM_TOPALIGN, r.left + 60, r.top + 80, 0,
                 hwnd, NULL);
  DestroyMenu(bar);
}

static void OnCommand(HWND hwnd, int id) {
  switch (id) {
    case IDM_DIALOG:
      DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_CONTROLS), hwnd, ControlsProc, 0);
      break;
    case IDM_POPUP:
      ShowFileMenuAsPopup(hwnd);
      break;
    case IDM_EXIT:
      DestroyWindow(hwnd);
      break;
    case IDM_ABOUT:
      MessageBoxW(hwnd, L"A plain C program skinned by lbbskin.dll.", L"About", MB_OK);
      break;
    default:
      break;
  }
}

static void OnCreate(HWND hwnd) {
  g_status = CreateWindowExW(0, STATUSCLASSNAMEW, L"Ready", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                             0, 0, 0, 0, hwnd, (HMENU)(INT_PTR)STATUS_ID, g_instance, NULL);
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd);
      return 0;
    case WM_SIZE:
      if (g_status) SendMessageW(g_status, WM_SIZE, 0, 0);
      return 0;
    case WM_COMMAND:
      OnCommand(hwnd, LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

static const wchar_t* SkinArgument(void) {
  int argc = 0, i;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  static wchar_t path[MAX_PATH];
  path[0] = 0;
  for (i = 1; argv && i + 1 < argc; ++i)
    if (wcscmp(argv[i], L"--skin") == 0) wcsncpy(path, argv[i + 1], MAX_PATH - 1);
  LocalFree(argv);
  return path[0] ? path : NULL;
}

static HWND MakeMainWindow(void) {
  WNDCLASSEXW wc;
  ZeroMemory(&wc, sizeof wc);
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszClassName = SAMPLE_CLASS;
  if (!RegisterClassExW(&wc)) return NULL;
  return CreateWindowExW(0, SAMPLE_CLASS, L"Skin sample", WS_OVERLAPPEDWINDOW, 80, 80, 520, 360,
                         NULL, LoadMenuW(g_instance, MAKEINTRESOURCEW(IDR_SAMPLEMENU)), g_instance,
                         NULL);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR cmdLine, int show) {
  INITCOMMONCONTROLSEX icc;
  HACCEL keys;
  HWND main;
  MSG m;
  const wchar_t* skin = SkinArgument();
  int r;
  (void)previous;
  (void)cmdLine;
  g_instance = instance;
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);

  if (skin && (r = lbbskin_load_file(skin)) != LBBSKIN_OK) /* skin: 2 of 3 */
    fprintf(stderr, "the skin was not loaded: %s\n", lbbskin_error_text(r));
  lbbskin_start(); /* skin: 3 of 3 */

  main = MakeMainWindow();
  if (!main) return 1;
  ShowWindow(main, show);
  UpdateWindow(main);
  keys = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_SAMPLEKEYS));
  while (GetMessageW(&m, NULL, 0, 0) > 0) {
    if (TranslateAcceleratorW(main, keys, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  lbbskin_stop();
  return (int)m.wParam;
}
