// What an application framework would give a DLL: an application object whose start-up and exit
// run when the library is attached to and detached from the host process.
#pragma once

#include <windows.h>

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Run at process attach, under the loader lock: nothing here may wait on another thread.
    virtual bool InitInstance() { return true; }
    // Run at process detach. `processTerminating` is true when the whole process is ending (other
    // threads are already gone), so exit must not wait for any thread.
    virtual int ExitInstance(bool processTerminating) {
        (void)processTerminating;
        return 0;
    }

    // The application title, used as the caption of the application message boxes.
    const char* Title() const { return "Tavik_DI"; }
};

// The library's own module handle (from DllMain), for DirectInput, resources and dialogs; never
// GetModuleHandle(nullptr), which is the host's executable.
HINSTANCE ModuleInstance();
Application* TheApplication();

// String resource `id` of this library into `buffer`, always terminated; empty when it is missing.
template <int Size>
void LoadModuleString(unsigned id, char (&buffer)[Size]) {
    if (LoadStringA(ModuleInstance(), id, buffer, Size) <= 0) buffer[0] = '\0';
}
