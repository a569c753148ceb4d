#include "netplay/netplay_log_lines.h"

#include "netplay/round_exchange.h"

#include <initializer_list>
#include <string_view>

namespace {
std::string_view Text(const char* text) { return text ? text : ""; }

std::string Join(std::initializer_list<std::string_view> parts) {
    std::string line;
    for (std::string_view part : parts) line.append(part);
    return line;
}
}  // namespace

std::string GameStartLine(const char* gameName, int32_t localController) {
    // Shown 1-based, as the players count their controllers.
    const std::string controller = std::to_string(static_cast<int64_t>(localController) + 1);
    return Join({"You play to '", Text(gameName), "' as controller", controller, "\r\n"});
}

std::string GameOverLine(const char* gameName) { return Join({"End of '", Text(gameName), "' Game\r\n"}); }

std::string ChatLine(const char* playerName, const char* text) {
    return Join({"<", Text(playerName), "> ", Text(text), "\r\n"});
}

std::string PlayerDroppedLine(const char* playerName, int32_t playerNumber) {
    const std::string number = std::to_string(playerNumber);
    return Join({"Player ", number, " as ", Text(playerName), " dropped.\r\n"});
}

std::string InputDelayLine(int32_t frames) {
    return Join({"Input delay : ", std::to_string(frames), frames == 1 ? " frame" : " frames", "\r\n"});
}

std::string OutOfStepText(const OutOfStep& fault) {
    const std::string player = "player " + std::to_string(fault.player);
    const std::string expected = std::to_string(fault.expected);
    switch (fault.kind) {
    case OutOfStep::Kind::ClassicRecord:
        return Join({"Error : ", player, " does not play the full-speed game (another plug-in or an older Tavik_DI), "
                     "game stopped !!!\r\n"});
    case OutOfStep::Kind::OtherRound:
        return Join({"Error : ", player, " is out of step (round ", std::to_string(fault.round), " instead of ",
                     expected, "), game stopped !!!\r\n"});
    case OutOfStep::Kind::NoAnswer:
        break;
    }
    return Join({"Error : Kaillera skipped round ", expected, ", game stopped !!!\r\n"});
}
