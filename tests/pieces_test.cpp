#include <gtest/gtest.h>

#include "common/pieces.h"

TEST(PieceName, ZeroPadsToThreeDigitsAndGrowsPastThem)
{
    const std::tuple<std::string, unsigned long, std::string> cases[] = {
        {"data", 1, "data.001"},       {"data", 7, "data.007"},
        {"data", 99, "data.099"},      {"data", 999, "data.999"},
        {"data", 1000, "data.1000"},   {"data", 1234, "data.1234"},
        {"dir/file.bin", 1, "dir/file.bin.001"}, {"x.001", 1, "x.001.001"},
        {"", 2, ".002"},               {std::string(5000, 'n'), 3, std::string(5000, 'n') + ".003"},
    };
    for (const auto& [base, k, want] : cases)
        EXPECT_EQ(qv::piece_name(base, k), want);
}
