#include "launcher/ckx2_dlg_win.h"

#include "launcher/about_dlg_win.h"
#include "launcher/appframe/winapp_win.h"
#include "resources/tavoral/resource.h"

const appframe::MessageEntry<CKX2Dlg> CKX2Dlg::kMessages[] = {
    {WM_SYSCOMMAND, &CKX2Dlg::OnSysCommand},
    {WM_PAINT, &CKX2Dlg::OnPaint},
    {WM_QUERYDRAGICON, &CKX2Dlg::OnQueryDragIcon},
    {WM_TIMER, &CKX2Dlg::OnTimer},
    {WM_CTLCOLORDLG, &CKX2Dlg::OnCtlColor},
    {WM_CTLCOLORSTATIC, &CKX2Dlg::OnCtlColor},
    {WM_CTLCOLORBTN, &CKX2Dlg::OnCtlColor},
    {WM_CTLCOLOREDIT, &CKX2Dlg::OnCtlColor},
    {WM_CTLCOLORLISTBOX, &CKX2Dlg::OnCtlColor},
    {WM_CTLCOLORSCROLLBAR, &CKX2Dlg::OnCtlColor},
    {WM_CTLCOLORMSGBOX, &CKX2Dlg::OnCtlColor},
};

CKX2Dlg::CKX2Dlg()
    : CDialog(IDD_KX2_DIALOG),
      m_hIcon(LoadIconW(appframe::AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_blackBrush(CreateSolidBrush(RGB(0, 0, 0))) {}

CKX2Dlg::~CKX2Dlg() {
    DestroyWindow();
    if (m_blackBrush) DeleteObject(m_blackBrush);
}

INT_PTR CKX2Dlg::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return appframe::DispatchMessageTable(this, kMessages, message, wParam, lParam,
                                          [&] { return CDialog::WindowMessage(message, wParam, lParam); });
}

BOOL CKX2Dlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutItem();
    FitToPicture();
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    return TRUE;
}

void CKX2Dlg::AddAboutItem() {
    HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    wchar_t text[128] = {};
    if (!menu || LoadStringW(appframe::AfxGetInstanceHandle(), IDS_ABOUTBOX, text, 128) <= 0) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, text);
}

void CKX2Dlg::FitToPicture() {
    // The template's size in dialog units matches the picture only with the
    // font metrics it was laid out with; another system font would leave a
    // black margin or cut the picture.
    RECT picture{};
    GetWindowRect(GetDlgItem(m_hWnd, IDC_SPLASH_PICTURE), &picture);
    RECT frame{0, 0, picture.right - picture.left, picture.bottom - picture.top};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(m_hWnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CKX2Dlg::OnSysCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return FALSE;
    CAboutDlg about(m_hWnd);
    about.DoModal();
    return TRUE;
}

INT_PTR CKX2Dlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(m_hWnd)) return FALSE;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &ps);
    return TRUE;
}

INT_PTR CKX2Dlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<INT_PTR>(m_hIcon); }

INT_PTR CKX2Dlg::OnTimer(WPARAM timerId, LPARAM) {
    ShowWindow(m_hWnd, SW_HIDE);
    KillTimer(m_hWnd, timerId);
    return FALSE;
}

INT_PTR CKX2Dlg::OnCtlColor(WPARAM, LPARAM) { return reinterpret_cast<INT_PTR>(m_blackBrush); }
