// Files that are not valid sounds are refused at open with status 3, before
// the decoder could read or allocate on their word; paths that cannot be
// held are refused before anything is opened.
#include "testutil/TempDir.h"
#include "testutil/TkwTestWriter.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Store32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Load32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

testutil::TkwTestSound Sound(int version) {
  testutil::TkwCodecParams codec;
  codec.version = version;
  return testutil::MakeRandomTkwSound(3, codec, 2, 1000);
}

// Field offsets of the two layouts.
struct Layout {
  int version;
  std::size_t length, entries, channels, offsetBits, table;
};
constexpr Layout kV2{2, 12, 20, 24, 25, 28};
constexpr Layout kV1{1, 8, 16, 24, 27, 32};

struct Corruption {
  const char* name;
  Layout layout;
  std::function<void(Bytes&)> apply;
};

std::vector<Corruption> Corruptions() {
  std::vector<Corruption> list;
  for (const Layout l : {kV2, kV1}) {
    const std::size_t t = l.table;
    auto add = [&](const char* name, std::function<void(Bytes&)> f) { list.push_back({name, l, std::move(f)}); };
    add("unknown magic", [](Bytes& b) { b[3] = '#'; });
    add("empty file", [](Bytes& b) { b.clear(); });
    add("header cut short", [](Bytes& b) { b.resize(20); });
    add("declared size beyond the file", [](Bytes& b) { Store32(b, 4, static_cast<std::uint32_t>(b.size()) + 1); });
    add("table cut short", [t](Bytes& b) {
      b.resize(t + 12);
      Store32(b, 4, static_cast<std::uint32_t>(b.size()));
    });
    add("entry count too large", [l](Bytes& b) { Store32(b, l.entries, 3); });
    add("entry count too small", [l](Bytes& b) { Store32(b, l.entries, 1); });
    add("huge length with a matching entry count", [l](Bytes& b) {
      Store32(b, l.length, 0xFFFFFFFFu);
      Store32(b, l.entries, 65536);
    });
    add("no channels", [l](Bytes& b) {
      b[l.channels] = 0;
      Store32(b, l.entries, 0);
    });
    add("three channels", [l](Bytes& b) {
      b[l.channels] = 3;
      Store32(b, l.entries, 3);
    });
    add("offset bits above 14", [l](Bytes& b) { b[l.offsetBits] = 15; });
    add("chunk larger than 524288 bytes", [t](Bytes& b) { Store32(b, t + 4, 524289); });
    add("last chunk runs past the end", [t](Bytes& b) { Store32(b, t + 12, Load32(b, t + 12) + 4); });
    add("file cut inside the chunks", [](Bytes& b) {
      b.resize(b.size() - 1);
      Store32(b, 4, static_cast<std::uint32_t>(b.size()));
    });
    add("chunks not back to back", [t](Bytes& b) { Store32(b, t + 8, Load32(b, t + 8) + 4); });
    add("chunk offsets wrapping around", [t](Bytes& b) {
      Store32(b, t + 0, 0xFFFFFFF0u);
      Store32(b, t + 8, 0xFFFFFFF0u + Load32(b, t + 4));
    });
  }
  // The converter refuses the same words, so it never packs a sound that
  // would make its archive unreadable.
  for (std::uint32_t word : {0u, 1u, 4u, 7u, 0xFFFFFFFFu})
    list.push_back({"a format word of no known version", kV2, [word](Bytes& b) { Store32(b, 8, word); }});
  list.push_back({"v1 contrast bits above 32", kV1, [](Bytes& b) { b[25] = 33; }});
  list.push_back({"v1 brightness bits above 32", kV1, [](Bytes& b) { b[26] = 40; }});
  return list;
}

TEST(TkwBadFileTest, EveryCorruptionIsRefusedWithStatus3) {
  testutil::TempDir dir;
  const std::string path = dir.file("bad.tkw");
  for (const Corruption& c : Corruptions()) {
    SCOPED_TRACE(::testing::Message() << "version " << c.layout.version << ": " << c.name);
    Bytes bytes = Sound(c.layout.version).bytes;
    c.apply(bytes);
    testutil::WriteBytes(path, bytes);
    for (std::uint32_t flags : {0u, static_cast<std::uint32_t>(TKW_OPEN_STREAM)}) {
      TkwDecodeHandle* handle = reinterpret_cast<TkwDecodeHandle*>(&dir);
      EXPECT_EQ(tkwDecodeOpen(&handle, path.c_str(), flags), TKW_ERR_BAD_FORMAT);
      EXPECT_EQ(handle, nullptr);
    }
  }
}

TEST(TkwBadFileTest, ValidVariantsOpen) {
  struct Case {
    const char* name;
    int version;
    std::function<void(Bytes&)> apply;
  };
  const Case cases[] = {
      {"v2 as written", 2, [](Bytes&) {}},
      {"v1 as written", 1, [](Bytes&) {}},
      {"v3 as written", 3, [](Bytes&) {}},
      {"bytes after the last chunk", 2, [](Bytes& b) { b.insert(b.end(), 100, 0xEE); }},
      {"declared size below the file size", 2, [](Bytes& b) { Store32(b, 4, 28); }},
      {"v1 format word is not looked at", 1, [](Bytes& b) { Store32(b, 28, 99); }},
  };
  testutil::TempDir dir;
  const std::string path = dir.file("ok.tkw");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = Sound(c.version).bytes;
    c.apply(bytes);
    testutil::WriteBytes(path, bytes);
    TkwDecodeHandle* handle = nullptr;
    ASSERT_EQ(tkwDecodeOpen(&handle, path.c_str(), 0), TKW_OK);
    std::vector<std::int16_t> pcm(2000);
    EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), 1000, nullptr), TKW_END_OF_SOUND);
    EXPECT_EQ(pcm, Sound(c.version).pcm);
    EXPECT_EQ(tkwDecodeClose(handle), TKW_OK);
  }
}

TEST(TkwBadFileTest, PathsAndMissingFiles) {
  testutil::TempDir dir;
  const std::string path = dir.file("ok.tkw");
  testutil::WriteBytes(path, Sound(2).bytes);
  // Pad the path with separators, which name the same file, up to a length.
  auto padded = [&](std::size_t length) {
    const std::string folder = dir.path();
    const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
    return folder + std::string(length - folder.size() - 6, separator) + "ok.tkw";
  };
  struct Case {
    std::string path;
    std::int32_t status;
  };
  const Case cases[] = {
      {path, TKW_OK},
      {dir.file("missing.tkw"), TKW_ERR_FILE_NOT_FOUND},
      {dir.file("no-folder") + "/missing.tkw", TKW_ERR_FILE_NOT_FOUND},
#ifndef _WIN32 // Windows itself refuses paths this long
      {padded(499), TKW_OK},
#endif
      {padded(500), TKW_ERR_PATH_TOO_LONG},
      {std::string(4000, 'x'), TKW_ERR_PATH_TOO_LONG},
      {dir.path(), TKW_ERR_BAD_FORMAT},        // a folder is no sound
      {dir.file("*.tkw"), TKW_ERR_BAD_FORMAT}, // a pattern matches the sound but names no file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.size());
    TkwDecodeHandle* handle = reinterpret_cast<TkwDecodeHandle*>(&dir);
    EXPECT_EQ(tkwDecodeOpen(&handle, c.path.c_str(), 0), c.status);
    EXPECT_EQ(handle == nullptr, c.status != TKW_OK);
    if (handle) tkwDecodeClose(handle);
  }
}

} // namespace
