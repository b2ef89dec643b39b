#include "decoder/RMap.h"
#include "testutil/MessageBoxCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint32_t> keysInOrder(RMap<int>& map) {
  std::vector<std::uint32_t> keys;
  RMapPosition position;
  std::uint32_t key = 0;
  while (map.GetNext(position, &key))
    keys.push_back(key);
  return keys;
}

TEST(RMap, HashSwapsAdjacentBitPairs) {
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
      {0, 0},
      {1, 2},
      {2, 1},
      {3, 3},
      {4, 8},
      {0x80000000u, 0x40000000u},
      {0x40000000u, 0x80000000u},
      {0xFFFFFFFFu, 0xFFFFFFFFu},
      {2087, 1051},
      {0x12345678u, 0x2138A9B4u},
  };
  for (const auto& [key, hash] : cases)
    EXPECT_EQ(RMap<int>::Hash(key), hash) << key;
  EXPECT_EQ(RMap<int>::Bucket(2087), 2u); // 1051 mod 1049, the bucket of key 1
  EXPECT_EQ(RMap<int>::Bucket(0xFFFFFFFFu), 0xFFFFFFFFu % 1049);
}

TEST(RMap, IteratesByBucketThenInInsertionOrder) {
  RMap<int> map;
  for (std::uint32_t key : {2087u, 3u, 1u, 2u, 0xFFFFFFFFu})
    map.SetAt(key, static_cast<int>(key));
  // Buckets: 2 → 1, 2087 and 1 → 2 (in the order added), 3 → 3, 0xFFFFFFFF → 439.
  EXPECT_EQ(keysInOrder(map), (std::vector<std::uint32_t>{2, 2087, 1, 3, 0xFFFFFFFFu}));

  map.SetAt(2087, 99); // overwriting keeps the place
  EXPECT_EQ(*map.Find(2087), 99);
  EXPECT_EQ(map.GetCount(), 5u);
  EXPECT_TRUE(map.RemoveKey(2087));
  EXPECT_FALSE(map.RemoveKey(2087));
  map.SetAt(2087, 1); // re-added at the end of its chain
  EXPECT_EQ(keysInOrder(map), (std::vector<std::uint32_t>{2, 1, 2087, 3, 0xFFFFFFFFu}));
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_TRUE(keysInOrder(map).empty());
}

TEST(RMap, APositionStaysSafeWhenTheMapChanges) {
  RMap<int> map;
  for (std::uint32_t key : {1u, 2087u, 3u})
    map.SetAt(key, 0);
  RMapPosition position;
  std::uint32_t key = 0;
  ASSERT_TRUE(map.GetNext(position, &key)); // 1
  ASSERT_TRUE(map.GetNext(position, &key)); // 2087
  map.RemoveKey(1);
  map.RemoveKey(2087);
  ASSERT_TRUE(map.GetNext(position, &key));
  EXPECT_EQ(key, 3u);
  EXPECT_FALSE(map.GetNext(position, &key));
  EXPECT_FALSE(map.GetNext(position, &key));
}

TEST(RMap, GetAtOfAMissingKeyIsShownAndThrown) {
  RMap<std::string> map;
  map.SetAt(5, "five");
  EXPECT_EQ(map.GetAt(5), "five");
  testutil::MessageBoxCapture boxes;
  EXPECT_THROW(map.GetAt(6), TKR_BadIndex);
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].text, "致命的エラーが発生しました : RMap::GetAt");
  EXPECT_EQ(boxes.messages()[0].caption, "デバッグ");
}

} // namespace
