#pragma once

#define IDS_VERSION_TEXT 1

// Dialog templates.
#define IDD_ABOUT 101
#define IDD_CONFIG 1000
#define IDD_KEYBOARD 1002
#define IDD_JOYSTICK 1003
#define IDD_TEST 1005

// Main configuration dialog.
#define IDC_DEVICE_LIST 1000
#define IDC_SETTINGS 1001
#define IDC_CONTROLLER_LIST 1002
#define IDC_ABOUT 1003
#define IDC_TEST 1004
#define IDC_ENABLE_KAILLERA 1061
#define IDC_PLAY_AS_LIST 1062
#define IDC_PLAY_AS_LABEL 1063
#define IDC_KAILLERA_VERSION 1066
#define IDC_BROWSE_DLL 1067
#define IDC_DLL_PATH 1068
#define IDC_VIEW_LOG 1070

// A controller's pak: the main dialog's button, and the small dialog it opens.
#define IDD_PAK 1200
#define IDC_PAK 1201
#define IDC_PAK_LIST 1202
#define IDC_RUMBLE_STRENGTH 1203
#define IDC_RUMBLE_LABEL 1204

// Mapping dialogs: every label's id is its button's id plus one.
#define IDC_MAP_TRIGGER_Z 1006
#define IDC_MAP_TRIGGER_LEFT 1008
#define IDC_MAP_TRIGGER_RIGHT 1010
#define IDC_MAP_A 1012
#define IDC_MAP_B 1014
#define IDC_MAP_C_UP 1016
#define IDC_MAP_C_DOWN 1018
#define IDC_MAP_C_LEFT 1020
#define IDC_MAP_C_RIGHT 1022
#define IDC_MAP_START 1024
#define IDC_MAP_STICK_UP 1026
#define IDC_MAP_STICK_DOWN 1028
#define IDC_MAP_STICK_LEFT 1030
#define IDC_MAP_STICK_RIGHT 1032
#define IDC_MAP_PAD_UP 1034
#define IDC_MAP_PAD_DOWN 1036
#define IDC_MAP_PAD_LEFT 1038
#define IDC_MAP_PAD_RIGHT 1040
#define IDC_SET_DEFAULTS 1005
#define IDC_STICK_UP_DOWN_LIST 1043
#define IDC_STICK_LEFT_RIGHT_LIST 1077
#define IDC_DEAD_ZONE 1078
#define IDC_RANGE 1079
#define IDC_SET_PAD 1080

// About and test dialogs.
#define IDC_ABOUT_VERSION 1044
#define IDC_TEST_LOG 1060
#define IDC_TEST_LAUNCH 1064

// Netplay log and chat window.
#define IDD_NETPLAY_LOG 1007
#define IDC_NETPLAY_LOG_TEXT 1069
#define IDC_NETPLAY_CHAT_INPUT 1071
#define IDC_NETPLAY_CHAT_SEND 1072
