// An emulator-like host of a two-process netplay game through the fake library in client mode.
// Its emulation thread polls the four controllers at 60 Hz while its UI thread opens and closes
// the ROM, opens the configuration and finally unloads the plug-in, as an emulator does.
//
// Usage: netplay_host.exe PLAYER CHANNEL ENDING GAMES [SYNC_MS [GAME D ONE-WAY-MS]]
//   PLAYER  1 or 2 (the host is player 1)
//   ENDING  stops:     closes the ROM after its rounds, the other player still playing
//           stays:     plays until the other player ends the game, then closes the ROM
//           killed:    plays until the test kills the process (it sets "CHANNEL ready" first)
//           survives:  the other process is killed; the library's time-out ends the game
//           closes:    the user closes the library's window during the game
//           exits:     the process exits during the game, the plug-in still loaded
//           mismatched: the other host plays the other game; the full-speed side stops it at
//                      the first exchange
//   GAMES   games to play one after the other in the same process (each one: ROM opened, game,
//           ending), before the unload
//   SYNC_MS how long the library's first exchange of a game blocks (default 500)
//   GAME    classic (default) or fullspeed; D the client's frame delay (default 1), ONE-WAY-MS
//           the delay of the link between the hosts (default 0)
// Each game's first rounds, the four words the host received in each, go to
// %TEMP%\CHANNEL-N-PLAYER.words (game N) for the test to compare between the hosts.
// Exits 0 when every check held; prints the RomClosed times.
#include "dialog_driver.h"
#include "fake_dinput.h"
#include "fake_kaillera.h"
#include "message_box_catcher.h"
#include "netplay_switch.h"
#include "plugin_api.h"
#include "test_window.h"
#include "watchdog.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kDikLShift = 0x2A, kDikLControl = 0x1D, kDikZ = 0x2C, kDikS = 0x1F;
constexpr int kRounds = 90;        // played before the ending: both keys of each player go through
// Checked against the script and written for the test: the rounds both sides surely played in the
// game, whichever ends it (the full-speed game lets one side run D rounds ahead).
constexpr int kComparedRounds = 80;
constexpr int32_t kDataTimeoutMs = 3000;
const char* const kTimeOut = "Error : Kaillera return fatal TimeOut.. You're too low, man !!!\r\n";

// What player `player` (1 or 2) holds in round `round`: two keys of its own, switching every 25.
struct Script {
    int key;
    uint16_t bit;
};
Script ScriptFor(int player, int round) {
    const bool second = (round / 25) % 2 == 1;
    if (player == 1) return second ? Script{kDikZ, ButtonBit::TriggerZ} : Script{kDikLShift, ButtonBit::A};
    return second ? Script{kDikS, ButtonBit::TriggerRight} : Script{kDikLControl, ButtonBit::B};
}

std::mutex problemsLock;
std::string problems;
void Problem(const std::string& what) {
    std::lock_guard<std::mutex> lock(problemsLock);
    problems += "netplay host: " + what + "\n";
}

// How the game is played: which exchange, and how late the full-speed one answers.
struct Play {
    bool fullSpeed = false;
    int delay = 1;         // D, in rounds
    bool strict = true;    // the game runs its rounds as played (not stopped out of step)
};

// What player `player` held in round `round`, as the full-speed game shows it: D rounds late.
uint16_t Late(const Play& play, int player, int round) {
    return round < play.delay ? 0 : ScriptFor(player, round - play.delay).bit;
}

// The emulation thread: four polls per frame at 60 Hz, checking what each controller shows.
class Emulation {
public:
    Emulation(const PluginApi& plugin, FakeDinput& devices, int32_t keyboard, int player, const Play& play)
        : plugin_(plugin), devices_(devices), keyboard_(keyboard), player_(player), other_(3 - player), play_(play) {}

    void Run() {
        thread_ = std::thread([this] {
            int previousKey = 0;
            while (!quit_) {
                if (!polling_) {
                    idle_ = true;
                    Sleep(5);
                    continue;
                }
                idle_ = false;
                const int round = gameRound_;
                const Script mine = ScriptFor(player_, round);
                if (mine.key != previousKey) {
                    if (previousKey) devices_.SetKey(keyboard_, previousKey, false);
                    devices_.SetKey(keyboard_, mine.key, true);
                    previousKey = mine.key;
                }
                ButtonState words[4];
                const int uiCallsBefore = uiCalls_;
                const ULONGLONG start = GetTickCount64();
                for (int controller = 0; controller < 4; ++controller) words[controller] = plugin_.Poll(controller);
                longestPollMs_ = std::max<ULONGLONG>(longestPollMs_, GetTickCount64() - start);
                Check(words, round, uiCallsBefore % 2 == 1 || uiCalls_ != uiCallsBefore);
                if (round < kComparedRounds) {
                    std::lock_guard<std::mutex> lock(seenLock_);
                    words_.insert(words_.end(), words, words + 4);
                }
                ++gameRound_;
                Sleep(16);
            }
        });
    }
    void Stop() {
        quit_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // An emulator runs no frame while it opens a ROM: the polls of a game begin with its first round.
    void Pause() {
        polling_ = false;
        if (!WaitUntil([this] { return idle_.load(); })) Problem("the emulation thread did not pause");
    }
    void BeginGame() {
        {
            std::lock_guard<std::mutex> lock(seenLock_);
            gameRound_ = 0;
            words_.clear();
        }
        polling_ = true;
    }
    // The UI thread enters or leaves an entry point that releases the devices (RomClosed,
    // DllConfig): a poll meanwhile may find none.
    void UiCall() { ++uiCalls_; }
    int GameRounds() const { return gameRound_; }
    std::vector<ButtonState> Words() {
        std::lock_guard<std::mutex> lock(seenLock_);
        return words_;
    }
    ULONGLONG LongestPollMs() const { return longestPollMs_; }
    bool SawBothOfTheOthersKeys() {
        std::lock_guard<std::mutex> lock(seenLock_);
        return seen_.count(ScriptFor(other_, 0).bit) && seen_.count(ScriptFor(other_, 25).bit);
    }

private:
    void Check(const ButtonState (&words)[4], int round, bool devicesMayBeGone) {
        // During the game and after it alike, the local player's controller shows live input
        // (nothing while the UI thread has the devices released); in the full-speed game, input
        // as it was D rounds earlier.
        const uint16_t own = words[player_ - 1].buttons;
        const uint16_t other = words[other_ - 1].buttons;
        if (play_.fullSpeed && play_.strict && round < kComparedRounds) {
            // Both players' inputs come D rounds late, nothing in the first D rounds.
            if (own != Late(play_, player_, round) || other != Late(play_, other_, round))
                Problem("round " + std::to_string(round) + " shows " + std::to_string(own) + "/" +
                        std::to_string(other) + ", not the inputs of round " + std::to_string(round - play_.delay));
        }
        // Released devices show D rounds later there: nothing is sent for those rounds.
        const bool late = play_.fullSpeed && (own == Late(play_, player_, round) || own == 0);
        if (own != ScriptFor(player_, round).bit && !(devicesMayBeGone && own == 0) && !late)
            Problem("own controller does not show own input in round " + std::to_string(round) + ": " +
                    std::to_string(own));
        if (other != 0 && other != ScriptFor(other_, 0).bit && other != ScriptFor(other_, 25).bit)
            Problem("the other controller showed input the other host never sent");
        if (words[2].buttons || words[3].buttons) Problem("a controller beyond the two players moved");
        std::lock_guard<std::mutex> lock(seenLock_);
        seen_.insert(other);
    }

    const PluginApi& plugin_;
    FakeDinput& devices_;
    int32_t keyboard_;
    int player_, other_;
    const Play play_;
    std::atomic<bool> quit_{false}, polling_{false}, idle_{true};
    std::atomic<int> uiCalls_{0};
    std::atomic<int> gameRound_{0};
    std::vector<ButtonState> words_;  // the four words of each of the game's first rounds
    std::atomic<ULONGLONG> longestPollMs_{0};
    std::mutex seenLock_;
    std::set<uint16_t> seen_;
    std::thread thread_;
};

DWORD TimedMs(void (*call)()) {
    const ULONGLONG start = GetTickCount64();
    call();
    return static_cast<DWORD>(GetTickCount64() - start);
}

void OpenAndCancelConfiguration(const PluginApi& plugin, HWND parent) {
    ModalRun config([&] { plugin.DllConfig(parent); });
    HWND dialog = Dialogs::Find("Tavik_Di Plugin Configuration");
    if (!dialog) return Problem("the configuration dialog did not open");
    Dialogs::Cancel(dialog);
    if (!config.WaitFinished()) Problem("the configuration dialog did not close");
}

void WriteWords(const std::string& channel, int player, const std::vector<ButtonState>& words) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::ofstream file(std::string(folder) + channel + "-" + std::to_string(player) + ".words", std::ios::binary);
    file.write(reinterpret_cast<const char*>(words.data()), static_cast<std::streamsize>(words.size() * sizeof words[0]));
}

int Fail(const char* what) {
    Problem(what);
    std::fputs(problems.c_str(), stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6 && argc != 9)
        return Fail("usage: netplay_host PLAYER CHANNEL ENDING GAMES [SYNC_MS [GAME D ONE-WAY-MS]]");
    const int player = std::atoi(argv[1]);
    const std::string channel = argv[2];
    const std::string ending = argv[3];
    const int games = std::atoi(argv[4]);
    const int32_t syncMs = argc >= 6 ? std::atoi(argv[5]) : 500;
    Play play;
    play.fullSpeed = argc == 9 && std::string(argv[6]) == "fullspeed";
    play.delay = argc == 9 ? std::atoi(argv[7]) : 1;
    play.strict = ending != "mismatched";
    const int32_t oneWayMs = argc == 9 ? std::atoi(argv[8]) : 0;
    const char* gameName = play.fullSpeed ? kFullSpeedGame : "Unknown N64 Game";

    FakeDinput devices;
    const int32_t keyboard = devices.AddKeyboard();
    MessageBoxCatcher boxes;
    TestWindow window("Tavik_DI netplay host");
    FakeKaillera library;
    library.SetClientMode(syncMs, play.delay, kDataTimeoutMs);
    library.SetOneWayDelay(oneWayMs);
    PluginApi plugin;
    if (!plugin.Load()) return Fail("the plug-in did not load");
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    if (const std::string problem = EnableNetplayInConfigDialog(plugin, window.Handle()); !problem.empty())
        return Fail(problem.c_str());

    Emulation emulation(plugin, devices, keyboard, player, play);
    emulation.Run();
    std::string romClosedTimes;
    for (int game = 1; game <= games; ++game) {
        const std::string gameChannel = channel + "-" + std::to_string(game);
        if (!library.JoinRelay(gameChannel.c_str(), player - 1, 2)) return Fail("could not join the relay");
        // The user of the library's window starts the game while RomOpen waits for it.
        std::thread user([&] {
            if (library.WaitServerDialog(20000)) library.StartGame(gameName, player, 2);
        });
        emulation.Pause();
        plugin.RomOpen();
        user.join();
        // From here to CloseDLL only the plug-in keeps the library loaded, as in an emulator.
        if (game == 1) library.DropReference();
        emulation.BeginGame();
        if (!WaitUntil([&] { return emulation.GameRounds() >= kRounds; }, 30000 + syncMs))
            return Fail("the game did not go on");
        WriteWords(gameChannel, player, emulation.Words());
        const std::string delayLine = "Input delay : " + std::to_string(play.delay) + " frames\r\n";
        // The log window shows its lines a moment later, from a thread of its own.
        if (play.fullSpeed && play.strict &&
            !WaitUntil([&] { return NetplayLogText().find(delayLine) != std::string::npos; }, 2000))
            Problem("the log does not give the input delay: " + NetplayLogText());
        // The emulator is closed mid-game: the plug-in's detach must call nothing of the client.
        if (ending == "exits") {
            std::fputs(problems.c_str(), stderr);
            ExitProcess(problems.empty() ? 0 : 1);
        }
        if (ending == "killed") {
            HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, (channel + " ready").c_str());
            SetEvent(ready);
            Sleep(INFINITE);  // until the test kills this process
        }
        if (ending == "stays") {  // Configure during the game, the emulation thread polling meanwhile
            emulation.UiCall();
            OpenAndCancelConfiguration(plugin, window.Handle());
            emulation.UiCall();
        }
        if (ending == "closes") library.CloseServerDialog();
        if (ending != "stops" && !library.WaitGameEnd(kDataTimeoutMs + 15000)) return Fail("the game did not end");
        emulation.UiCall();
        const DWORD romClosedMs = TimedMs(plugin.RomClosed);
        emulation.UiCall();
        romClosedTimes += " " + std::to_string(romClosedMs);
        if (romClosedMs >= 100) Problem("RomClosed took " + std::to_string(romClosedMs) + " ms");
        if (!library.WaitGameEnd(5000)) Problem("the game outlived RomClosed");
        if (play.strict && !emulation.SawBothOfTheOthersKeys()) Problem("the other host's input did not come through");
        if (ending != "closes" && !library.ServerDialogOpen()) Problem("the worker left the library's window");
        Sleep(100);  // a few polls after the game: live local input, nothing from the other player
    }
    emulation.UiCall();
    OpenAndCancelConfiguration(plugin, window.Handle());
    emulation.UiCall();
    emulation.Stop();
    plugin.CloseDLL();
    if (ending != "closes" && !library.ServerDialogOpen()) Problem("CloseDLL ended the worker");
    // The library's window is still open: its client must still work for it.
    OpenAndCancelConfiguration(plugin, window.Handle());
    if (emulation.LongestPollMs() > static_cast<ULONGLONG>(std::max(kDataTimeoutMs, syncMs) + 2000))
        Problem("a poll waited beyond the library's time-out");
    plugin.Unload();
    // The user closes the library's window after the emulator unloaded the plug-in: our worker
    // returns through the plug-in's code, which must still be there, and then lets it go.
    library.CloseServerDialog();
    if (!WaitUntil([] { return GetModuleHandleA("Tavik_DI.dll") == nullptr; }, 5000))
        Problem("the plug-in stayed loaded after the library's window closed");
    Sleep(2000);  // the library's window thread goes on ticking

    std::vector<std::string> expected;
    if (ending == "survives" || ending == "closes") expected.assign(1, kTimeOut);  // nothing explains it
    // Only the full-speed side can tell: the classic side hears the other player leave.
    if (ending == "mismatched" && play.fullSpeed)
        expected.assign(1, "Error : player " + std::to_string(3 - player) +
                               " does not play the full-speed game (another plug-in or an older Tavik_DI), game stopped "
                               "!!!\r\n");
    if (boxes.Texts() != expected) Problem("unexpected message boxes (" + std::to_string(boxes.Texts().size()) + ")");
    if (!problems.empty()) return Fail("failed");
    std::printf("netplay host %d (%s): RomClosed ms%s, longest poll %llu ms\n", player, ending.c_str(),
                romClosedTimes.c_str(), static_cast<unsigned long long>(emulation.LongestPollMs()));
    return 0;
}
