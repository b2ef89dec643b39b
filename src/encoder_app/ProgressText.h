// The arithmetic and texts of the progress display and the end-of-file log.
#pragma once

#include <cstdint>
#include <string>

// done x 100 / total in 64 bits, 0...100 (0 for an empty file).
int ProgressPercent(std::uint64_t total, std::uint64_t done);
// "--秒" until half is done, then the estimate from the time spent so far.
std::string RemainingTimeText(std::uint64_t total, std::uint64_t done, std::uint32_t elapsedMs);
// Whole seconds as "%d秒" or "%d分%d秒".
std::string DurationText(std::int64_t seconds);
// The two end-of-file lines: the elapsed time, and sizes with the ratio.
std::string ElapsedLine(std::int64_t seconds);
std::string RatioLine(std::uint64_t inputSize, std::uint64_t outputSize);
// "%s を作成中"
std::string CreatingLine(const char* outputPath);
