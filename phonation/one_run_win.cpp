#include "phonation/one_run_win.h"

#include <string>

#include "winui/user_message_win.h"

namespace phonation {

OnlyRun::OnlyRun(const char* program) {
    const std::wstring name = L"Local\\TempoExpiratorio." + ui::widen(program);
    // The system releases it with the process, even after a crash.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS) {
        mutex_ = mutex;
        return;
    }
    if (mutex != nullptr) CloseHandle(mutex);
    ui::showMessage(nullptr, "Este exercício já está aberto em outra janela.", "Tempo Expiratório", MB_OK);
}

OnlyRun::~OnlyRun() {
    if (mutex_ != nullptr) CloseHandle(mutex_);
}

}  // namespace phonation
