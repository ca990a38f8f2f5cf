// Stand-in for a ToolBook runtime that fails after starting: it shows no
// window at all and ends after TE_FAKE_RUNTIME_MS milliseconds (at once
// when unset).
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t value[32] = L"0";
    GetEnvironmentVariableW(L"TE_FAKE_RUNTIME_MS", value, 32);
    const unsigned long ms = std::wcstoul(value, nullptr, 10);
    if (ms > 0) Sleep(ms);
    return 3;
}
