// Scripted netplay games against the fake library: exchanges, time-outs, the log, and stopping.
#include "emulation_thread.h"
#include "joybus_host.h"
#include "netplay_fixture.h"
#include "process_cpu.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr ButtonState kRemoteB{ButtonBit::B, 10, -20};
constexpr ButtonState kRemoteStart{ButtonBit::Start, -64, 64};
constexpr ButtonState kRemoteZ{ButtonBit::TriggerZ, 0, 0};

TEST_F(NetplayTest, TwoPlayersSeeEachOthersStatesOnTheirControllers) {
    StartNetplayPlugin(0);
    library.SetRemoteState(1, kRemoteB);
    BeginGame("Mario Kart 64", 1, 2);
    fake.SetKey(keyboard, kDikLShift, true);
    ButtonState words[4];
    PollRound(words);
    EXPECT_EQ(words[0], (ButtonState{ButtonBit::A, 0, 0}));
    EXPECT_EQ(words[1], kRemoteB);
    EXPECT_EQ(words[2], kIdle);
    EXPECT_EQ(words[3], kIdle);
    // One exchange per poll, each carrying the poll count and the local state.
    const auto sent = library.Sent();
    ASSERT_EQ(sent.size(), 4u);
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(sent[i].pollCount, i + 1);
        EXPECT_EQ(StateFromWord(sent[i].state), (ButtonState{ButtonBit::A, 0, 0}));
    }
    EXPECT_TRUE(LogContains("You play to 'Mario Kart 64' as controller1\r\n"));
}

// Controller 1 has a rumble pak, so the host hands its commands over raw; player 1 plays it with
// the keyboard mapping of controller 2. During netplay its game sees no pak, nothing shakes, and
// each frame exchanges what a plain controller's would: four records, whichever way the host reads.
class NetplayRumblePakTest : public NetplayTest {
protected:
    void PlayFrames(bool hostCallsGetKeysForRawControllers) {
        const int32_t pad = fake.AddJoystick("Pad");
        fake.SetForceFeedback(pad, true);
        StoreMapping(0, 1, {{"Pak", 2}});
        StartNetplayPlugin(1);
        BeginGame("Mario Kart 64", 1, 2);
        fake.SetKey(keyboard, kDikLShift, true);
        for (size_t frame = 1; frame <= 3; ++frame) {
            JoybusBlock blocks[] = {JoybusBlock::State(), JoybusBlock::Identify(), JoybusBlock::PakRead(kProbeAddress),
                                    JoybusBlock::PakWrite(kMotorAddress, 1)};
            if (hostCallsGetKeysForRawControllers)
                for (int controller = 0; controller < 4; ++controller) plugin.Poll(controller);
            for (JoybusBlock& block : blocks) plugin.ControllerCommand(0, block.Data());
            plugin.ControllerCommand(-1, nullptr);
            for (JoybusBlock& block : blocks) plugin.ReadController(0, block.Data());
            if (!hostCallsGetKeysForRawControllers)
                for (int controller = 1; controller < 4; ++controller) plugin.Poll(controller);
            plugin.ReadController(-1, nullptr);

            EXPECT_EQ(library.Sent().size(), 4 * frame) << "frame " << frame;
            EXPECT_EQ(blocks[0].StateReply(), (ButtonState{ButtonBit::A, 0, 0}));
            EXPECT_EQ(blocks[1].bytes[5], 0x02) << "no pak";
            EXPECT_EQ(blocks[2].bytes[5], 0x00);
            EXPECT_EQ(blocks[2].PakChecksum(), 0xFF) << "the inverted checksum of an empty controller";
            EXPECT_EQ(blocks[3].PakChecksum(), 0x14);
        }
        EXPECT_EQ(fake.Effects(pad).created, 0);
        EXPECT_EQ(fake.CooperativeFlags(pad) & DISCL_EXCLUSIVE, DISCL_EXCLUSIVE) << "taken when the game opened";
    }
};

TEST_F(NetplayRumblePakTest, HostThatAlsoCallsGetKeysForTheRawControllerExchangesAsForAPlainOne) { PlayFrames(true); }

TEST_F(NetplayRumblePakTest, HostThatReadsTheRawControllerOnlyThroughItsCommandsExchangesAsForAPlainOne) {
    PlayFrames(false);
}

TEST_F(NetplayTest, FourPlayersFillAllFourControllers) {
    StartNetplayPlugin(2);
    library.SetRemoteState(0, kRemoteB);
    library.SetRemoteState(1, kRemoteStart);
    library.SetRemoteState(3, kRemoteZ);
    BeginGame("Smash", 3, 4);
    fake.SetKey(keyboard, kDikUp, true);
    ButtonState words[4];
    PollRound(words);
    PollRound(words);
    EXPECT_EQ(words[0], kRemoteB);
    EXPECT_EQ(words[1], kRemoteStart);
    EXPECT_EQ(words[2], (ButtonState{0, 0, 64}));
    EXPECT_EQ(words[3], kRemoteZ);
    EXPECT_TRUE(LogContains("as controller3\r\n"));
}

TEST_F(NetplayTest, FivePlayersAreBootedWithoutAnyExchange) {
    StartNetplayPlugin(0);
    BeginGame("Party", 1, 5);
    ASSERT_TRUE(library.WaitGameEnd());
    EXPECT_EQ(library.Calls("kailleraModifyPlayValues"), 0);
    EXPECT_EQ(library.Calls("kailleraEndGame"), 1);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Sorry there're too lots of players for me : only 4 max !!!"});
    EXPECT_TRUE(LogContains("You play to 'Party' as controller1\r\nYou have been booted out...\r\nEnd of 'Party' Game\r\n"));
    // The game is over: polls no longer wait for a cycle.
    ButtonState words[4];
    PollRound(words);
    EXPECT_EQ(words[0], kIdle);
}

TEST_F(NetplayTest, ResultsNotReadyAreRetriedAndMinusOneEndsTheGame) {
    StartNetplayPlugin(0);
    library.SetRemoteState(1, kRemoteB);
    library.QueueResults({0, -2, -7, 8});
    BeginGame("Retry", 1, 2);
    EXPECT_EQ(plugin.Poll(1), kRemoteB);
    EXPECT_EQ(library.Sent().size(), 4u) << "three answers without values, then one with";

    library.QueueResults({-1});
    fake.SetKey(keyboard, kDikLShift, true);
    EXPECT_EQ(plugin.Poll(1), kIdle) << "the other player's buttons are not held after the game";
    ASSERT_TRUE(library.WaitGameEnd());
    const char* timeOut = "Error : Kaillera return fatal TimeOut.. You're too low, man !!!\r\n";
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{timeOut}) << "an end that nothing explains";
    EXPECT_TRUE(LogContains(std::string(timeOut) + "End of 'Retry' Game\r\n"));
    EXPECT_EQ(library.Calls("kailleraEndGame"), 1);
    // After the game, polls return at once: live local input, nothing from the other player.
    EXPECT_EQ(plugin.Poll(0), (ButtonState{ButtonBit::A, 0, 0}));
    EXPECT_EQ(plugin.Poll(1), kIdle);
}

TEST_F(NetplayTest, LaggingRecordIsSentAgainAndOneAheadIsAccepted) {
    StartNetplayPlugin(0);
    library.SetRemoteOffset(1, -1, 2);
    BeginGame("Lag", 1, 2);
    plugin.Poll(0);
    EXPECT_EQ(library.Sent().size(), 3u) << "two answers lagged behind";
    library.SetRemoteOffset(1, +50, -1);
    plugin.Poll(0);
    EXPECT_EQ(library.Sent().size(), 4u) << "a record ahead completes the exchange";
}

TEST_F(NetplayTest, SecondGameAsksTheReplayQuestionAndNoEndsIt) {
    StartNetplayPlugin(0);
    BeginGame("First", 1, 2);
    library.QueueResults({-1});
    plugin.Poll(0);
    ASSERT_TRUE(library.WaitGameEnd());
    boxes.AnswerQuestionsWith(IDNO);
    library.StartGame("Second", 1, 2);
    ASSERT_TRUE(library.WaitGameEnd());
    const auto caught = boxes.Boxes();
    ASSERT_EQ(caught.size(), 2u);
    EXPECT_TRUE(caught[1].yesNo);
    EXPECT_EQ(caught[1].text,
              "Argh, you try to (re)play a game without reloaded it\nThis is not suitable for rest of playing...\n"
              "I prevent this but do you want to continue ?");
    EXPECT_TRUE(LogContains("End of 'Second' Game\r\n"));
    EXPECT_EQ(LogText().find("You play to 'Second'"), std::string::npos);
    EXPECT_EQ(library.Calls("kailleraEndGame"), 2);
}

TEST_F(NetplayTest, ChatAndDroppedPlayersAreLoggedAndChatIsSent) {
    StartNetplayPlugin(0);
    BeginGame("Chatty", 1, 2);
    // The start line is written after RomOpen may return; let it come first.
    ASSERT_TRUE(LogContains("You play to 'Chatty'"));
    library.ReceiveChat("bob", "hello %s");
    library.DropPlayer("alice", 2);
    library.ReceiveChat(nullptr, nullptr);
    EXPECT_TRUE(LogContains("<bob> hello %s\r\nPlayer 2 as alice dropped.\r\n<> \r\n")) << LogText();

    HWND log = LogWindow();
    ASSERT_NE(log, nullptr);
    SetDlgItemTextA(log, 1071, "gg");
    PostMessageA(GetDlgItem(log, 1072), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return library.ChatSent().size() == 1; }));
    PostMessageA(GetDlgItem(log, 1072), BM_CLICK, 0, 0);  // empty text is sent too
    ASSERT_TRUE(WaitUntil([&] { return library.ChatSent().size() == 2; }));
    EXPECT_EQ(library.ChatSent(), (std::vector<std::string>{"gg", ""}));
    char input[16] = "x";
    GetDlgItemTextA(log, 1071, input, sizeof input);
    EXPECT_STREQ(input, "");
}

TEST_F(NetplayTest, LibraryGetsTheClientNameAndTheGameList) {
    StartNetplayPlugin(0);
    OpenRom();
    ASSERT_TRUE(library.WaitServerDialog());
    EXPECT_EQ(library.ClientName(), "Tavik_DI by Tavik version 0.4.0 build 14");
    EXPECT_EQ(library.GameList(), "Unknown N64 Game|" + std::string(kFullSpeedGame) + "|");
    library.StartGame("g", 1, 1);
    EXPECT_TRUE(RomOpenReturned());
}

TEST_F(NetplayTest, ViewLogShowsTheWindowForTheGameOnly) {
    StartNetplayPlugin(0, true);
    BeginGame("Shown", 1, 2);
    ASSERT_TRUE(WaitUntil([&] { return LogWindow() && IsWindowVisible(LogWindow()); }));
    library.QueueResults({-1});
    plugin.Poll(0);
    ASSERT_TRUE(library.WaitGameEnd());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(LogWindow()); }));
}

TEST_F(NetplayTest, WithoutViewLogTheWindowStaysHidden) {
    StartNetplayPlugin(0, false);
    BeginGame("Hidden", 1, 2);
    EXPECT_TRUE(LogContains("You play to 'Hidden'"));
    EXPECT_FALSE(IsWindowVisible(LogWindow()));
}

class NetplayStopTest : public NetplayTest {
protected:
    // Starts a game, polls once, then stops it the way `stop` does: the game ends at once, and
    // the worker is left alone in the library's window, which the user may still be using.
    template <typename Stop>
    void PlayThenStop(Stop stop) {
        StartNetplayPlugin(0);
        BeginGame("Stopped", 1, 2);
        plugin.Poll(0);
        stop();
        EXPECT_TRUE(library.WaitGameEnd());
        EXPECT_EQ(library.Calls("kailleraEndGame"), 1);
        EXPECT_TRUE(library.ServerDialogOpen()) << "the worker was ended inside the library's window";
        EXPECT_TRUE(boxes.Texts().empty()) << "a box for our own stop";
    }
};

TEST_F(NetplayStopTest, RomClosedEndsTheGameAndPollsNoLongerWait) {
    PlayThenStop([&] { plugin.RomClosed(); });
    EXPECT_EQ(plugin.Poll(0), kIdle);
}

TEST_F(NetplayStopTest, CloseDllEndsTheGame) {
    PlayThenStop([&] { plugin.CloseDLL(); });
    EXPECT_EQ(plugin.Poll(1), kIdle);
}

// The worker may return into our code whenever the user closes the library's window: until it
// has, a host's FreeLibrary must leave the plug-in mapped.
TEST_F(NetplayStopTest, PlugInStaysLoadedUntilTheLibrarysWindowCloses) {
    PlayThenStop([&] { plugin.CloseDLL(); });
    plugin.Unload();
    EXPECT_NE(GetModuleHandleA("Tavik_DI.dll"), nullptr);
    library.CloseServerDialog();
    EXPECT_TRUE(WaitUntil([] { return GetModuleHandleA("Tavik_DI.dll") == nullptr; }));
}

// The client's shut-down cleans up what its open window still uses: it waits for the window.
TEST_F(NetplayStopTest, CloseDllThenUnloadEndsTheGameAndTheLibraryShutsDownOnceItsWindowCloses) {
    PlayThenStop([&] {
        plugin.CloseDLL();
        plugin.Unload();
    });
    const int shutDowns = library.Calls("kailleraShutdown");  // the configuration dialog's
    EXPECT_NE(library.CallLog().find("kailleraEndGame"), std::string::npos);
    library.CloseServerDialog();
    ASSERT_TRUE(WaitUntil([] { return GetModuleHandleA("Tavik_DI.dll") == nullptr; }));
    EXPECT_EQ(library.Calls("kailleraShutdown"), shutDowns + 1);
    const std::string log = library.CallLog();
    EXPECT_EQ(log.substr(log.size() - std::strlen("kailleraShutdown")), "kailleraShutdown");
}

// Configure unticks netplay while the game runs: the game goes on as it began until RomClosed,
// which ends it all the same, and the next ROM plays without netplay.
TEST_F(NetplayTest, UntickingNetplayDuringAGameTakesEffectAtTheNextRomOpen) {
    StartNetplayPlugin(1);
    library.SetRemoteState(0, kRemoteB);
    BeginGame("Unticked", 2, 2);
    fake.SetKey(keyboard, kDikLControl, true);
    EmulationThread emulation(plugin);
    ASSERT_TRUE(emulation.WaitFrames(3));
    ASSERT_TRUE(EnableNetplay(false));
    const size_t sent = library.Sent().size();
    ASSERT_TRUE(emulation.WaitFrames(3));
    EXPECT_GT(library.Sent().size(), sent) << "the game stopped exchanging";
    EXPECT_EQ(emulation.Last(0), kRemoteB);
    EXPECT_EQ(emulation.Last(1).buttons, ButtonBit::B) << "the local player moved to another controller";
    EXPECT_EQ(library.Calls("kailleraEndGame"), 0);

    plugin.RomClosed();
    EXPECT_TRUE(library.WaitGameEnd());
    EXPECT_EQ(library.Calls("kailleraEndGame"), 1);
    plugin.RomOpen();  // without netplay: no game to wait for
    ASSERT_TRUE(emulation.WaitFrames(3));
    EXPECT_EQ(emulation.Last(0), kIdle);
    EXPECT_EQ(emulation.Last(1).buttons, ButtonBit::B) << "its own mapping, read locally";
    ASSERT_TRUE(emulation.Stop());
}

// The too-many-players box and the replay question each wait for the user; the emulation thread
// goes on polling meanwhile.
TEST_F(NetplayTest, NeitherBoxHoldsThePolls) {
    StartNetplayPlugin(0);
    boxes.HoldBoxesFor(1500);
    BeginGame("Crowded", 1, 5);
    EmulationThread emulation(plugin);
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_TRUE(emulation.WaitFrames(5, 1000)) << "the too-many-players box held the polls";
    ASSERT_TRUE(library.WaitGameEnd());
    library.StartGame("Again", 1, 2);
    ASSERT_TRUE(boxes.WaitForCount(2));
    EXPECT_TRUE(emulation.WaitFrames(5, 1000)) << "the replay question held the polls";
    ASSERT_TRUE(WaitUntil([&] { return library.Sent().size() > 3; })) << "Yes: the second game plays";
    ASSERT_TRUE(emulation.Stop());
    EXPECT_LT(emulation.LongestPollMs(), 1000u);
    EXPECT_TRUE(boxes.Boxes()[1].yesNo);
}

TEST_F(NetplayTest, ClosingTheServerDialogWithoutAGameLetsRomOpenReturn) {
    StartNetplayPlugin(0);
    OpenRom();
    ASSERT_TRUE(library.WaitServerDialog());
    library.CloseServerDialog();
    EXPECT_TRUE(RomOpenReturned());
    EXPECT_EQ(plugin.Poll(0), kIdle) << "no game: the poll does not wait";
}

TEST_F(NetplayTest, NoMappingChosenSendsAnIdleState) {
    StartNetplayPlugin(4);  // PlayAs 4 names no controller
    fake.SetKey(keyboard, kDikLShift, true);
    BeginGame("Nobody", 1, 2);
    plugin.Poll(0);
    ASSERT_EQ(library.Sent().size(), 1u);
    EXPECT_EQ(library.Sent()[0].state, 0u);
}

// Players count from 1: player 2 plays controller 1, and the exchange made on that controller's
// poll carries this frame's input, not the previous one's.
TEST_F(NetplayTest, PlayerTwoSendsItsInputOnTheSecondControllersPoll) {
    StartNetplayPlugin(1);
    fake.SetKey(keyboard, kDikLControl, true);
    BeginGame("Counted from one", 2, 2);
    ButtonState words[4];
    PollRound(words);
    const auto sent = library.Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].state, 0u) << "composed before its controller's poll";
    EXPECT_EQ(StateFromWord(sent[1].state).buttons, ButtonBit::B);
    EXPECT_EQ(words[1].buttons, ButtonBit::B);
    EXPECT_TRUE(LogContains("as controller2\r\n"));
}

TEST_F(NetplayTest, SpectatorSendsAnIdleStateAndComposesNothing) {
    StartNetplayPlugin(0);
    fake.SetKey(keyboard, kDikLShift, true);
    BeginGame("Watching", 0, 2);
    ButtonState words[4];
    PollRound(words);
    for (const FakeKRecord& record : library.Sent()) EXPECT_EQ(record.state, 0u);
    EXPECT_EQ(words[0], kIdle);
}

}  // namespace

namespace {

struct HostPart {
    const char* ending;
    const char* game;  // classic or fullspeed
};

struct TwoHostEnding {
    HostPart host;     // player 1's part
    HostPart joining;  // player 2's part
    int games;
    int delay;     // the client's frame delay D
    int oneWayMs;  // the link's
    int32_t syncMs = 500;  // the first exchange of a game blocks this long
};

// Starts netplay_host.exe; the handle is the caller's to close.
HANDLE StartHost(int player, const std::string& channel, const HostPart& part, const TwoHostEnding& ending) {
    std::string command = std::string(ProgramFolder()) + "netplay_host.exe " + std::to_string(player) + " " +
                          channel + " " + part.ending + " " + std::to_string(ending.games) + " " +
                          std::to_string(ending.syncMs) + " " + part.game + " " + std::to_string(ending.delay) + " " +
                          std::to_string(ending.oneWayMs);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, ProgramFolder(), &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

void PrintTo(const TwoHostEnding& ending, std::ostream* out) {
    *out << ending.host.ending << "/" << ending.joining.ending << " " << ending.host.game << "/" << ending.joining.game;
}

// The words a host received in the first rounds of game `game` (written by netplay_host), and the
// file gone.
std::string TakeWords(const std::string& channel, int game, int player) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + channel + "-" + std::to_string(game) + "-" + std::to_string(player) + ".words";
    std::ifstream file(path, std::ios::binary);
    std::string words((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    DeleteFileA(path.c_str());
    return words;
}

// Two emulator-like processes play through the fake library in client mode and end the game in
// each of the ways a game ends; each process checks its own side (see netplay_host.cpp).
class TwoHosts : public testing::TestWithParam<TwoHostEnding> {};

TEST_P(TwoHosts, PlayThenEndWithoutABlockedPollOrACrash) {
    const TwoHostEnding ending = GetParam();
    ExtendWatchdog(60 + ending.syncMs / 1000);
    FakeKaillera library;  // for its path
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
    TestRegistry::WriteRaw("Kaillera", "Dll", library.Path());
    TestRegistry::WriteRaw("Kaillera", "PlayAs", "0");
    const std::string channel = "two-hosts-" + std::to_string(GetCurrentProcessId());
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, (channel + " ready").c_str());
    HANDLE hosts[2] = {StartHost(1, channel, ending.host, ending), StartHost(2, channel, ending.joining, ending)};
    ASSERT_TRUE(hosts[0] && hosts[1]);
    const bool killed = std::string(ending.joining.ending) == "killed";
    if (killed) {
        EXPECT_EQ(WaitForSingleObject(ready, 40000), WAIT_OBJECT_0);
        TerminateProcess(hosts[1], 0);
    }
    const DWORD waited = WaitForMultipleObjects(2, hosts, TRUE, ScaledWait(50000 + ending.syncMs));
    for (int i = 0; i < 2; ++i) {
        DWORD code = 1000;
        if (waited == WAIT_TIMEOUT) TerminateProcess(hosts[i], 1001);
        GetExitCodeProcess(hosts[i], &code);
        const bool killedByUs = i == 1 && killed;
        if (!killedByUs) EXPECT_EQ(code, 0u) << "player " << i + 1;
        CloseHandle(hosts[i]);
    }
    // Both hosts apply the same inputs to the same rounds (each host checked them against the
    // script and the delay D).
    for (int game = 1; game <= ending.games; ++game) {
        const std::string host = TakeWords(channel, game, 1), joining = TakeWords(channel, game, 2);
        // Not when the game stopped at once, nor after a poll gave up waiting and read live input.
        if (std::string(ending.host.ending) == "mismatched" || ending.syncMs > 30000) continue;
        EXPECT_EQ(host.size(), 80u * 16) << "game " << game;
        EXPECT_TRUE(host == joining) << "the hosts received different words in game " << game;
    }
    CloseHandle(ready);
    TestRegistry::DeletePluginKey();
}

// Each ending in both games. The classic game's links answer at once or 10 ms late; the full-speed
// game's 20 ms late, with a delay of 2 rounds.
const TwoHostEnding kEndings[] = {
    {{"stops", "classic"}, {"stays", "classic"}, 2, 1, 10},  // the host stops, twice: a second game
    {{"stays", "classic"}, {"stops", "classic"}, 1, 1, 0},   // the joining player stops
    {{"survives", "classic"}, {"killed", "classic"}, 1, 1, 0},
    {{"closes", "classic"}, {"stays", "classic"}, 1, 1, 0},  // the host's user closes the library's window
    {{"survives", "classic"}, {"exits", "classic"}, 1, 1, 0},  // the joining player's emulator is closed
    // Beyond the time a poll waits for its exchange: the polls after it keep their own exchanges.
    {{"stays", "classic"}, {"stops", "classic"}, 1, 1, 0, 31000},
    {{"stops", "fullspeed"}, {"stays", "fullspeed"}, 2, 2, 20},
    {{"stays", "fullspeed"}, {"stops", "fullspeed"}, 1, 2, 20},
    {{"survives", "fullspeed"}, {"killed", "fullspeed"}, 1, 2, 20},
    {{"closes", "fullspeed"}, {"stays", "fullspeed"}, 1, 2, 20},
    // An older build (or anything that plays the classic exchange) in a full-speed game, either side.
    {{"mismatched", "classic"}, {"mismatched", "fullspeed"}, 1, 2, 20},
    {{"mismatched", "fullspeed"}, {"mismatched", "classic"}, 1, 2, 20},
};
std::string EndingName(const testing::TestParamInfo<TwoHostEnding>& info) {
    const TwoHostEnding& ending = info.param;
    return std::string(ending.host.ending) + "_" + ending.joining.ending + "_" + ending.host.game +
           (std::string(ending.host.game) == ending.joining.game ? "" : std::string("_") + ending.joining.game) +
           (ending.syncMs > 30000 ? "_slow_start" : "");
}
INSTANTIATE_TEST_SUITE_P(Endings, TwoHosts, testing::ValuesIn(kEndings), EndingName);

}  // namespace

namespace {

TEST_F(NetplayTest, LongLogKeepsEveryLineAndItsLastLineInView) {
    StartNetplayPlugin(0);
    BeginGame("Talkative", 1, 2);
    ASSERT_TRUE(LogContains("You play to 'Talkative'"));
    const std::string text(150, 'x');
    for (int line = 0; line < 400; ++line) library.ReceiveChat("bob", (std::to_string(line) + text).c_str());
    // 400 lines of ~160 characters: far beyond an edit control's default limit.
    ASSERT_TRUE(LogContains("<bob> 399" + text + "\r\n", 15000)) << "the log was cut";
    HWND log = GetDlgItem(LogWindow(), 1069);
    EXPECT_GT(GetWindowTextLengthA(log), 60000);
    const LRESULT lines = SendMessageA(log, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), lines - 12) << "the last line is not in view";
}

TEST_F(NetplayTest, EventNamesBelongToTheProcess) {
    StartNetplayPlugin(0);
    BeginGame("Named", 1, 2);
    const std::string own = "Tavik_Di Kaillera Start Event " + std::to_string(GetCurrentProcessId());
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, own.c_str());
    EXPECT_NE(event, nullptr) << own;
    if (event) CloseHandle(event);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, "Tavik_Di Kaillera Start Event"), nullptr);
}

TEST_F(NetplayTest, LogWindowGoesAwayWithThePlugIn) {
    StartNetplayPlugin(0, true);
    BeginGame("Bye", 1, 2);
    ASSERT_TRUE(WaitUntil([&] { return LogWindow() != nullptr; }));
    plugin.RomClosed();
    plugin.Unload();
    EXPECT_TRUE(WaitUntil([&] { return LogWindow() == nullptr; }));
}

}  // namespace

namespace {

// The fake behaving as the real client: the game runs on the plug-in's worker inside the
// library's window, the first exchange blocks, answers lag a frame, -1 ends every game.
class NetplayClientTest : public NetplayTest {
protected:
    void SetUp() override {
        NetplayTest::SetUp();
        library.SetClientMode(kSyncMs);
    }
    void TearDown() override {
        if (poller_.joinable()) poller_.join();
        NetplayTest::TearDown();
    }

    // One poll on a thread of its own, as the emulation thread makes it.
    void PollInBackground(int controller) {
        polled_ = false;
        poller_ = std::thread([this, controller] {
            plugin.Poll(controller);
            polled_ = true;
        });
    }
    bool PollReturned(DWORD timeoutMs) {
        if (!WaitUntil([this] { return polled_.load(); }, timeoutMs)) return false;
        poller_.join();
        return true;
    }
    static DWORD RomClosedMs(PluginApi& plugin) {
        const ULONGLONG start = GetTickCount64();
        plugin.RomClosed();
        return static_cast<DWORD>(GetTickCount64() - start);
    }

    static constexpr int32_t kSyncMs = 1500;

private:
    std::thread poller_;
    std::atomic<bool> polled_{false};
};

TEST_F(NetplayClientTest, RomClosedDuringTheFirstExchangeReturnsAtOnceAndLeavesTheWorkerAlone) {
    StartNetplayPlugin(0);
    int games = 0;
    for (const char* game : {"Sync", kFullSpeedGame}) {
        SCOPED_TRACE(game);
        BeginGame(game, 1, 2);
        const int calls = library.Calls("kailleraModifyPlayValues");
        PollInBackground(0);
        ASSERT_TRUE(WaitUntil([&] { return library.Calls("kailleraModifyPlayValues") == calls + 1; }));
        EXPECT_LT(RomClosedMs(plugin), 100u);
        EXPECT_TRUE(PollReturned(kSyncMs / 2)) << "the poll waited for the library";
        EXPECT_TRUE(library.WaitGameEnd(kSyncMs * 2));
        EXPECT_EQ(library.Calls("kailleraEndGame"), ++games);
        EXPECT_TRUE(boxes.Texts().empty());
        EXPECT_TRUE(library.ServerDialogOpen()) << "the worker was ended inside the library's window";
    }
}

TEST_F(NetplayClientTest, OtherPlayerLeavingEndsTheGameWithoutABoxAndFreesTheControllers) {
    StartNetplayPlugin(0);
    library.SetRemoteState(1, kRemoteB);
    BeginGame("Left", 1, 2);
    ButtonState words[4];
    PollRound(words);
    PollRound(words);
    EXPECT_EQ(words[1], kRemoteB);
    library.DropPlayer("bob", 2);
    PollRound(words);  // hears of it inside the exchange
    ASSERT_TRUE(library.WaitGameEnd());
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(LogContains("Player 2 as bob dropped.\r\nPlayer 2 as bob dropped.\r\nEnd of 'Left' Game\r\n"))
        << LogText();
    fake.SetKey(keyboard, kDikLShift, true);
    PollRound(words);
    EXPECT_EQ(words[0], (ButtonState{ButtonBit::A, 0, 0})) << "local input is live after the game";
    EXPECT_EQ(words[1], kIdle) << "the other player's buttons stay held";
}


// A game started in the library's window after RomClosed waits for the next ROM, at no cost.
TEST_F(NetplayClientTest, GameStartedBetweenRomsWaitsIdleAndTheNextRomPlaysIt) {
    StartNetplayPlugin(0);
    BeginGame("One", 1, 2);
    plugin.RomClosed();
    ASSERT_TRUE(library.WaitGameEnd());
    library.StartGame("Between", 1, 2);
    ASSERT_TRUE(WaitUntil([&] { return library.GameRunning(); }));
    Sleep(200);  // into its wait
    const double before = ProcessCpuMs();
    Sleep(1000);
    // The box catcher's own scans cost a little; a game that spins costs a good part of a core.
    EXPECT_LT(ProcessCpuMs() - before, 200.0) << "the waiting game spins";
    OpenRom();
    ASSERT_TRUE(RomOpenReturned()) << "the next ROM takes the waiting game";
    const size_t sent = library.Sent().size();
    plugin.Poll(0);
    EXPECT_GT(library.Sent().size(), sent);
    EXPECT_TRUE(boxes.Texts().empty()) << "the next ROM's first game: no replay question";
}

TEST_F(NetplayClientTest, NextRomPlaysTheNextGameOfTheWindowStillOpen) {
    StartNetplayPlugin(0);
    BeginGame("One", 1, 2);
    plugin.Poll(0);
    EXPECT_LT(RomClosedMs(plugin), 100u);
    ASSERT_TRUE(library.WaitGameEnd());
    BeginGame("Two", 1, 2);
    const size_t before = library.Sent().size();
    plugin.Poll(0);
    EXPECT_GT(library.Sent().size(), before) << "the second game exchanges";
    EXPECT_EQ(library.Calls("kailleraSelectServerDialog"), 1);
    EXPECT_EQ(library.WindowsOpen(), 1);
    EXPECT_TRUE(boxes.Texts().empty()) << "a new ROM's game is no replay";
}

}  // namespace

namespace {

TEST_F(NetplayTest, LaggingGameStopsSendingOnceRomClosedReturns) {
    StartNetplayPlugin(0);
    BeginGame("Laggard", 1, 2);
    library.SetRemoteOffset(1, -1, -1);  // always one behind: the exchange retries for ever
    std::thread poller([&] { plugin.Poll(0); });
    ASSERT_TRUE(WaitUntil([&] { return library.Sent().size() > 100; }));
    plugin.RomClosed();
    poller.join();
    ASSERT_TRUE(library.WaitGameEnd());
    const size_t afterStop = library.Sent().size();
    Sleep(200);
    EXPECT_EQ(library.Sent().size(), afterStop);
}

}  // namespace
