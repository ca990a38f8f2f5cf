#include "launcher/ckx2_app_win.h"

#include "launcher/ckx2_dlg_win.h"
#include "launcher/dllcontrolkx/dllcontrolkx.h"

namespace {

constexpr UINT_PTR kSplashTimer = 1;
constexpr DWORD kSplashMs = 8000;
// Should the splash's timer never fire, the launcher still ends.
constexpr DWORD kSplashLimitMs = kSplashMs + 4000;

}  // namespace

BOOL CKX2App::InitInstance() {
    CWinApp::InitInstance();
    AcertaResolucao();

    CKX2Dlg splash;
    splash.Create();
    if (!m_runtime.start()) {
        MessageBoxW(nullptr, L"Arquivo gui_kx.exe Não Encontrado", L"Tavoral 2", MB_OK);
        SetExitCode(1);
        return FALSE;
    }

    HWND window = splash.GetSafeHwnd();
    SetWindowTextW(window, L"Tavoral");
    ShowWindow(window, SW_SHOW);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    SetTimer(window, kSplashTimer, kSplashMs, nullptr);

    HWND runtimeWindow = launcher::waitForRuntimeWindow(m_runtime.process(), launcher::kRuntimeWindowLimitMs);
    m_runtime.close();
    if (runtimeWindow) PostMessageW(runtimeWindow, WM_CLOSE, 0, 0);

    launcher::dispatchWhileVisible(window, kSplashLimitMs);
    return FALSE;  // no message loop: the launcher's work is done
}
