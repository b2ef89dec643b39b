// Wave files through the encoder, packed by the converter and read back
// through the library: every sound of the archive decodes to exactly the
// frames of its own .tkw file.
#include "LogCapture.h"
#include "converter/TkrListConverter.h"
#include "encoder/EncodeDriver.h"
#include "support/ByteOrder.h"
#include "testutil/TempDir.h"
#include "testutil/TkwTestWriter.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

class QuietCallbacks : public EncoderCallbacks {
public:
  void OnFileStart(const char*, const char*) override {}
  void OnProgress(std::uint64_t, std::uint64_t) override {}
  void OnFileEnd(std::uint64_t, std::uint64_t) override {}
  void WriteLog(const char*) override {}
};

void writeWave(const std::string& path, std::uint16_t channels, std::uint32_t rate, std::uint32_t frames,
               double frequency) {
  std::vector<std::uint8_t> bytes(44 + std::size_t{frames} * channels * 2);
  auto put = [&bytes](std::size_t at, const char* text) { std::copy(text, text + 4, bytes.begin() + at); };
  put(0, "RIFF");
  StoreLe32(&bytes[4], static_cast<std::uint32_t>(bytes.size() - 8));
  put(8, "WAVE");
  put(12, "fmt ");
  StoreLe32(&bytes[16], 16);
  StoreLe16(&bytes[20], 1);
  StoreLe16(&bytes[22], channels);
  StoreLe32(&bytes[24], rate);
  StoreLe32(&bytes[28], rate * channels * 2u);
  StoreLe16(&bytes[32], static_cast<std::uint16_t>(channels * 2));
  StoreLe16(&bytes[34], 16);
  put(36, "data");
  StoreLe32(&bytes[40], frames * channels * 2u);
  for (std::uint32_t i = 0; i < frames; ++i)
    for (std::uint16_t c = 0; c < channels; ++c) {
      const double value = 12000.0 * std::sin(frequency * (c + 1) * i / rate * 6.283185307179586);
      StoreLe16(&bytes[44 + (std::size_t{i} * channels + c) * 2],
                static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
    }
  testutil::WriteBytes(path, bytes);
}

std::vector<std::int16_t> decode(TkwDecodeHandle* handle) {
  uint32_t length = 0;
  TkwWaveFormat format{};
  tkwDecodeGetLength(handle, &length);
  tkwDecodeGetFormat(handle, &format);
  std::vector<std::int16_t> samples(std::size_t{length} * format.channels + 1000);
  uint32_t got = 0;
  EXPECT_EQ(tkwDecodeRead(handle, samples.data(), length + 1000 / format.channels, &got), TKW_END_OF_SOUND);
  EXPECT_EQ(got, length);
  samples.resize(std::size_t{got} * format.channels);
  return samples;
}

TEST(TkrRoundTrip, EncodedSoundsDecodeFromTheArchiveAsFromTheirFiles) {
  testutil::TempDir dir;
  testutil::LogCapture log;
  struct Wave {
    const char* name;
    std::uint16_t channels;
    std::uint32_t rate;
    std::uint32_t frames;
    std::uint32_t number;
  };
  const std::vector<Wave> waves = {{"a", 1, 22050, 3000, 10}, {"b", 2, 44100, 2500, 3}, {"c", 1, 8000, 300, 70000}};
  for (const int version : {2, 3}) {
    SCOPED_TRACE("codec version " + std::to_string(version));
    EncoderSettings settings;
    settings.EncodeVersion = version;
    QuietCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    std::string list;
    for (const Wave& wave : waves) {
      const std::string wavePath = dir.file(std::string(wave.name) + ".wav");
      writeWave(wavePath, wave.channels, wave.rate, wave.frames, 440.0);
      std::remove(dir.file(std::string(wave.name) + ".tkw").c_str());
      driver.EncodeOne(wavePath, dir.path());
      list += std::to_string(wave.number) + " " + wave.name + ".tkw\n";
    }
    testutil::WriteText(dir.file("list.txt"), list);

    for (const char* password : {"", "合言葉"}) {
      SCOPED_TRACE(std::string("password ") + password);
      ASSERT_EQ(TkrListConverter(password).Convert(dir.file("list.txt").c_str()), TkrListConverter::Result::Written)
          << log.lines().back();
      const std::string archive = dir.file("list.tkr");
      TkrDecodeHandle* index = nullptr;
      if (*password) {
        EXPECT_EQ(tkrDecodeOpenPass(&index, archive.c_str(), "", nullptr), TKR_ERR_BAD_PASSWORD);
        EXPECT_EQ(tkrDecodeOpenPass(&index, archive.c_str(), "合言", nullptr), TKR_ERR_BAD_PASSWORD);
      } else {
        EXPECT_EQ(tkrDecodeOpenPass(&index, archive.c_str(), "x", nullptr), TKR_ERR_BAD_PASSWORD);
      }
      ASSERT_EQ(tkrDecodeOpenPass(&index, archive.c_str(), password, nullptr), TKW_OK);
      for (const Wave& wave : waves) {
        for (const uint32_t flags : {0u, static_cast<uint32_t>(TKW_OPEN_STREAM)}) {
          TkwDecodeHandle* packed = nullptr;
          TkwDecodeHandle* single = nullptr;
          ASSERT_EQ(tkrDecodeTkwOpen(index, &packed, wave.number, flags), TKW_OK);
          ASSERT_NE(packed, nullptr);
          const std::string tkw = dir.file(std::string(wave.name) + ".tkw");
          ASSERT_EQ(tkwDecodeOpen(&single, tkw.c_str(), flags), TKW_OK);
          const auto expected = decode(single);
          EXPECT_EQ(expected.size(), std::size_t{wave.frames} * wave.channels);
          EXPECT_EQ(decode(packed), expected) << wave.name;
          tkwDecodeClose(packed);
          tkwDecodeClose(single);
        }
      }
      tkrDecodeClose(index);
    }
  }
}

// The converter packs exactly the sounds the library reads: a format word the
// library refuses is refused by the converter too, and every archive it
// writes opens.
TEST(TkrRoundTrip, TheConverterAndTheLibraryAgreeOnFormatWords) {
  testutil::TempDir dir;
  testutil::LogCapture log;
  for (const std::uint32_t word : {0u, 1u, 2u, 3u, 4u, 7u, 0xFFFFFFFFu}) {
    SCOPED_TRACE("format word " + std::to_string(word));
    testutil::TkwCodecParams codec;
    codec.version = word == 3 ? 3 : 2;
    testutil::TkwTestSound sound = testutil::MakeRandomTkwSound(word, codec, 1, 2000);
    StoreLe32(&sound.bytes[8], word);
    testutil::WriteBytes(dir.file("s.tkw"), sound.bytes);
    testutil::WriteText(dir.file("list.txt"), "5 s.tkw\n");
    std::remove(dir.file("list.tkr").c_str());

    TkwDecodeHandle* single = nullptr;
    const bool libraryReads = tkwDecodeOpen(&single, dir.file("s.tkw").c_str(), 0) == TKW_OK;
    if (single) tkwDecodeClose(single);
    const bool packed = TkrListConverter().Convert(dir.file("list.txt").c_str()) == TkrListConverter::Result::Written;
    EXPECT_EQ(packed, libraryReads);
    EXPECT_EQ(libraryReads, word == 2 || word == 3);
    if (!packed) {
      EXPECT_EQ(log.lines().back(), "1行目に記述されているファイルは、Tkwファイルではありません");
      continue;
    }
    TkrDecodeHandle* index = nullptr;
    ASSERT_EQ(tkrDecodeOpen(&index, dir.file("list.tkr").c_str(), nullptr), TKW_OK);
    TkwDecodeHandle* fromArchive = nullptr;
    ASSERT_EQ(tkrDecodeTkwOpen(index, &fromArchive, 5, 0), TKW_OK);
    ASSERT_NE(fromArchive, nullptr);
    EXPECT_EQ(decode(fromArchive), sound.pcm);
    tkwDecodeClose(fromArchive);
    tkrDecodeClose(index);
  }
}

} // namespace
