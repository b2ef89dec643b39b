// Archives through the sound index exports: every layout decodes exactly as
// the stand-alone files, passwords gate opening, and damaged archives are
// refused without reading outside the file.
#include "testutil/TempDir.h"
#include "testutil/TkrTestArchive.h"
#include "testutil/TkwTestWriter.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Decoded {
  std::vector<std::int16_t> samples;
  std::vector<std::int32_t> statuses;
  std::vector<std::int16_t> fromSector1;
};

// Everything a host sees of a handle: format, reads of an odd size to the end
// (and one further read that starts again), then a read from sector 1.
Decoded decodeAll(TkwDecodeHandle* handle) {
  Decoded out;
  TkwWaveFormat format{};
  EXPECT_EQ(tkwDecodeGetFormat(handle, &format), TKW_OK);
  uint32_t length = 0;
  EXPECT_EQ(tkwDecodeGetLength(handle, &length), TKW_OK);
  const std::uint32_t frames = 7777;
  std::vector<std::int16_t> buffer(frames * format.channels);
  for (std::uint32_t done = 0; done <= length; done += frames) {
    uint32_t got = 0;
    out.statuses.push_back(tkwDecodeRead(handle, buffer.data(), frames, &got));
    out.samples.insert(out.samples.end(), buffer.begin(), buffer.begin() + got * format.channels);
  }
  int32_t sectors = 0;
  EXPECT_EQ(tkwDecodeGetNumSector(handle, &sectors), TKW_OK);
  if (sectors > 1 && tkwDecodeSetSector(handle, 1) == TKW_OK) {
    uint32_t got = 0;
    tkwDecodeRead(handle, buffer.data(), frames, &got);
    out.fromSector1.assign(buffer.begin(), buffer.begin() + got * format.channels);
  }
  out.statuses.push_back(static_cast<std::int32_t>(format.samplesPerSec));
  out.statuses.push_back(format.channels);
  return out;
}

struct LayoutCase {
  const char* title;
  int codecVersion;
  std::uint16_t layout;
};

class TkrArchiveRead : public ::testing::Test {
protected:
  // Three sounds of one codec version; the first crosses a sector boundary.
  std::vector<testutil::TkwTestSound> makeSounds(int version) {
    testutil::TkwCodecParams codec;
    codec.version = version;
    std::vector<testutil::TkwTestSound> sounds;
    sounds.push_back(testutil::MakeRandomTkwSound(11 + version, codec, 1, 131072 + 300, 22050));
    sounds.push_back(testutil::MakeRandomTkwSound(21 + version, codec, 2, 5000, 44100));
    sounds.push_back(testutil::MakeRandomTkwSound(31 + version, codec, 1, 0, 8000));
    return sounds;
  }

  std::string write(const std::string& name, const Bytes& bytes) {
    testutil::WriteBytes(dir.file(name), bytes);
    return dir.file(name);
  }

  testutil::TempDir dir;
};

TEST_F(TkrArchiveRead, EverySoundDecodesLikeItsOwnFileInEveryLayoutAndMode) {
  const std::vector<LayoutCase> cases = {
      {"layout 2, codec version 2", 2, 2},
      {"layout 2, codec version 3", 3, 2},
      {"layout 2, codec version 1", 1, 2},
      {"layout 1", 1, 1},
  };
  const std::vector<std::uint32_t> numbers = {900, 5, 0xFFFFFFFFu};
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.title);
    const auto sounds = makeSounds(c.codecVersion);
    std::vector<testutil::TkrTestEntry> entries;
    for (std::size_t i = 0; i < sounds.size(); ++i)
      entries.push_back({numbers[i], sounds[i].bytes});
    const std::string archive = write("a.tkr", testutil::BuildTkrArchive(entries, "", c.layout));

    TkrDecodeHandle* index = nullptr;
    TkrSoundSetId id = nullptr;
    ASSERT_EQ(tkrDecodeOpenPass(&index, archive.c_str(), "", &id), TKW_OK);
    EXPECT_NE(id, nullptr);
    for (std::size_t i = 0; i < sounds.size(); ++i) {
      const std::string single = write(std::string("s").append(std::to_string(i)).append(".tkw"), sounds[i].bytes);
      for (const uint32_t flags : {0u, static_cast<uint32_t>(TKW_OPEN_STREAM)}) {
        SCOPED_TRACE("sound " + std::to_string(i) + " flags " + std::to_string(flags));
        TkwDecodeHandle* fromArchive = nullptr;
        TkwDecodeHandle* fromFile = nullptr;
        ASSERT_EQ(tkrDecodeTkwOpen(index, &fromArchive, numbers[i], flags), TKW_OK);
        ASSERT_NE(fromArchive, nullptr);
        ASSERT_EQ(tkwDecodeOpen(&fromFile, single.c_str(), flags), TKW_OK);
        const Decoded expected = decodeAll(fromFile);
        const Decoded actual = decodeAll(fromArchive);
        EXPECT_EQ(actual.samples, sounds[i].pcm);
        EXPECT_EQ(actual.samples, expected.samples);
        EXPECT_EQ(actual.statuses, expected.statuses);
        EXPECT_EQ(actual.fromSector1, expected.fromSector1);
        tkwDecodeClose(fromArchive);
        tkwDecodeClose(fromFile);
      }
    }
    EXPECT_EQ(tkrDecodeClose(index), TKW_OK);
  }
}

TEST_F(TkrArchiveRead, ThePasswordGatesOpening) {
  testutil::TkwCodecParams codec;
  const Bytes sound = testutil::MakeRandomTkwSound(3, codec, 1, 100).bytes;
  const std::string locked = write("locked.tkr", testutil::BuildTkrArchive({{1, sound}}, "secret"));
  const std::string high = write("high.tkr", testutil::BuildTkrArchive({{1, sound}}, "\xe9\xb5\x81"));
  const std::string open = write("open.tkr", testutil::BuildTkrArchive({{1, sound}}));
  struct Case {
    const std::string* path;
    const char* password;
    int32_t status;
  };
  const std::vector<Case> cases = {
      {&locked, "secret", TKW_OK},
      {&locked, nullptr, TKR_ERR_BAD_PASSWORD},
      {&locked, "", TKR_ERR_BAD_PASSWORD},
      {&locked, "Secret", TKR_ERR_BAD_PASSWORD},
      {&high, "\xe9\xb5\x81", TKW_OK},
      {&high, "\x69\x35\x01", TKR_ERR_BAD_PASSWORD},
      {&open, nullptr, TKW_OK},
      {&open, "", TKW_OK},
      {&open, "x", TKR_ERR_BAD_PASSWORD},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(*c.path + " / " + (c.password ? c.password : "(null)"));
    TkrDecodeHandle* index = reinterpret_cast<TkrDecodeHandle*>(1);
    TkrSoundSetId id = reinterpret_cast<TkrSoundSetId>(1);
    EXPECT_EQ(tkrDecodeOpenPass(&index, c.path->c_str(), c.password, &id), c.status);
    EXPECT_EQ(index != nullptr, c.status == TKW_OK);
    EXPECT_EQ(id != nullptr, c.status == TKW_OK);
    if (index) tkrDecodeClose(index);
  }
  TkrDecodeHandle* index = nullptr;
  ASSERT_EQ(tkrDecodeOpenNaked(&index), TKW_OK);
  EXPECT_EQ(tkrDecodeAddTkr(index, locked.c_str(), nullptr), TKR_ERR_BAD_PASSWORD);
  EXPECT_EQ(tkrDecodeAddTkrPass(index, locked.c_str(), "secret", nullptr), TKW_OK);
  tkrDecodeClose(index);
  EXPECT_EQ(tkrDecodeOpen(&index, open.c_str(), nullptr), TKW_OK);
  tkrDecodeClose(index);
}

TEST_F(TkrArchiveRead, MissingAndOverlongPathsAndNullArguments) {
  TkrDecodeHandle* index = nullptr;
  TkrSoundSetId id = nullptr;
  EXPECT_EQ(tkrDecodeOpenPass(&index, dir.file("none.tkr").c_str(), nullptr, &id), TKW_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(tkrDecodeOpenPass(&index, std::string(600, 'a').c_str(), nullptr, &id), TKW_ERR_PATH_TOO_LONG);
  EXPECT_EQ(tkrDecodeOpenPass(&index, nullptr, nullptr, &id), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkrDecodeOpenPass(nullptr, dir.file("none.tkr").c_str(), nullptr, &id), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(index, nullptr);
  EXPECT_EQ(tkrDecodeOpen(&index, dir.path().c_str(), &id), TKW_ERR_BAD_FORMAT); // a folder
}

// One way to damage a valid archive of two sounds.
struct Damage {
  const char* title;
  void (*apply)(Bytes& archive);
};

void put32(Bytes& b, std::size_t at, std::uint32_t v) { StoreLe32(&b[at], v); }
// Keeps the stored length and check word consistent so that only the damage counts.
void setLength(Bytes& b, std::uint32_t length) {
  put32(b, 4, length);
  put32(b, 8, TkrHeader::Mix(length));
}

TEST_F(TkrArchiveRead, DamagedArchivesAreRefused) {
  testutil::TkwCodecParams codec;
  const Bytes first = testutil::MakeRandomTkwSound(5, codec, 2, 3000).bytes;
  const Bytes second = testutil::MakeRandomTkwSound(6, codec, 1, 2000).bytes;
  const Bytes good = testutil::BuildTkrArchive({{1, first}, {2, second}});
  // Offsets: numbers at 20, entries at 28 (16 bytes each), data offsets at 60,
  // tables from 68 (2 + 1 entries), data from 92.
  const std::vector<Damage> damages = {
      {"another magic", [](Bytes& b) { b[3] = '!'; }},
      {"shorter than a header", [](Bytes& b) { b.resize(15); }},
      {"total length beyond the file", [](Bytes& b) { setLength(b, static_cast<std::uint32_t>(b.size() + 1)); }},
      {"cut in the middle of the data", [](Bytes& b) { b.resize(b.size() - 1); }},
      {"layout 3", [](Bytes& b) { b[12] = 3; }},
      {"codec version 4", [](Bytes& b) { put32(b, 16, 4); }},
      {"codec version 0", [](Bytes& b) { put32(b, 16, 0); }},
      {"more sounds than the index holds",
       [](Bytes& b) {
         b[14] = 0xFF;
         b[15] = 0xFF;
       }},
      {"three channels", [](Bytes& b) { b[28 + 12] = 3; }},
      {"no channels", [](Bytes& b) { b[28 + 12] = 0; }},
      {"entry count not channels × sectors", [](Bytes& b) { put32(b, 28 + 8, 3); }},
      {"a table far beyond the file",
       [](Bytes& b) {
         put32(b, 28, 0xFFFFFFFFu);
         put32(b, 28 + 8, 65536);
       }},
      {"length beyond what the table covers", [](Bytes& b) { put32(b, 28, 131073); }},
      {"offset bits beyond 14", [](Bytes& b) { b[28 + 13] = 15; }},
      {"data offset beyond the archive", [](Bytes& b) { put32(b, 60, 0xFFFFFF00u); }},
      {"data offset inside the index", [](Bytes& b) { put32(b, 64, 20); }},
      {"chunk running past the end", [](Bytes& b) { put32(b, 68 + 16 + 4, 0x70000); }},
      {"chunk larger than a chunk may be", [](Bytes& b) { put32(b, 68 + 4, 0x80001); }},
      {"chunks not back to back", [](Bytes& b) { put32(b, 68 + 8, 1); }},
  };
  const std::string path = dir.file("bad.tkr");
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.title);
    Bytes bytes = good;
    damage.apply(bytes);
    write("bad.tkr", bytes);
    TkrDecodeHandle* index = reinterpret_cast<TkrDecodeHandle*>(1);
    EXPECT_EQ(tkrDecodeOpenPass(&index, path.c_str(), nullptr, nullptr), TKW_ERR_BAD_FORMAT);
    EXPECT_EQ(index, nullptr);
  }
  write("bad.tkr", good);
  TkrDecodeHandle* index = nullptr;
  ASSERT_EQ(tkrDecodeOpenPass(&index, path.c_str(), nullptr, nullptr), TKW_OK);
  tkrDecodeClose(index);
}

} // namespace
