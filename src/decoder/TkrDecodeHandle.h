// The object behind a sound index handle: numbered sounds from archives and
// list files (the number map), the sets it owns, and single .tkw files
// registered by number (the path map, consulted first).
#pragma once

#include "decoder/RMap.h"
#include "decoder/TkrSoundSet.h"
#include "decoder/TkwMessageSink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TkwDecodeHandle;

// An enumeration of the number map in RMap order.
struct TkrIndexEnumerator {
  RMapPosition position;
};

struct TkrDecodeHandle {
public:
  // The sink hears what goes wrong in the sets and sounds of the index.
  explicit TkrDecodeHandle(TkwMessageSink sink);
  ~TkrDecodeHandle();
  TkrDecodeHandle(const TkrDecodeHandle&) = delete;
  TkrDecodeHandle& operator=(const TkrDecodeHandle&) = delete;

  // Takes the set when none of its numbers is present yet; otherwise throws
  // TKR_OverlapNumber and the index stays as it was.
  TkrSoundSet* AddSet(std::unique_ptr<TkrSoundSet> set);
  // Throws TKR_NotFound for a set that is not part of the index.
  void RemoveSet(const void* set);

  void AddPath(std::uint32_t number, std::string path);
  bool RemovePath(std::uint32_t number);

  bool Contains(std::uint32_t number) const;
  // Throws TKR_BadIndex when the number is absent; null when the sound was
  // found but cannot be opened.
  std::unique_ptr<TkwDecodeHandle> OpenSound(std::uint32_t number, std::uint32_t flags) const;

  TkrIndexEnumerator* StartEnumeration();
  // Throws TKR_NoRestIndex when no number is left.
  std::uint32_t NextNumber(TkrIndexEnumerator* enumerator);
  // False for an enumerator that this index did not hand out.
  bool IsEnumerator(const TkrIndexEnumerator* enumerator) const;
  void EndEnumeration(TkrIndexEnumerator* enumerator);

  std::size_t SetCount() const { return sets_.size(); }
  const TkwMessageSink& Sink() const { return sink_; }

private:
  struct Slot {
    TkrSoundSet* set = nullptr;
    std::size_t index = 0;
  };

  RMap<Slot> numbers_;
  std::vector<std::unique_ptr<TkrSoundSet>> sets_;
  RMap<std::string> paths_;
  std::vector<std::unique_ptr<TkrIndexEnumerator>> enumerators_;
  TkwMessageSink sink_;
};
