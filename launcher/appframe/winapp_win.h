// A small application framework in the manner of MFC, as much of it as a
// dialog-based program needs: one application object whose start-up
// routine does the work, and dialogs (modal and modeless) whose messages
// are dispatched through a message table per class.
#pragma once

#include <windows.h>

namespace appframe {

class CWinApp {
public:
    CWinApp();  // the program's single application object registers itself
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns false to end the program at once, without a message loop.
    virtual BOOL InitInstance() { return TRUE; }
    // The main message loop; its result is the exit code.
    virtual int Run();
    // Called last; its result is the exit code.
    virtual int ExitInstance() { return exitCode_; }

    HINSTANCE m_hInstance = nullptr;

protected:
    // The exit code ExitInstance reports by default.
    void SetExitCode(int code) { exitCode_ = code; }

private:
    int exitCode_ = 0;
};

// The application object, or nullptr before it is constructed.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

// The start-up routine: initialises the application object, runs its
// message loop if InitInstance asks for one, and returns the exit code.
int AfxWinMain(HINSTANCE instance);

}  // namespace appframe
