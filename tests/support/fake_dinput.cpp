#include "fake_dinput.h"

#include "module_exports.h"
#include "plugin_api.h"

#include <string>

namespace {
template <typename Function>
void Resolve(HMODULE module, const char* name, Function& target) {
    RequireExport(module, "dinput.dll", name, target);
}
}  // namespace

FakeDinput::FakeDinput() {
    const std::string path = std::string(ProgramFolder()) + "dinput.dll";
    module_ = LoadLibraryA("dinput.dll");
    if (!module_) module_ = LoadLibraryA(path.c_str());
    Resolve(module_, "FakeDi_Reset", reset_);
    Resolve(module_, "FakeDi_AddKeyboard", addKeyboard_);
    Resolve(module_, "FakeDi_AddJoystick", addJoystick_);
    Resolve(module_, "FakeDi_SetAttached", setAttached_);
    Resolve(module_, "FakeDi_SetDevicePath", setDevicePath_);
    Resolve(module_, "FakeDi_SetEnumerationDelay", setEnumerationDelay_);
    Resolve(module_, "FakeDi_SetKey", setKey_);
    Resolve(module_, "FakeDi_SetButton", setButton_);
    Resolve(module_, "FakeDi_SetAxis", setAxis_);
    Resolve(module_, "FakeDi_SetJoystickObjects", setJoystickObjects_);
    Resolve(module_, "FakeDi_SetPov", setPov_);
    Resolve(module_, "FakeDi_GetDeadZone", getDeadZone_);
    Resolve(module_, "FakeDi_FailCall", failCall_);
    Resolve(module_, "FakeDi_ClearFaults", clearFaults_);
    Resolve(module_, "FakeDi_GetCounters", getCounters_);
    Resolve(module_, "FakeDi_GetRange", getRange_);
    Resolve(module_, "FakeDi_GetCooperativeFlags", getCooperativeFlags_);
    Resolve(module_, "FakeDi_CallCount", callCount_);
    Resolve(module_, "FakeDi_SetForceFeedback", setForceFeedback_);
    Resolve(module_, "FakeDi_GetEffects", getEffects_);
    reset_();
}

FakeDinput::~FakeDinput() {
    if (module_) FreeLibrary(module_);
}
