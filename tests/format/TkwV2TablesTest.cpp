// The version-2 tables at the values the format lists.
#include "format/TkwV2Tables.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(TkwV2TablesTest, ListedValues) {
  const TkwV2Tables& t = TkwV2Tables::Get();
  EXPECT_EQ(t.length, (std::array<std::int32_t, 8>{6, 8, 16, 32, 64, 128, 256, 512}));

  const std::pair<int, int> literals[] = {{0, 0}, {1, 2}, {127, 32258}, {128, 0}, {129, -2}, {255, -32258}};
  for (auto [code, value] : literals)
    EXPECT_EQ(t.literal[code], value) << "literal " << code;

  const std::pair<int, int> contrasts[] = {{0, 0},      {1, 2063},     {32, 49667},   {62, 65519},
                                           {63, 65536}, {64, 65536},   {65, 65568},   {127, 192544},
                                           {128, 0},    {191, -65536}, {192, -65536}, {255, -192544}};
  for (auto [code, value] : contrasts)
    EXPECT_EQ(t.contrast[code], value) << "contrast " << code;

  const std::pair<int, int> brightnesses[] = {{0, 0},   {1, 16384},        {2, 65536}, {255, 1065369600},
                                              {256, 0}, {511, -1065369600}};
  for (auto [code, value] : brightnesses)
    EXPECT_EQ(t.brightness[code], value) << "brightness " << code;
  // Magnitudes never shrink as the code grows.
  for (int k = 1; k < 128; ++k)
    EXPECT_GE(t.contrast[k], t.contrast[k - 1]) << k;
}

} // namespace
