#include "encoder_app/OutputCheck.h"

#include "cli/OutputFile.h"
#include "support/RString.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace {

std::string TooLong(const std::string& what, std::size_t length, std::size_t limit) {
  return what + " is " + std::to_string(length) + " bytes long; at most " + std::to_string(limit) + " fit";
}

} // namespace

std::string FolderWriteProblem(const std::string& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return "no such folder";
  // Only trying tells: permissions, a read-only mount, a full disk.
  std::random_device random;
  const std::filesystem::path probe =
      std::filesystem::path(folder) / (".tkwEncoder-" + std::to_string(random()) + ".tmp");
  errno = 0;
  std::FILE* file = std::fopen(probe.string().c_str(), "wb");
  if (!file) return cli::ErrorText(errno);
  std::fclose(file);
  std::filesystem::remove(probe, error);
  return {};
}

std::string OutputProblem(const std::string& outputPath) {
  // The unfinished file carries a suffix until it is complete.
  const std::size_t written = cli::OutputFile::PartialPath(outputPath).size();
  if (written >= RString::kCapacity)
    return TooLong("the output path " + outputPath, outputPath.size(),
                   RString::kCapacity - 1 - (written - outputPath.size()));
  const std::filesystem::path parent = std::filesystem::path(outputPath).parent_path();
  const std::string folder = parent.empty() ? "." : parent.string();
  std::error_code error;
  if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error))
    return "cannot write " + outputPath + ": " + folder + " is not a folder";
  if (std::string problem = FolderWriteProblem(folder); !problem.empty())
    return "cannot write " + outputPath + ": " + (problem == "no such folder" ? "no folder " + folder : problem);
  return {};
}
