// Dialogs of the application framework.  A class derived from CDialog
// lists the messages it handles in its own table (MessageEntry) and hands
// the rest to its base class's table, so each class reads like a map of
// message to handler.
#pragma once

#include <windows.h>

#include <cstddef>

namespace appframe {

class CDialog {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog();  // destroys a modeless window that is still open
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; the value given to EndDialog, or -1 when
    // the dialog cannot be created.
    INT_PTR DoModal();
    // Creates the dialog modeless, owned by `parent`; false on failure.
    BOOL Create(HWND parent = nullptr);
    BOOL DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }

    // Handlers of a message table take the message's parameters and return
    // what a dialog procedure returns: FALSE leaves the message to the
    // system's default handling.  Messages whose result is not the
    // procedure's return value give it with SetMessageResult.
    virtual INT_PTR WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Ends a modal dialog with `result`; hides a modeless one.
    void EndDialog(int result);
    void SetMessageResult(LRESULT result);

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    bool modal_ = false;
};

template <class T>
struct MessageEntry {
    UINT message;
    INT_PTR (T::*handler)(WPARAM, LPARAM);
};

// Runs the handler `table` lists for `message`; unlisted messages go to
// `base` (the base class's WindowMessage).
template <class T, std::size_t N, class Base>
INT_PTR DispatchMessageTable(T* self, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam, LPARAM lParam,
                             Base base) {
    for (const MessageEntry<T>& entry : table)
        if (entry.message == message) return (self->*entry.handler)(wParam, lParam);
    return base();
}

}  // namespace appframe
