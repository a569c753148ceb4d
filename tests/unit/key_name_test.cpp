#include "ui/key_name.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The codes up to 237 that have no name, as ranges.
const std::vector<std::pair<int, int>> kUnnamedRanges = {
    {84, 85},   {89, 99},   {103, 111}, {113, 114}, {116, 120}, {122, 122}, {124, 124}, {127, 140},
    {142, 143}, {152, 152}, {154, 155}, {158, 159}, {163, 163}, {165, 173}, {175, 175}, {177, 177},
    {180, 180}, {182, 182}, {185, 196}, {198, 198}, {202, 202}, {204, 204}, {206, 206}, {212, 218},
    {224, 226}, {228, 228}};

bool Unnamed(int code) {
    for (const auto& [first, last] : kUnnamedRanges)
        if (code >= first && code <= last) return true;
    return false;
}

TEST(KeyNameTest, EveryCodeUpTo237IsNamedOnceUnlessListedAsUnnamed) {
    std::set<std::string> names;
    int named = 0;
    int unnamed = 0;
    for (int code = 1; code <= 237; ++code) {
        const std::string name = KeyName(code);
        if (Unnamed(code)) {
            char expected[16];
            std::snprintf(expected, sizeof expected, "DIK_(%3d)", code);
            EXPECT_EQ(name, expected) << code;
            ++unnamed;
        } else {
            EXPECT_NE(name.rfind("DIK", 0), std::string::npos) << code;
            EXPECT_EQ(name.find('('), std::string::npos) << code << " " << name;
            EXPECT_LE(name.size(), 16u) << code;
            EXPECT_TRUE(names.insert(name).second) << "name used twice: " << name;
            ++named;
        }
    }
    EXPECT_EQ(named, 144);
    EXPECT_EQ(unnamed, 93);
}

TEST(KeyNameTest, NamesKeepTheirOwnSpellings) {
    EXPECT_EQ(KeyName(0x0D), "DIK_EQUAL");
    EXPECT_EQ(KeyName(0x37), "DIK_MULTIPlY");
    EXPECT_EQ(KeyName(0x44), "DIKF_10");
    EXPECT_EQ(KeyName(0x4A), "DIK_SUBSTRACT");
    EXPECT_EQ(KeyName(0x73), "DIK_ADNT_C1");
    EXPECT_EQ(KeyName(0x01), "DIK_ESCAPE");
    EXPECT_EQ(KeyName(0x90), "DIK_PREVTRACK");
    EXPECT_EQ(KeyName(0xED), "DIK_MEDIASELECT");
    EXPECT_EQ(KeyName(0xC8), "DIK_UP");
    EXPECT_EQ(KeyName(0x2A), "DIK_LSHIFT");
}

TEST(KeyNameTest, CodesOutsideTheTableTakeTheNumericForm) {
    EXPECT_EQ(KeyName(0), "DIK_(  0)");
    EXPECT_EQ(KeyName(-1), "DIK_( -1)");
    EXPECT_EQ(KeyName(84), "DIK_( 84)");
    EXPECT_EQ(KeyName(238), "DIK_(238)");
    EXPECT_EQ(KeyName(255), "DIK_(255)");
    EXPECT_EQ(KeyName(1000), "DIK_(1000)");
    EXPECT_EQ(KeyName(INT32_MIN), "DIK_(-2147483648)");
}

}  // namespace
