// The About and test dialogs, opened by the host through DllAbout and DllTest.
#include "dialog_fixture.h"

namespace {

class AboutTestDialogTest : public DialogTest {};

TEST_F(AboutTestDialogTest, AboutShowsTheVersionTextOverTheHostWindow) {
    Start();
    run.emplace([this] { plugin.DllAbout(window.Handle()); });
    HWND about = Dialogs::Find("About Tavik_DI");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(Dialogs::Text(about, IDC_ABOUT_VERSION), "Tavik_DI by Tavik version 0.4.0 build 14");
    EXPECT_EQ(GetWindow(about, GW_OWNER), window.Handle());
    Dialogs::Click(about, IDOK);
    EXPECT_TRUE(run->WaitFinished());
    EXPECT_TRUE(IsWindow(window.Handle()));  // the host's window is neither kept nor destroyed
}

TEST_F(AboutTestDialogTest, LaunchPlaysTheEightLinesAndEachPressStartsOver) {
    Start();
    run.emplace([this] { plugin.DllTest(window.Handle()); });
    HWND test = Dialogs::Find("Tavik_Di - Test dialog");
    ASSERT_NE(test, nullptr);
    const std::string first = "Starting Test : Starting Log ...\n";
    const std::string all = first +
                            "All seem good...\n"
                            "Wait a moment, please...\n"
                            "Argh... Wait a moment again...\n"
                            "Oups... Hum... Wait a moment yet...\n"
                            "... (?]...\n"
                            "Well... Hum... In fact, I don't know ;)\n"
                            "Test Finish : Log Finish... all finish...\n";
    for (int press = 0; press < 2; ++press) {
        SCOPED_TRACE(press);
        Dialogs::Click(test, IDC_TEST_LAUNCH);
        ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(test, IDC_TEST_LOG) == first; }));
        ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(test, IDC_TEST_LOG) == all; }, 12000));
    }
    EXPECT_EQ(fake.Counters().acquireCalls, 0);  // it touches no device
    Dialogs::Cancel(test);
    EXPECT_TRUE(run->WaitFinished());
}

}  // namespace
