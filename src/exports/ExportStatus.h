// How every export turns the condition raised inside it into its status. One
// translation serves all exports; each family answers the conditions of its
// own area and meets any other as an unexpected failure (TKW_ERR_BAD_FORMAT,
// as the public header promises). Nothing escapes an export.
#pragma once

#include <cstdint>
#include <utility>

namespace exports {

enum class Family {
  Decode,   // tkwDecode…: single sound files
  Index,    // tkrDecode…: the sound index, its archives and lists
  Playback, // tkrPlay…, tkrMix…, tkrChannel…
};

// The status for the exception being handled; call only inside a catch block.
std::int32_t CurrentExceptionStatus(Family family) noexcept;

// Runs body, answering with the status it returns or with the status of what
// it threw.
template <typename Body> std::int32_t Guarded(Family family, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return CurrentExceptionStatus(family);
  }
}

// The same; after a failure, onFailure(status) puts the export's outputs in
// the state the failure promises. It must not throw.
template <typename Body, typename OnFailure>
std::int32_t Guarded(Family family, Body&& body, OnFailure&& onFailure) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    const std::int32_t status = CurrentExceptionStatus(family);
    std::forward<OnFailure>(onFailure)(status);
    return status;
  }
}

} // namespace exports
