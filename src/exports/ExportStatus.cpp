#include "exports/ExportStatus.h"

#include "support/Exceptions.h"
#include "tkwDec32.h"

namespace exports {

namespace {

using FamilySet = unsigned;

constexpr FamilySet Bit(Family family) { return 1u << static_cast<unsigned>(family); }

constexpr FamilySet kDecode = Bit(Family::Decode);
constexpr FamilySet kIndex = Bit(Family::Index);
constexpr FamilySet kPlayback = Bit(Family::Playback);
constexpr FamilySet kEveryFamily = kDecode | kIndex | kPlayback;

// What a failure the library does not expect (memory running out) answers.
constexpr std::int32_t kUnexpected = TKW_ERR_BAD_FORMAT;

struct Answer {
  std::int32_t status;
  FamilySet families; // the families that answer the condition so
};

// Each condition with its status and the families whose area it belongs to.
Answer AnswerForCurrentException() noexcept {
  try {
    throw;
  } catch (const TKW_CannotOpen&) {
    return {TKW_ERR_FILE_NOT_FOUND, kDecode | kIndex}; // there, but it cannot be opened now
  } catch (const TKR_CannotOpen&) {
    return {TKW_ERR_FILE_NOT_FOUND, kIndex};
  } catch (const TKW_BadFormat&) {
    return {TKW_ERR_BAD_FORMAT, kEveryFamily};
  } catch (const TKR_BadFormat&) {
    return {TKW_ERR_BAD_FORMAT, kEveryFamily};
  } catch (const TKR_BadPassword&) {
    return {TKR_ERR_BAD_PASSWORD, kIndex};
  } catch (const TKR_OverlapNumber&) {
    return {TKR_ERR_OVERLAP, kIndex};
  } catch (const TKR_NotFound&) {
    return {TKR_ERR_NOT_IN_INDEX, kIndex};
  } catch (const TKR_BadIndex&) {
    return {TKR_ERR_NO_SOUND, kIndex};
  } catch (const TKR_NoRestIndex&) {
    return {TKR_ERR_NO_SOUND, kIndex};
  } catch (const PC_BadIndex&) {
    return {TKR_ERR_NO_SOUND, kPlayback};
  } catch (const PM_BadIndex&) {
    return {TKR_ERR_NO_SOUND, kPlayback};
  } catch (const PC_WaveDeviceAllocated&) {
    return {TKW_ERR_DEVICE_BUSY, kPlayback};
  } catch (const PM_WaveDeviceAllocated&) {
    return {TKW_ERR_DEVICE_BUSY, kPlayback};
  } catch (const PC_DeviceNotSupport&) {
    return {TKW_ERR_DEVICE_FORMAT, kPlayback};
  } catch (const PM_DeviceNotSupport&) {
    return {TKW_ERR_DEVICE_FORMAT, kPlayback};
  } catch (...) {
    return {kUnexpected, kEveryFamily};
  }
}

} // namespace

std::int32_t CurrentExceptionStatus(Family family) noexcept {
  const Answer answer = AnswerForCurrentException();
  return (answer.families & Bit(family)) != 0 ? answer.status : kUnexpected;
}

} // namespace exports
