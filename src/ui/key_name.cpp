#include "ui/key_name.h"

#include <array>
#include <cstdio>

namespace {

// Indexed by code; null where the code has no name. A few names keep the spellings that users of
// earlier versions know, so they do not all match DirectInput's constants.
constexpr std::array<const char*, 238> kNames = [] {
    std::array<const char*, 238> names{};
    names[0x01] = "DIK_ESCAPE";
    names[0x02] = "DIK_1";
    names[0x03] = "DIK_2";
    names[0x04] = "DIK_3";
    names[0x05] = "DIK_4";
    names[0x06] = "DIK_5";
    names[0x07] = "DIK_6";
    names[0x08] = "DIK_7";
    names[0x09] = "DIK_8";
    names[0x0A] = "DIK_9";
    names[0x0B] = "DIK_0";
    names[0x0C] = "DIK_MINUS";
    names[0x0D] = "DIK_EQUAL";
    names[0x0E] = "DIK_BACK";
    names[0x0F] = "DIK_TAB";
    names[0x10] = "DIK_Q";
    names[0x11] = "DIK_W";
    names[0x12] = "DIK_E";
    names[0x13] = "DIK_R";
    names[0x14] = "DIK_T";
    names[0x15] = "DIK_Y";
    names[0x16] = "DIK_U";
    names[0x17] = "DIK_I";
    names[0x18] = "DIK_O";
    names[0x19] = "DIK_P";
    names[0x1A] = "DIK_LBRACKET";
    names[0x1B] = "DIK_RBRACKET";
    names[0x1C] = "DIK_RETURN";
    names[0x1D] = "DIK_LCONTROL";
    names[0x1E] = "DIK_A";
    names[0x1F] = "DIK_S";
    names[0x20] = "DIK_D";
    names[0x21] = "DIK_F";
    names[0x22] = "DIK_G";
    names[0x23] = "DIK_H";
    names[0x24] = "DIK_J";
    names[0x25] = "DIK_K";
    names[0x26] = "DIK_L";
    names[0x27] = "DIK_SEMICOLON";
    names[0x28] = "DIK_APOSTROPHE";
    names[0x29] = "DIK_GRAVE";
    names[0x2A] = "DIK_LSHIFT";
    names[0x2B] = "DIK_BACKSLASH";
    names[0x2C] = "DIK_Z";
    names[0x2D] = "DIK_X";
    names[0x2E] = "DIK_C";
    names[0x2F] = "DIK_V";
    names[0x30] = "DIK_B";
    names[0x31] = "DIK_N";
    names[0x32] = "DIK_M";
    names[0x33] = "DIK_COMMA";
    names[0x34] = "DIK_PERIOD";
    names[0x35] = "DIK_SLASH";
    names[0x36] = "DIK_RSHIFT";
    names[0x37] = "DIK_MULTIPlY";
    names[0x38] = "DIK_LMENU";
    names[0x39] = "DIK_SPACE";
    names[0x3A] = "DIK_CAPITAL";
    names[0x3B] = "DIK_F1";
    names[0x3C] = "DIK_F2";
    names[0x3D] = "DIK_F3";
    names[0x3E] = "DIK_F4";
    names[0x3F] = "DIK_F5";
    names[0x40] = "DIK_F6";
    names[0x41] = "DIK_F7";
    names[0x42] = "DIK_F8";
    names[0x43] = "DIK_F9";
    names[0x44] = "DIKF_10";
    names[0x45] = "DIK_NUMLOCK";
    names[0x46] = "DIK_SCROLL";
    names[0x47] = "DIK_NUMPAD7";
    names[0x48] = "DIK_NUMPAD8";
    names[0x49] = "DIK_NUMPAD9";
    names[0x4A] = "DIK_SUBSTRACT";
    names[0x4B] = "DIK_NUMPAD4";
    names[0x4C] = "DIK_NUMPAD5";
    names[0x4D] = "DIK_NUMPAD6";
    names[0x4E] = "DIK_ADD";
    names[0x4F] = "DIK_NUMPAD1";
    names[0x50] = "DIK_NUMPAD2";
    names[0x51] = "DIK_NUMPAD3";
    names[0x52] = "DIK_NUMPAD0";
    names[0x53] = "DIK_DECIMAL";
    names[0x56] = "DIK_OEM_102";
    names[0x57] = "DIK_F11";
    names[0x58] = "DIK_F12";
    names[0x64] = "DIK_F13";
    names[0x65] = "DIK_F14";
    names[0x66] = "DIK_F15";
    names[0x70] = "DIK_KANA";
    names[0x73] = "DIK_ADNT_C1";
    names[0x79] = "DIK_CONVERT";
    names[0x7B] = "DIK_NOCONVERT";
    names[0x7D] = "DIK_YEN";
    names[0x7E] = "DIK_ABNT_C2";
    names[0x8D] = "DIK_NUMPADEQUALS";
    names[0x90] = "DIK_PREVTRACK";
    names[0x91] = "DIK_AT";
    names[0x92] = "DIK_COLON";
    names[0x93] = "DIK_UNDERLINE";
    names[0x94] = "DIK_KANJI";
    names[0x95] = "DIK_STOP";
    names[0x96] = "DIK_AX";
    names[0x97] = "DIK_UNLABELED";
    names[0x99] = "DIK_NEXTTRACK";
    names[0x9C] = "DIK_NUMPADENTER";
    names[0x9D] = "DIK_RCONTROL";
    names[0xA0] = "DIK_MUTE";
    names[0xA1] = "DIK_CALCULATOR";
    names[0xA2] = "DIK_PLAYPAUSE";
    names[0xA4] = "DIK_MEDIASTOP";
    names[0xAE] = "DIK_VOLUMEDOWN";
    names[0xB0] = "DIK_VOLUMEUP";
    names[0xB2] = "DIK_WEBHOME";
    names[0xB3] = "DIK_NUMPADCOMMA";
    names[0xB5] = "DIK_DIVIDE";
    names[0xB7] = "DIK_SYSRQ";
    names[0xB8] = "DIK_RMENU";
    names[0xC5] = "DIK_PAUSE";
    names[0xC7] = "DIK_HOME";
    names[0xC8] = "DIK_UP";
    names[0xC9] = "DIK_PRIOR";
    names[0xCB] = "DIK_LEFT";
    names[0xCD] = "DIK_RIGHT";
    names[0xCF] = "DIK_END";
    names[0xD0] = "DIK_DOWN";
    names[0xD1] = "DIK_NEXT";
    names[0xD2] = "DIK_INSERT";
    names[0xD3] = "DIK_DELETE";
    names[0xDB] = "DIK_LWIN";
    names[0xDC] = "DIK_RWIN";
    names[0xDD] = "DIK_APPS";
    names[0xDE] = "DIK_POWER";
    names[0xDF] = "DIK_SLEEP";
    names[0xE3] = "DIK_WAKE";
    names[0xE5] = "DIK_WEBSEARCH";
    names[0xE6] = "DIK_WEBFAVORITES";
    names[0xE7] = "DIK_WEBREFRESH";
    names[0xE8] = "DIK_WEBSTOP";
    names[0xE9] = "DIK_WEBFORWARD";
    names[0xEA] = "DIK_WEBBACK";
    names[0xEB] = "DIK_MYCOMPUTER";
    names[0xEC] = "DIK_MAIL";
    names[0xED] = "DIK_MEDIASELECT";
    return names;
}();

}  // namespace

std::string KeyName(int32_t code) {
    if (code >= 0 && code < static_cast<int32_t>(kNames.size()) && kNames[code]) return kNames[code];
    char text[24];  // "DIK_(" + at most 11 characters of a 32-bit number + ")"
    std::snprintf(text, sizeof text, "DIK_(%3d)", static_cast<int>(code));
    return text;
}
