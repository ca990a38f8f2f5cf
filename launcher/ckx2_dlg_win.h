// The splash window: the suite's picture, shown modeless while the main
// interface starts, hidden by its own timer.
#pragma once

#include "launcher/appframe/dialog_win.h"

class CKX2Dlg : public appframe::CDialog {
public:
    CKX2Dlg();
    ~CKX2Dlg() override;

    INT_PTR WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL OnInitDialog() override;

private:
    INT_PTR OnSysCommand(WPARAM command, LPARAM lParam);
    INT_PTR OnPaint(WPARAM, LPARAM);
    INT_PTR OnQueryDragIcon(WPARAM, LPARAM);
    INT_PTR OnTimer(WPARAM timerId, LPARAM);
    INT_PTR OnCtlColor(WPARAM, LPARAM);

    void AddAboutItem();
    void FitToPicture();

    static const appframe::MessageEntry<CKX2Dlg> kMessages[];

    HICON m_hIcon;
    HBRUSH m_blackBrush;
};
