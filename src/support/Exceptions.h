// The conditions of every subsystem, as small classes thrown by value and
// caught by type where the user can be told. The prefix names the area:
// RWF_ wave input, EC_ encoder, PC_ archive building and decoder calls,
// TKW_ encoded-file reading, TKR_ archive reading, PM_ mixer, PP_ player,
// PS_ password setting.
#pragma once

#include <cstdint>

// Support
struct CopyStringError {};

// Encoder
struct RWF_FileNotExist {};
struct RWF_NotWaveFormat {};
struct RWF_NotPCMFile {};
struct EC_Not16BitWave {};
struct User_Cannceled {};

// Archive builder: each carries the 1-based list line that its message names.
struct PC_ListLineError {
  std::int32_t line = 0;
};
struct PC_BadFormat : PC_ListLineError {};
struct PC_OverlapNumber : PC_ListLineError {};
struct PC_NotTkwFile : PC_ListLineError {};
struct PC_OldTkwFile : PC_ListLineError {};
struct PC_NotSameVersion : PC_ListLineError {};

// Library
struct TKW_BadFormat {};
// A sound's file is there but cannot be opened now (no handle left, no
// access): the file may be perfectly good, so this is no bad format.
struct TKW_CannotOpen {};
struct TKR_CannotOpen {};
struct TKR_BadFormat {};
struct TKR_BadPassword {};
struct TKR_OverlapNumber {};
struct TKR_NotFound {};
struct TKR_BadIndex {};
struct TKR_NoRestIndex {};
struct PC_BadIndex {};
struct PC_WaveDeviceAllocated {};
struct PC_DeviceNotSupport {};
struct PP_EndPlay {};
struct PM_BadIndex {};
struct PM_WaveDeviceAllocated {};
struct PM_DeviceNotSupport {};
