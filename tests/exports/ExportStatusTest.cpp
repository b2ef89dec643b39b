// The one translation of conditions into statuses behind every export: each
// condition gives its status in the family whose area it belongs to, and is
// an unexpected failure (3) in the others.
#include "exports/ExportStatus.h"
#include "support/Exceptions.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using exports::Family;

struct Case {
  std::string condition;
  std::function<void()> raise;
  std::int32_t decode;   // tkwDecode…
  std::int32_t index;    // tkrDecode…
  std::int32_t playback; // tkrPlay…, tkrMix…, tkrChannel…
};

template <typename Condition> std::function<void()> Raise() {
  return [] { throw Condition(); };
}

constexpr std::int32_t kFound = TKW_ERR_FILE_NOT_FOUND;
constexpr std::int32_t kBad = TKW_ERR_BAD_FORMAT;
constexpr std::int32_t kNoSound = TKR_ERR_NO_SOUND;

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"TKW_CannotOpen", Raise<TKW_CannotOpen>(), kFound, kFound, kBad},
      {"TKR_CannotOpen", Raise<TKR_CannotOpen>(), kBad, kFound, kBad},
      {"TKW_BadFormat", Raise<TKW_BadFormat>(), kBad, kBad, kBad},
      {"TKR_BadFormat", Raise<TKR_BadFormat>(), kBad, kBad, kBad},
      {"TKR_BadPassword", Raise<TKR_BadPassword>(), kBad, TKR_ERR_BAD_PASSWORD, kBad},
      {"TKR_OverlapNumber", Raise<TKR_OverlapNumber>(), kBad, TKR_ERR_OVERLAP, kBad},
      {"TKR_NotFound", Raise<TKR_NotFound>(), kBad, TKR_ERR_NOT_IN_INDEX, kBad},
      {"TKR_BadIndex", Raise<TKR_BadIndex>(), kBad, kNoSound, kBad},
      {"TKR_NoRestIndex", Raise<TKR_NoRestIndex>(), kBad, kNoSound, kBad},
      {"PC_BadIndex", Raise<PC_BadIndex>(), kBad, kBad, kNoSound},
      {"PM_BadIndex", Raise<PM_BadIndex>(), kBad, kBad, kNoSound},
      {"PC_WaveDeviceAllocated", Raise<PC_WaveDeviceAllocated>(), kBad, kBad, TKW_ERR_DEVICE_BUSY},
      {"PM_WaveDeviceAllocated", Raise<PM_WaveDeviceAllocated>(), kBad, kBad, TKW_ERR_DEVICE_BUSY},
      {"PC_DeviceNotSupport", Raise<PC_DeviceNotSupport>(), kBad, kBad, TKW_ERR_DEVICE_FORMAT},
      {"PM_DeviceNotSupport", Raise<PM_DeviceNotSupport>(), kBad, kBad, TKW_ERR_DEVICE_FORMAT},
      // Conditions no export answers, and failures nobody expects.
      {"PP_EndPlay", Raise<PP_EndPlay>(), kBad, kBad, kBad},
      {"PC_NotTkwFile", Raise<PC_NotTkwFile>(), kBad, kBad, kBad},
      {"CopyStringError", Raise<CopyStringError>(), kBad, kBad, kBad},
      {"std::bad_alloc", Raise<std::bad_alloc>(), kBad, kBad, kBad},
      {"std::runtime_error", [] { throw std::runtime_error("x"); }, kBad, kBad, kBad},
      {"int", [] { throw 7; }, kBad, kBad, kBad},
  };
  return cases;
}

std::int32_t Expected(const Case& c, Family family) {
  switch (family) {
  case Family::Decode: return c.decode;
  case Family::Index: return c.index;
  case Family::Playback: return c.playback;
  }
  return -1;
}

constexpr Family kFamilies[] = {Family::Decode, Family::Index, Family::Playback};

TEST(ExportStatus, EachConditionGivesTheStatusOfItsFamily) {
  for (const Case& c : Cases()) {
    for (Family family : kFamilies) {
      SCOPED_TRACE(c.condition + " in family " + std::to_string(static_cast<int>(family)));
      EXPECT_EQ(exports::Guarded(family,
                                 [&]() -> std::int32_t {
                                   c.raise();
                                   return TKW_OK;
                                 }),
                Expected(c, family));
    }
  }
}

TEST(ExportStatus, AfterAFailureTheOutputsAreSetForTheStatusReturned) {
  for (const Case& c : Cases()) {
    for (Family family : kFamilies) {
      SCOPED_TRACE(c.condition + " in family " + std::to_string(static_cast<int>(family)));
      std::vector<std::int32_t> seen;
      const std::int32_t status = exports::Guarded(
          family,
          [&]() -> std::int32_t {
            c.raise();
            return TKW_OK;
          },
          [&](std::int32_t failed) { seen.push_back(failed); });
      EXPECT_EQ(status, Expected(c, family));
      EXPECT_EQ(seen, std::vector<std::int32_t>{status});
    }
  }
}

TEST(ExportStatus, AStatusTheWorkReturnsPassesUnchanged) {
  for (std::int32_t returned : {TKW_OK, TKW_ERR_FILE_NOT_FOUND, TKW_ERR_PATH_TOO_LONG, TKW_END_OF_SOUND}) {
    for (Family family : kFamilies) {
      bool failed = false;
      EXPECT_EQ(exports::Guarded(
                    family, [&] { return returned; }, [&](std::int32_t) { failed = true; }),
                returned);
      EXPECT_FALSE(failed);
    }
  }
}

} // namespace
