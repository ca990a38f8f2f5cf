#include "launcher/appframe/dialog_win.h"

#include "launcher/appframe/winapp_win.h"

namespace appframe {

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() {
    if (m_hWnd && !modal_) DestroyWindow();
}

INT_PTR CDialog::DoModal() {
    modal_ = true;
    const INT_PTR result = DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(templateId_), parent_,
                                           DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

BOOL CDialog::Create(HWND parent) {
    parent_ = parent;
    modal_ = false;
    return CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(templateId_), parent_, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

BOOL CDialog::DestroyWindow() { return m_hWnd && ::DestroyWindow(m_hWnd); }

void CDialog::EndDialog(int result) {
    if (modal_)
        ::EndDialog(m_hWnd, result);
    else
        ShowWindow(m_hWnd, SW_HIDE);
}

void CDialog::SetMessageResult(LRESULT result) { SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result); }

INT_PTR CDialog::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    default:
        return FALSE;
    }
}

INT_PTR CDialog::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        dialog->m_hWnd = hwnd;
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog) return FALSE;  // the few messages before WM_INITDIALOG
    const INT_PTR result = dialog->WindowMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    return result;
}

}  // namespace appframe
