#include "input/xinput/xinput_twin.h"

#include <cwchar>

bool IsXInputTwin(IDirectInputDevice7A* device) {
    DIPROPGUIDANDPATH property{};
    property.diph = {sizeof property, sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    if (FAILED(device->GetProperty(DIPROP_GUIDANDPATH, &property.diph))) return false;
    property.wszPath[MAX_PATH - 1] = L'\0';
    for (const wchar_t* at = property.wszPath; *at; ++at)
        if ((at[0] == L'I' || at[0] == L'i') && (at[1] == L'G' || at[1] == L'g') && at[2] == L'_') return true;
    return false;
}
