#include "ui/test_dialog.h"

#include "resources/resource_ids.h"

#include <string>

namespace {
struct TestLine {
    const char* text;
    DWORD waitMs;
};
constexpr TestLine kTestLines[] = {
    {"Starting Test : Starting Log ...\n", 1000},
    {"All seem good...\n", 1000},
    {"Wait a moment, please...\n", 2000},
    {"Argh... Wait a moment again...\n", 2000},
    {"Oups... Hum... Wait a moment yet...\n", 2000},
    {"... (?]...\n", 1000},
    {"Well... Hum... In fact, I don't know ;)\n", 500},
    {"Test Finish : Log Finish... all finish...\n", 0},
};
}  // namespace

TestDialog::TestDialog(HWND parent) : Dialog(IDD_TEST, parent) {}

bool TestDialog::OnCommand(int id, int code) {
    if (id != IDC_TEST_LAUNCH || code != BN_CLICKED) return false;
    const Control log = Item(IDC_TEST_LOG);
    std::string text;  // each press starts over
    for (const TestLine& line : kTestLines) {
        text += line.text;
        log.SetText(text.c_str());
        UpdateWindow(log.Handle());  // painted now: the waits process no messages
        if (line.waitMs) Sleep(line.waitMs);
    }
    return true;
}
