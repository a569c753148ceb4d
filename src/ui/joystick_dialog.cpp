#include "ui/joystick_dialog.h"

#include "ui/input_capture.h"
#include "ui/joystick_labels.h"
#include "ui/mapping_rows.h"
#include "ui/tuning_edit.h"
#include "ui/xinput_labels.h"

namespace {

// The two stick axes differ only in their list, their selector and their pair of buttons.
struct StickAxis {
    int32_t ControllerConfig::*selector;
    int firstButton;
    int secondButton;
};
constexpr StickAxis kUpDown{&ControllerConfig::StickUpDown, IDC_MAP_STICK_UP, IDC_MAP_STICK_DOWN};
constexpr StickAxis kLeftRight{&ControllerConfig::StickLeftRight, IDC_MAP_STICK_LEFT, IDC_MAP_STICK_RIGHT};

constexpr TuningEdit kTuningEdits[] = {
    {IDC_DEAD_ZONE, &ControllerConfig::DeadZone, kDeadZoneMin, kDeadZoneMax, EffectiveDeadZone},
    {IDC_RANGE, &ControllerConfig::Range, kRangeMin, kRangeMax, EffectiveRange},
};

// The further axes' names are longer than the list is wide: the opened list is widened to them.
constexpr int kAxisListDroppedWidth = 120;

// Stores the list's choice (-1, which also means the buttons, when it has none) and lets the two
// direction buttons be assigned only while they drive the axis.
void ConfirmAxisChoice(const ComboBox& list, int32_t& selector, const Control& first, const Control& second) {
    const int position = list.Selection();
    selector = position < 0 ? UseButtonsStored : static_cast<int32_t>(list.Value(position));
    const bool usesButtons = SelectorUsesButtons(selector);
    first.Enable(usesButtons);
    second.Enable(usesButtons);
}

}  // namespace

JoystickDialog::JoystickDialog(HWND parent) : Dialog(IDD_JOYSTICK, parent) {}

bool JoystickDialog::OnInit() {
    stickUpDownList = List(IDC_STICK_UP_DOWN_LIST);
    stickLeftRightList = List(IDC_STICK_LEFT_RIGHT_LIST);
    if (xinputPad >= 0) {
        axisChoices_ = kXInputAxisChoices;
        axisChoiceCount_ = kXInputAxisChoiceCount;
    }
    for (const ComboBox& list : {stickUpDownList, stickLeftRightList})
        for (int position = 0; position < axisChoiceCount_; ++position)
            list.Add(axisChoices_[position].text, axisChoices_[position].selector);
    for (const ComboBox& list : {stickUpDownList, stickLeftRightList})
        SendMessageA(list.Handle(), CB_SETDROPPEDWIDTH, kAxisListDroppedWidth, 0);
    for (const TuningEdit& edit : kTuningEdits) {
        SendMessageA(Item(edit.id).Handle(), EM_LIMITTEXT, 3, 0);
        OnTuningEdited(edit.id, true);
    }
    RefreshButtonLabels();
    OnStickUpDownSelected();
    OnStickLeftRightSelected();
    return true;
}

bool JoystickDialog::OnCommand(int id, int code) {
    if (code == CBN_SELENDOK && id == IDC_STICK_UP_DOWN_LIST) {
        OnStickUpDownSelected();
        return true;
    }
    if (code == CBN_SELENDOK && id == IDC_STICK_LEFT_RIGHT_LIST) {
        OnStickLeftRightSelected();
        return true;
    }
    if ((code == EN_CHANGE || code == EN_KILLFOCUS) && (id == IDC_DEAD_ZONE || id == IDC_RANGE)) {
        OnTuningEdited(id, code == EN_KILLFOCUS);
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id == IDC_SET_DEFAULTS || id == IDC_SET_PAD) {
        (id == IDC_SET_PAD ? ApplyPadDefaults : ApplyAdaptoidDefaults)(*config, config->DIDevice);
        RefreshButtonLabels();
        return true;
    }
    const MappingRow* row = MappingRowOf(id);
    if (!row) return false;
    // A capture that timed out leaves the input as it was.
    const int32_t range = EffectiveRange(*config);
    if (const std::optional<int32_t> input = xinputPad >= 0 ? CaptureXInputInput(Handle(), id, xinputPad, range)
                                                            : CaptureJoystickInput(Handle(), id, device, range))
        config->*row->field = *input;
    RefreshButtonLabels();
    return true;
}

void JoystickDialog::OnStickUpDownSelected() {
    ConfirmAxisChoice(stickUpDownList, config->*kUpDown.selector, Item(kUpDown.firstButton), Item(kUpDown.secondButton));
    RefreshButtonLabels();
}

void JoystickDialog::OnStickLeftRightSelected() {
    ConfirmAxisChoice(stickLeftRightList, config->*kLeftRight.selector, Item(kLeftRight.firstButton),
                      Item(kLeftRight.secondButton));
    RefreshButtonLabels();
}

void JoystickDialog::OnTuningEdited(int id, bool showStored) {
    for (const TuningEdit& edit : kTuningEdits)
        if (edit.id == id) ApplyTuningEdit(Handle(), edit, *config, showStored);
}

void JoystickDialog::RefreshButtonLabels() {
    for (const MappingRow& row : kMappingRows)
        Item(row.buttonId + 1).SetText(Label(config->*row.field).c_str());
    const auto showAxis = [this](const ComboBox& list, const StickAxis& axis) {
        const int32_t selector = config->*axis.selector;
        if (selector == UseButtonsStored) {
            list.SelectPrefix(kUseButtonsChoice);
            return;
        }
        list.Select(AxisChoicePosition(selector, axisChoices_, axisChoiceCount_));
        if (selector != UseButtons) {
            Item(axis.firstButton + 1).SetText(kUnusedLabel);
            Item(axis.secondButton + 1).SetText(kUnusedLabel);
        }
    };
    showAxis(stickLeftRightList, kLeftRight);
    showAxis(stickUpDownList, kUpDown);
}

std::string JoystickDialog::Label(int32_t code) const { return xinputPad >= 0 ? XInputLabel(code) : ButtonLabel(code); }
