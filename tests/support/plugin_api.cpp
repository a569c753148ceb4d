#include "plugin_api.h"

#include "module_exports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

const char* ProgramFolder() {
    static char folder[MAX_PATH] = {};
    if (!folder[0]) {
        GetModuleFileNameA(nullptr, folder, MAX_PATH);
        if (char* slash = std::strrchr(folder, '\\')) slash[1] = '\0';
    }
    return folder;
}

namespace {
template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& target) {
    target = ExportOf<Function>(module, name);
    EXPECT_NE(target, nullptr) << "missing export " << name;
    return target != nullptr;
}
}  // namespace

bool PluginApi::Load() {
    const std::string path = std::string(ProgramFolder()) + "Tavik_DI.dll";
    module = LoadLibraryA(path.c_str());
    EXPECT_NE(module, nullptr) << "LoadLibrary(" << path << ") failed: " << GetLastError();
    if (!module) return false;
    bool ok = true;
    ok &= Resolve(module, "GetDllInfo", GetDllInfo);
    ok &= Resolve(module, "InitiateControllers", InitiateControllers);
    ok &= Resolve(module, "GetKeys", GetKeys);
    ok &= Resolve(module, "RomOpen", RomOpen);
    ok &= Resolve(module, "RomClosed", RomClosed);
    ok &= Resolve(module, "CloseDLL", CloseDLL);
    ok &= Resolve(module, "DllConfig", DllConfig);
    ok &= Resolve(module, "DllTest", DllTest);
    ok &= Resolve(module, "DllAbout", DllAbout);
    ok &= Resolve(module, "ControllerCommand", ControllerCommand);
    ok &= Resolve(module, "ReadController", ReadController);
    ok &= Resolve(module, "WM_KeyDown", WM_KeyDown);
    ok &= Resolve(module, "WM_KeyUp", WM_KeyUp);
    return ok;
}

void PluginApi::Unload() {
    if (module) FreeLibrary(module);
    *this = PluginApi{};
}

ButtonState PluginApi::Poll(int32_t controller) const {
    ButtonState state;
    std::memset(&state, 0xCD, sizeof state);  // the plug-in must overwrite all four bytes
    GetKeys(controller, &state);
    return state;
}
