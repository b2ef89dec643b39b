#include "decoder/TkrDecodeHandle.h"

#include "decoder/TkwDecodeHandle.h"
#include "support/Exceptions.h"

#include <algorithm>

TkrDecodeHandle::TkrDecodeHandle(TkwMessageSink sink) : sink_(std::move(sink)) {}
TkrDecodeHandle::~TkrDecodeHandle() = default;

TkrSoundSet* TkrDecodeHandle::AddSet(std::unique_ptr<TkrSoundSet> set) {
  const std::vector<std::uint32_t>& numbers = set->Numbers();
  for (std::uint32_t number : numbers)
    if (numbers_.Contains(number)) throw TKR_OverlapNumber();
  sets_.reserve(sets_.size() + 1); // nothing below may fail half way
  for (std::size_t i = 0; i < numbers.size(); ++i)
    numbers_.SetAt(numbers[i], Slot{set.get(), i});
  sets_.push_back(std::move(set));
  return sets_.back().get();
}

void TkrDecodeHandle::RemoveSet(const void* set) {
  const auto found = std::find_if(sets_.begin(), sets_.end(), [set](const auto& owned) { return owned.get() == set; });
  if (found == sets_.end()) throw TKR_NotFound();
  for (std::uint32_t number : (*found)->Numbers())
    numbers_.RemoveKey(number);
  sets_.erase(found);
}

void TkrDecodeHandle::AddPath(std::uint32_t number, std::string path) { paths_.SetAt(number, std::move(path)); }

bool TkrDecodeHandle::RemovePath(std::uint32_t number) { return paths_.RemoveKey(number); }

bool TkrDecodeHandle::Contains(std::uint32_t number) const {
  return paths_.Contains(number) || numbers_.Contains(number);
}

std::unique_ptr<TkwDecodeHandle> TkrDecodeHandle::OpenSound(std::uint32_t number, std::uint32_t flags) const {
  if (const std::string* path = paths_.Find(number)) {
    try {
      return TkwDecodeHandle::Open(path->c_str(), flags, sink_);
    } catch (const TKW_BadFormat&) {
      return nullptr; // the registered file has gone or changed
    } catch (const TKW_CannotOpen&) {
      return nullptr; // it is there but does not open now
    }
  }
  if (const Slot* slot = numbers_.Find(number)) return slot->set->OpenSound(slot->index, flags, sink_);
  throw TKR_BadIndex();
}

TkrIndexEnumerator* TkrDecodeHandle::StartEnumeration() {
  enumerators_.push_back(std::make_unique<TkrIndexEnumerator>());
  return enumerators_.back().get();
}

std::uint32_t TkrDecodeHandle::NextNumber(TkrIndexEnumerator* enumerator) {
  std::uint32_t number = 0;
  if (!numbers_.GetNext(enumerator->position, &number)) throw TKR_NoRestIndex();
  return number;
}

bool TkrDecodeHandle::IsEnumerator(const TkrIndexEnumerator* enumerator) const {
  return std::any_of(enumerators_.begin(), enumerators_.end(),
                     [enumerator](const auto& owned) { return owned.get() == enumerator; });
}

void TkrDecodeHandle::EndEnumeration(TkrIndexEnumerator* enumerator) {
  std::erase_if(enumerators_, [enumerator](const auto& owned) { return owned.get() == enumerator; });
}
