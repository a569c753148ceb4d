#include "input/force_feedback_motor.h"

namespace {

// A steady push for as long as the motor runs, as Microsoft's constant-force example makes it; a
// pad with one actuator axis takes the same force on X alone.
ComPtr<IDirectInputEffect> CreateRumbleEffect(IDirectInputDevice7A* device, LONG magnitude) {
    DWORD axes[2] = {DIJOFS_X, DIJOFS_Y};
    LONG direction[2] = {18000, 0};
    DICONSTANTFORCE force{magnitude};
    DIEFFECT effect{};
    effect.dwSize = sizeof effect;
    effect.dwDuration = INFINITE;
    effect.dwGain = DI_FFNOMINALMAX;
    effect.dwTriggerButton = DIEB_NOTRIGGER;
    effect.rglDirection = direction;
    effect.cbTypeSpecificParams = sizeof force;
    effect.lpvTypeSpecificParams = &force;
    effect.rgdwAxes = axes;
    ComPtr<IDirectInputEffect> created;
    for (DWORD axisCount = 2; axisCount >= 1 && !created; --axisCount) {
        effect.cAxes = axisCount;
        effect.dwFlags = DIEFF_OBJECTOFFSETS | (axisCount == 2 ? DIEFF_POLAR : DIEFF_CARTESIAN);
        if (axisCount == 1) direction[0] = 0;
        IDirectInputEffect* raw = nullptr;
        if (SUCCEEDED(device->CreateEffect(GUID_ConstantForce, &effect, &raw, nullptr)) && raw)
            *reinterpret_cast<IDirectInputEffect**>(created.PutVoid()) = raw;
    }
    return created;
}

bool HasForceFeedback(IDirectInputDevice7A* device) {
    DIDEVCAPS caps{};
    caps.dwSize = sizeof caps;
    return SUCCEEDED(device->GetCapabilities(&caps)) && (caps.dwFlags & DIDC_FORCEFEEDBACK);
}

}  // namespace

void TakeForForceFeedback(IDirectInputDevice7A* device, HWND window) {
    if (device && HasForceFeedback(device)) device->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
}

std::unique_ptr<Motor> ForceFeedbackMotor::Make(IDirectInputDevice7A* device, int32_t strengthPercent) {
    if (!device || !HasForceFeedback(device)) return nullptr;
    const LONG magnitude = static_cast<LONG>(ScaleRumbleStrength(strengthPercent, DI_FFNOMINALMAX));
    ComPtr<IDirectInputEffect> effect = CreateRumbleEffect(device, magnitude);
    if (!effect) return nullptr;
    return std::unique_ptr<Motor>(new ForceFeedbackMotor(device, std::move(effect)));
}

ForceFeedbackMotor::ForceFeedbackMotor(IDirectInputDevice7A* device, ComPtr<IDirectInputEffect> effect)
    : effect_(std::move(effect)) {
    device->AddRef();
    *reinterpret_cast<IDirectInputDevice7A**>(device_.PutVoid()) = device;
}

ForceFeedbackMotor::~ForceFeedbackMotor() { Stop(); }

HRESULT ForceFeedbackMotor::Start() {
    HRESULT result = effect_->Start(1, 0);
    const auto unacquired = [](HRESULT code) {
        return code == DIERR_INPUTLOST || code == DIERR_NOTACQUIRED ||
               code == static_cast<HRESULT>(DIERR_NOTEXCLUSIVEACQUIRED);
    };
    if (unacquired(result)) {
        if (SUCCEEDED(device_->Acquire())) result = effect_->Start(1, 0);
    }
    return result;
}

void ForceFeedbackMotor::Run(bool on) {
    if (on == running_) return;  // games repeat "off" many times a frame
    if (!on) {
        Stop();
        return;
    }
    // A start that failed leaves the motor off, so the game's next "on" tries again.
    running_ = SUCCEEDED(Start());
}

void ForceFeedbackMotor::Stop() {
    // Whatever the level was. A device that is not acquired any more refuses, and is not taken
    // back for it: the polls' table may have handed the pad to a device object of its own.
    effect_->Stop();
    running_ = false;
}
