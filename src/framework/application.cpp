#include "framework/application.h"

// libstdc++'s hook for returning what the runtime allocates for itself (its exception-handling
// emergency pool); no header declares it.
namespace __gnu_cxx {
void __freeres();
}

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
            // The statically linked C++ runtime takes a 74 KB pool at every load and never gives it
            // back; hosts that load each plug-in again to list them would lose that much each time.
            // At process exit the system reclaims it anyway. Nothing of ours throws after this.
            if (!reserved) __gnu_cxx::__freeres();
            return TRUE;
        default:
            return TRUE;
    }
}
