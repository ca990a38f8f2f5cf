#include "phonation/one_run_win.h"

#include <windows.h>

#include <string>

#include "voice/user_message_win.h"

namespace phonation {

bool claimOnlyRun(const char* program) {
    const std::wstring name = L"Local\\TempoExpiratorio." + ui::widen(program);
    // Held until the process ends: the system releases it even after a crash.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS) return true;
    if (mutex != nullptr) CloseHandle(mutex);
    ui::showMessage(nullptr, "Este exercício já está aberto em outra janela.", "Tempo Expiratório", MB_OK);
    return false;
}

}  // namespace phonation
