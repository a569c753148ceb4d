#include "fake_xinput.h"

#include "module_exports.h"
#include "plugin_api.h"

#include <string>

FakeXInput::FakeXInput() {
    module_ = LoadLibraryA("xinput1_4.dll");
    if (!module_) module_ = LoadLibraryA((std::string(ProgramFolder()) + "xinput1_4.dll").c_str());
    FakeXi_Reset_t reset = nullptr;
    RequireExport(module_, "xinput1_4.dll", "FakeXi_Reset", reset);
    RequireExport(module_, "xinput1_4.dll", "FakeXi_SetConnected", setConnected_);
    RequireExport(module_, "xinput1_4.dll", "FakeXi_SetGamepad", setGamepad_);
    RequireExport(module_, "xinput1_4.dll", "FakeXi_GetVibration", getVibration_);
    RequireExport(module_, "xinput1_4.dll", "FakeXi_EmptyAsks", emptyAsks_);
    RequireExport(module_, "xinput1_4.dll", "FakeXi_SetEmptyAskDelay", setEmptyAskDelay_);
    reset();
}

FakeXInput::~FakeXInput() {
    if (module_) FreeLibrary(module_);
}
