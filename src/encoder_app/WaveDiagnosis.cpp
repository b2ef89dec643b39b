#include "encoder_app/WaveDiagnosis.h"

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

constexpr const char* kResave = "save it again as a plain 16-bit PCM wave file (mono or stereo)";

std::uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::string ChunkName(const unsigned char* id) {
  std::string name;
  for (int i = 0; i < 4; ++i)
    name += id[i] >= 0x20 && id[i] < 0x7F ? static_cast<char>(id[i]) : '?';
  return "\"" + name + "\"";
}

std::string TooLong(const std::string& what, std::size_t length, std::size_t limit) {
  return what + " is " + std::to_string(length) + " bytes long; at most " + std::to_string(limit) + " fit";
}

class Reader {
public:
  explicit Reader(std::FILE* file) : file_(file) {}
  bool Read(unsigned char* into, std::size_t count) { return std::fread(into, 1, count, file_) == count; }
  bool Skip(std::uint32_t count) { return std::fseek(file_, static_cast<long>(count), SEEK_CUR) == 0; }
  long Position() const { return std::ftell(file_); }

private:
  std::FILE* file_;
};

std::string ParseProblem(Reader& in, std::uintmax_t fileSize) {
  unsigned char head[20];
  if (!in.Read(head, 12) || std::memcmp(head, "RIFF", 4) != 0) return "not a RIFF wave file; " + std::string(kResave);
  if (std::uintmax_t{Le32(head + 4)} + 8 > fileSize) return "the file is shorter than its RIFF header says (cut off?)";
  if (std::memcmp(head + 8, "WAVE", 4) != 0) return "a RIFF file, but not a wave file";
  if (!in.Read(head + 12, 8)) return "the file ends before its format chunk";
  if (std::memcmp(head + 12, "fmt ", 4) != 0)
    return "the format chunk must come first, but " + ChunkName(head + 12) + " does; " + kResave;
  const std::uint32_t fmtSize = Le32(head + 16);
  unsigned char fmt[16];
  if (fmtSize < 16 || !in.Read(fmt, 16)) return "the format chunk is too short";
  const std::uint16_t tag = Le16(fmt), channels = Le16(fmt + 2), align = Le16(fmt + 12), bits = Le16(fmt + 14);
  if (tag != 1) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%04X", tag);
    return std::string("not PCM (format tag ") + text + (tag == 0xFFFE ? ", the extensible format" : "") + "); " +
           kResave;
  }
  if (channels < 1 || channels > 2) return std::to_string(channels) + " channels; only mono and stereo are encoded";
  if (bits != 16) return std::to_string(bits) + "-bit samples; only 16-bit samples are encoded";
  if (align != channels * 2) return "its frame size (" + std::to_string(align) + " bytes) does not fit 16-bit samples";
  if (!in.Skip(fmtSize - 16)) return "the file ends inside its format chunk";
  for (;;) {
    unsigned char chunk[8];
    if (!in.Read(chunk, 8)) return "the file has no data chunk";
    const std::uint32_t size = Le32(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0) {
      const long position = in.Position();
      if (position < 0 || std::uintmax_t{size} > fileSize - static_cast<std::uintmax_t>(position))
        return "the data chunk is longer than the file (cut off?)";
      return {};
    }
    if (std::memcmp(chunk, "fact", 4) != 0)
      return "it holds a " + ChunkName(chunk) + " chunk before its samples, and only \"fact\" may stand there; " +
             kResave + ", without metadata";
    if (!in.Skip(size)) return "the file ends inside its " + ChunkName(chunk) + " chunk";
  }
}

} // namespace

std::string WaveProblem(const std::string& wavePath) {
  if (wavePath.size() >= RString::kCapacity) return TooLong("the path", wavePath.size(), RString::kCapacity - 1);
  std::error_code error;
  const auto status = std::filesystem::status(wavePath, error);
  if (!std::filesystem::exists(status)) return "no such file";
  if (std::filesystem::is_directory(status)) return "a folder, not a wave file";
  const std::uintmax_t size = std::filesystem::file_size(wavePath, error);
  errno = 0;
  std::FILE* file = std::fopen(wavePath.c_str(), "rb");
  if (!file) return "cannot be read: " + cli::ErrorText(errno);
  Reader reader(file);
  std::string problem = ParseProblem(reader, error ? 0 : size);
  std::fclose(file);
  return problem;
}

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
