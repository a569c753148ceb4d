#include "netplay/netplay_log_lines.h"

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
