#include "config/decimal_text.h"
#include "config/netplay_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DecimalText, ParsesLikeAtoi) {
    EXPECT_EQ(ParseDecimal("12abc"), 12);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal(" -1"), -1);
    EXPECT_EQ(ParseDecimal("\t\n+205"), 205);
    EXPECT_EQ(ParseDecimal("-"), 0);
    EXPECT_EQ(ParseDecimal("- 5"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("007"), 7);
}

TEST(DecimalText, SaturatesBeyond32Bits) {
    EXPECT_EQ(ParseDecimal("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseDecimal("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999999999999999"), INT32_MIN);
}

TEST(DecimalText, StoredTextEndsAtNulOrLength) {
    const char withNul[] = {'4', '2', '\0', '9', '9'};
    EXPECT_EQ(StoredText(withNul, sizeof withNul), "42");
    // A value that fills the whole buffer has no terminator: nothing past it may be read.
    std::string full(260, '7');
    EXPECT_EQ(StoredText(full.data(), 260).size(), 260u);
    EXPECT_EQ(ParseDecimal(StoredText("5\0", 2)), 5);
}

TEST(DecimalText, FormatsLikePercentD) {
    char buffer[256];
    EXPECT_EQ(FormatDecimal(-1, buffer, sizeof buffer), 2u);
    EXPECT_STREQ(buffer, "-1");
    FormatDecimal(INT32_MIN, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "-2147483648");
    EXPECT_EQ(ParseDecimal(buffer), INT32_MIN);
}

TEST(NetplaySettings, DllPathIsCutTo255Characters) {
    NetplaySettings settings;
    EXPECT_STREQ(settings.Dll, ".\\kailleraclient.dll");
    const std::string long_path(259, 'p');
    SetDllPath(settings, long_path);
    EXPECT_EQ(std::string(settings.Dll), std::string(255, 'p'));
    SetDllPath(settings, "c:\\k.dll");
    EXPECT_STREQ(settings.Dll, "c:\\k.dll");
    EXPECT_EQ(settings.Dll[255], '\0');
}

}  // namespace
