#include "framework/application.h"

namespace {
HINSTANCE moduleInstance = nullptr;
Application* theApplication = nullptr;
}  // namespace

Application::Application() { theApplication = this; }
Application::~Application() {
    if (theApplication == this) theApplication = nullptr;
}

HINSTANCE ModuleInstance() { return moduleInstance; }
Application* TheApplication() { return theApplication; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            moduleInstance = instance;
            DisableThreadLibraryCalls(instance);
            if (theApplication) theApplication->InitInstance();
            return TRUE;  // start-up never fails the load
        case DLL_PROCESS_DETACH:
            if (theApplication) theApplication->ExitInstance(reserved != nullptr);
            return TRUE;
        default:
            return TRUE;
    }
}
