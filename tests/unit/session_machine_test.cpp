#include "netplay/session_machine.h"

#include <gtest/gtest.h>

namespace {

using S = SessionState;

constexpr ButtonState kA{0x8000, 0, 0};
constexpr ButtonState kB{0x4000, 0, 0};

// The machine brought into `state` the way a session gets there; `game` is the game that runs.
struct Reached {
    SessionMachine machine;
    uint32_t game = 0;
};

Reached Reach(S state) {
    Reached r;
    SessionMachine& m = r.machine;
    // Each state lies one step further along a ROM's life than the one before it.
    if (state == S::GameWaiting) r.game = m.GameStarted(0, false, true).game;
    if (state == S::Idle || state == S::GameWaiting) return r;
    m.Start();
    if (state != S::WaitingForGame) r.game = m.GameStarted(0, false, true).game;
    if (state == S::Ending || state == S::GameOver || state == S::Asking) m.GameEnding(r.game);
    if (state == S::GameOver || state == S::Asking) m.HandlerLeft(r.game, true);
    if (state == S::Asking) r.game = m.GameStarted(0, false, true).game;
    EXPECT_EQ(m.State(), state);
    return r;
}

constexpr S kAllStates[] = {S::Idle,    S::WaitingForGame, S::GameWaiting, S::Asking,
                            S::Playing, S::Ending,         S::GameOver};

TEST(SessionMachine, GameOfOneRomFromStartToRomClosed) {
    SessionMachine m;
    EXPECT_TRUE(m.Start()) << "no window open yet: a worker opens one";
    EXPECT_TRUE(m.RomUsesNetplay());
    const SessionMachine::GameStart start = m.GameStarted(1, false, true);
    EXPECT_EQ(start.step, GameStep::Play);
    EXPECT_EQ(m.State(), S::Playing);
    EXPECT_EQ(m.LocalController(), 1);
    EXPECT_TRUE(m.GameEnding(start.game)) << "the handler ends the library's game";
    EXPECT_FALSE(m.GameEnding(start.game)) << "once";
    m.HandlerLeft(start.game, true);
    EXPECT_EQ(m.State(), S::GameOver);
    EXPECT_EQ(m.LocalController(), 1) << "keeps reading live input after the game";
    EXPECT_FALSE(m.Start()) << "the window is still open: RomOpen twice opens no second one";
    m.Stop();
    EXPECT_EQ(m.State(), S::Idle);
    EXPECT_FALSE(m.RomUsesNetplay());
}

TEST(SessionMachine, StopLandingInEveryState) {
    struct Expected {
        S state, after;
        bool endsLibraryGame;
    };
    const Expected table[] = {
        {S::Idle, S::Idle, false},         {S::WaitingForGame, S::Idle, false},
        {S::GameWaiting, S::GameWaiting, false},  // the next ROM's game
        {S::Asking, S::Ending, false},     {S::Playing, S::Ending, true},
        {S::Ending, S::Ending, false},     {S::GameOver, S::Idle, false},
    };
    for (const Expected& e : table) {
        Reached r = Reach(e.state);
        EXPECT_EQ(r.machine.Stop(), e.endsLibraryGame) << int(e.state);
        EXPECT_EQ(r.machine.State(), e.after) << int(e.state);
        EXPECT_FALSE(r.machine.Stop()) << "a second stop ends nothing more";
    }
}

TEST(SessionMachine, CloseLandingInEveryStateEndsEveryGameAndTheNextOnesUntilStart) {
    for (S state : kAllStates) {
        Reached r = Reach(state);
        SessionMachine& m = r.machine;
        m.Close();
        if (r.game) {
            EXPECT_EQ(m.Resume(r.game), GameStep::End) << int(state);
            EXPECT_EQ(m.Answered(r.game, true), GameStep::End) << int(state);
            m.GameEnding(r.game);
            m.HandlerLeft(r.game, true);
        }
        EXPECT_EQ(m.State(), S::Idle) << int(state);
        const SessionMachine::GameStart late = m.GameStarted(0, false, true);
        EXPECT_EQ(late.step, GameStep::End) << "no host will poll it";
        m.GameEnding(late.game);
        m.HandlerLeft(late.game, true);
        m.Start();
        EXPECT_EQ(m.GameStarted(0, false, true).step, GameStep::Play) << int(state);
    }
}

TEST(SessionMachine, GameStartedWithoutARomWaitsForTheNextOneAndIsItsFirst) {
    Reached r = Reach(S::GameWaiting);
    SessionMachine& m = r.machine;
    EXPECT_EQ(m.Resume(r.game), GameStep::Wait);
    m.Stop();  // RomClosed again: still the next ROM's
    EXPECT_EQ(m.Resume(r.game), GameStep::Wait);
    EXPECT_FALSE(m.Start()) << "RomOpen takes that game at once";
    EXPECT_EQ(m.State(), S::Playing);
    EXPECT_EQ(m.Resume(r.game), GameStep::Play) << "no replay question";
    EXPECT_EQ(Reach(S::Idle).machine.GameStarted(0, true, true).step, GameStep::Boot) << "too many: never waits";
}

TEST(SessionMachine, SecondGameOfARomAsksAndPollsDoNotWaitMeanwhile) {
    Reached r = Reach(S::Asking);
    EXPECT_EQ(r.machine.RequestExchange(1, &kA), 0u);
    EXPECT_EQ(r.machine.Answered(r.game, true), GameStep::Play);
    EXPECT_NE(r.machine.RequestExchange(2, nullptr), 0u);

    r = Reach(S::Asking);
    EXPECT_EQ(r.machine.Answered(r.game, false), GameStep::End);
    EXPECT_EQ(r.machine.State(), S::Ending);

    SessionMachine m;
    m.Start();
    const SessionMachine::GameStart booted = m.GameStarted(4, true, true);
    EXPECT_EQ(booted.step, GameStep::Boot);
    EXPECT_EQ(m.State(), S::Ending) << "polls do not wait on the box";
    EXPECT_EQ(m.LocalController(), -1);
}

TEST(SessionMachine, RomOpenDuringTheLastRomsEndingWaitsForANewGame) {
    Reached r = Reach(S::Playing);
    EXPECT_TRUE(r.machine.Stop());
    r.machine.Start();
    EXPECT_EQ(r.machine.State(), S::WaitingForGame);
    EXPECT_FALSE(r.machine.GameEnding(r.game)) << "already ended by the stop";
    r.machine.HandlerLeft(r.game, true);
    EXPECT_EQ(r.machine.State(), S::WaitingForGame);
}

TEST(SessionMachine, EachPollGetsTheExchangeMadeForItAndNoOther) {
    Reached r = Reach(S::Playing);
    SessionMachine& m = r.machine;
    const ExchangeRecord first[4] = {{1, kA}, {1, kB}};
    const ExchangeRecord second[4] = {{2, kB}, {2, kA}};
    ButtonState word{};

    const uint32_t late = m.RequestExchange(1, &kA);
    ExchangeRequest taken;
    ASSERT_TRUE(m.TakeRequest(r.game, taken));
    EXPECT_EQ(taken.ticket, late);
    EXPECT_EQ(taken.pollCount, 1u);
    EXPECT_EQ(taken.localState.buttons, kA.buttons);
    // That poll gives up; the next one asks while the first exchange is still on its way.
    const uint32_t next = m.RequestExchange(2, &kB);
    EXPECT_EQ(taken.localState.buttons, kA.buttons) << "retries send what the hand-off captured";
    m.Deliver(r.game, taken.ticket, first, 2);
    EXPECT_EQ(m.AnswerFor(next, 1, word), PollAnswer::Pending) << "the late exchange is not the next poll's";
    EXPECT_EQ(m.AnswerFor(late, 1, word), PollAnswer::Ready);
    ASSERT_TRUE(m.TakeRequest(r.game, taken));
    EXPECT_EQ(taken.ticket, next);
    ASSERT_TRUE(m.TakeRequest(r.game, taken));
    EXPECT_EQ(taken.ticket, 0u) << "taken once";
    m.Deliver(r.game, next, second, 2);
    EXPECT_EQ(m.AnswerFor(next, 1, word), PollAnswer::Ready);
    EXPECT_EQ(word.buttons, kA.buttons);

    const uint32_t superseded = m.RequestExchange(3, nullptr);
    m.RequestExchange(4, nullptr);
    EXPECT_EQ(m.AnswerFor(superseded, 0, word), PollAnswer::Never);
    const uint32_t waiting = m.RequestExchange(5, nullptr);
    m.Stop();
    EXPECT_EQ(m.AnswerFor(waiting, 0, word), PollAnswer::Never) << "the game ended";
    EXPECT_FALSE(m.TakeRequest(r.game, taken)) << "the cycle ends";
}

}  // namespace
