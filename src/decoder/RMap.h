// The hash map of sound numbers: 1049 buckets chosen by a bit-pair swap of
// the 32-bit key, each a chain in insertion order. Iteration visits the
// buckets in order and each chain from its head, so the order of keys is a
// fixed function of the keys and of the order they were added; hosts that
// enumerate numbers see that order.
#pragma once

#include "platform/UserInterface.h"
#include "support/Exceptions.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// A place in an RMap's iteration order. It stays safe to use after the map
// changes (it then may skip or repeat a key, never read outside the map).
struct RMapPosition {
  std::uint32_t bucket = 0;
  std::size_t index = 0;
};

template <typename Value> class RMap {
public:
  static constexpr std::uint32_t kBucketCount = 1049;

  // Swaps each pair of adjacent bits.
  static constexpr std::uint32_t Hash(std::uint32_t key) {
    return ((key >> 1) & 0x55555555u) | ((key & 0xD5555555u) << 1);
  }
  static constexpr std::uint32_t Bucket(std::uint32_t key) { return Hash(key) % kBucketCount; }

  // Overwrites the value of an existing key; a new key goes to the end of its chain.
  void SetAt(std::uint32_t key, Value value) {
    if (Value* existing = Find(key)) {
      *existing = std::move(value);
      return;
    }
    buckets_[Bucket(key)].emplace_back(key, std::move(value));
    ++count_;
  }

  Value* Find(std::uint32_t key) {
    for (auto& node : buckets_[Bucket(key)])
      if (node.first == key) return &node.second;
    return nullptr;
  }
  const Value* Find(std::uint32_t key) const { return const_cast<RMap*>(this)->Find(key); }
  bool Contains(std::uint32_t key) const { return Find(key) != nullptr; }

  // Callers test for the key first; a missing key is a fault of the program,
  // shown and thrown as TKR_BadIndex.
  Value& GetAt(std::uint32_t key) {
    if (Value* value = Find(key)) return *value;
    plat::messageBox("致命的エラーが発生しました : RMap::GetAt", "デバッグ");
    throw TKR_BadIndex();
  }

  bool RemoveKey(std::uint32_t key) {
    auto& chain = buckets_[Bucket(key)];
    for (auto node = chain.begin(); node != chain.end(); ++node) {
      if (node->first == key) {
        chain.erase(node);
        --count_;
        return true;
      }
    }
    return false;
  }

  void RemoveAll() {
    for (auto& chain : buckets_)
      chain.clear();
    count_ = 0;
  }

  std::size_t GetCount() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }

  using Position = RMapPosition;

  // The key and value at or after `position`, advancing it past them; false
  // when the iteration is over.
  bool GetNext(Position& position, std::uint32_t* key, Value** value = nullptr) {
    for (; position.bucket < kBucketCount; ++position.bucket, position.index = 0) {
      auto& chain = buckets_[position.bucket];
      if (position.index < chain.size()) {
        auto& node = chain[position.index++];
        if (key) *key = node.first;
        if (value) *value = &node.second;
        return true;
      }
    }
    return false;
  }

  template <typename Visit> void ForEach(Visit&& visit) const {
    for (const auto& chain : buckets_)
      for (const auto& node : chain)
        visit(node.first, node.second);
  }

private:
  std::array<std::vector<std::pair<std::uint32_t, Value>>, kBucketCount> buckets_;
  std::size_t count_ = 0;
};
