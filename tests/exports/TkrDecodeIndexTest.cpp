// The sound index: numbers from archives, lists and single files, their
// precedence, enumeration order, removal and the life of opened handles.
#include "platform/Files.h"
#include "testutil/MessageBoxCapture.h"
#include "testutil/TempDir.h"
#include "testutil/TkrTestArchive.h"
#include "testutil/TkwTestWriter.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class TkrDecodeIndex : public ::testing::Test {
protected:
  void SetUp() override {
    testutil::TkwCodecParams codec;
    for (std::uint32_t i = 0; i < 4; ++i)
      sounds.push_back(testutil::MakeRandomTkwSound(40 + i, codec, 1, 1000 + i));
    // 2087 and 1 share bucket 2; 2 is in bucket 1 and 3 in bucket 3.
    archive = write("a.tkr",
                    testutil::BuildTkrArchive(
                        {{2087, sounds[0].bytes}, {3, sounds[1].bytes}, {1, sounds[2].bytes}, {2, sounds[3].bytes}}));
    single = write("single.tkw", sounds[3].bytes);
    ASSERT_EQ(tkrDecodeOpenNaked(&index), TKW_OK);
  }
  void TearDown() override { tkrDecodeClose(index); }

  std::string write(const std::string& name, const Bytes& bytes) {
    testutil::WriteBytes(dir.file(name), bytes);
    return dir.file(name);
  }

  std::vector<std::uint32_t> enumerate() {
    TkrIndexEnumerator* enumerator = nullptr;
    EXPECT_EQ(tkrDecodeFindIndex(index, &enumerator), TKW_OK);
    std::vector<std::uint32_t> numbers;
    uint32_t number = 0;
    while (tkrDecodeGetIndex(index, enumerator, &number) == TKW_OK)
      numbers.push_back(number);
    EXPECT_EQ(number, 0u);
    EXPECT_EQ(tkrDecodeFindClose(index, enumerator), TKW_OK);
    return numbers;
  }

  // The length of the sound a number opens, 0 when it opens nothing.
  uint32_t lengthOf(std::uint32_t number) {
    TkwDecodeHandle* sound = nullptr;
    if (tkrDecodeTkwOpen(index, &sound, number, 0) != TKW_OK || sound == nullptr) return 0;
    uint32_t length = 0;
    tkwDecodeGetLength(sound, &length);
    tkwDecodeClose(sound);
    return length;
  }

  int32_t exists(std::uint32_t number) {
    int32_t flag = -1;
    EXPECT_EQ(tkrDecodeIsTkwExist(index, number, &flag), TKW_OK);
    return flag;
  }

  testutil::TempDir dir;
  std::vector<testutil::TkwTestSound> sounds;
  std::string archive;
  std::string single;
  TkrDecodeHandle* index = nullptr;
};

TEST_F(TkrDecodeIndex, EnumerationFollowsTheMapOrder) {
  uint32_t number = 7;
  TkrIndexEnumerator* enumerator = nullptr;
  ASSERT_EQ(tkrDecodeFindIndex(index, &enumerator), TKW_OK);
  EXPECT_EQ(tkrDecodeGetIndex(index, enumerator, &number), TKR_ERR_NO_SOUND);
  EXPECT_EQ(number, 0u);
  EXPECT_EQ(tkrDecodeFindClose(index, enumerator), TKW_OK);
  EXPECT_EQ(tkrDecodeFindClose(index, enumerator), TKW_ERR_NULL_ARGUMENT); // already freed

  ASSERT_EQ(tkrDecodeAddTkr(index, archive.c_str(), nullptr), TKW_OK);
  ASSERT_EQ(tkrDecodeAddTkw(index, single.c_str(), 77), TKW_OK); // single files are not enumerated
  EXPECT_EQ(enumerate(), (std::vector<std::uint32_t>{2, 2087, 1, 3}));
}

TEST_F(TkrDecodeIndex, AddingTheSameArchiveTwiceIsAnOverlapAndChangesNothing) {
  TkrSoundSetId first = nullptr;
  TkrSoundSetId second = reinterpret_cast<TkrSoundSetId>(1);
  ASSERT_EQ(tkrDecodeAddTkr(index, archive.c_str(), &first), TKW_OK);
  EXPECT_EQ(tkrDecodeAddTkr(index, archive.c_str(), &second), TKR_ERR_OVERLAP);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(enumerate(), (std::vector<std::uint32_t>{2, 2087, 1, 3}));
  EXPECT_EQ(lengthOf(3), 1001u);
  // The one archive is removed once; its numbers are gone with it.
  EXPECT_EQ(tkrDecodeRemoveTkr(index, first), TKW_OK);
  EXPECT_EQ(tkrDecodeRemoveTkr(index, first), TKR_ERR_NOT_IN_INDEX);
  EXPECT_TRUE(enumerate().empty());
  EXPECT_EQ(exists(3), 0);
  EXPECT_EQ(tkrDecodeAddTkr(index, archive.c_str(), &second), TKW_OK);
}

TEST_F(TkrDecodeIndex, ASingleFileOverridesAnArchiveNumberUntilRemoved) {
  ASSERT_EQ(tkrDecodeAddTkr(index, archive.c_str(), nullptr), TKW_OK);
  EXPECT_EQ(lengthOf(2087), 1000u);
  ASSERT_EQ(tkrDecodeAddTkw(index, single.c_str(), 2087), TKW_OK);
  EXPECT_EQ(lengthOf(2087), 1003u);
  ASSERT_EQ(tkrDecodeAddTkw(index, write("other.tkw", sounds[1].bytes).c_str(), 2087), TKW_OK); // replaces
  EXPECT_EQ(lengthOf(2087), 1001u);
  EXPECT_EQ(tkrDecodeRemoveTkw(index, 2087), TKW_OK);
  EXPECT_EQ(lengthOf(2087), 1000u);
  EXPECT_EQ(tkrDecodeRemoveTkw(index, 2087), TKW_ERR_BAD_FORMAT);

  ASSERT_EQ(tkrDecodeAddTkw(index, single.c_str(), 500), TKW_OK);
  EXPECT_EQ(exists(500), 1);
  EXPECT_EQ(exists(501), 0);
  EXPECT_EQ(tkrDecodeAddTkw(index, dir.file("none.tkw").c_str(), 9), TKW_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(tkrDecodeAddTkw(index, archive.c_str(), 9), TKW_ERR_BAD_FORMAT);
  EXPECT_EQ(exists(9), 0);

  // A registered file that has gone: found, but no handle.
  std::remove(single.c_str());
  TkwDecodeHandle* sound = reinterpret_cast<TkwDecodeHandle*>(1);
  EXPECT_EQ(tkrDecodeTkwOpen(index, &sound, 500, 0), TKW_OK);
  EXPECT_EQ(sound, nullptr);
  EXPECT_EQ(tkrDecodeTkwOpen(index, &sound, 501, 0), TKR_ERR_NO_SOUND);
  EXPECT_EQ(sound, nullptr);
}

TEST_F(TkrDecodeIndex, HandlesFromAnArchiveOutliveTheIndex) {
  TkrSoundSetId id = nullptr;
  ASSERT_EQ(tkrDecodeAddTkr(index, archive.c_str(), &id), TKW_OK);
  TkwDecodeHandle* afterRemove = nullptr;
  TkwDecodeHandle* afterClose = nullptr;
  ASSERT_EQ(tkrDecodeTkwOpen(index, &afterRemove, 3, 0), TKW_OK);
  ASSERT_EQ(tkrDecodeTkwOpen(index, &afterClose, 1, TKW_OPEN_STREAM), TKW_OK);
  ASSERT_EQ(tkrDecodeRemoveTkr(index, id), TKW_OK);
  ASSERT_EQ(tkrDecodeClose(index), TKW_OK);
  index = nullptr;
  for (auto [handle, sound] : {std::pair{afterRemove, &sounds[1]}, std::pair{afterClose, &sounds[2]}}) {
    std::vector<std::int16_t> pcm(sound->pcm.size());
    uint32_t got = 0;
    EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), static_cast<uint32_t>(pcm.size()), &got), TKW_END_OF_SOUND);
    EXPECT_EQ(pcm, sound->pcm);
    tkwDecodeClose(handle);
  }
}

TEST_F(TkrDecodeIndex, ListFilesRegisterTheirNumbers) {
  const std::string folder = dir.file("lists");
  ASSERT_TRUE(plat::makeDirectory(folder.c_str()));
  testutil::WriteBytes(folder + plat::kPathSeparator + "voice.tkw", sounds[0].bytes);
  testutil::WriteBytes(folder + plat::kPathSeparator + "other.tkw", sounds[1].bytes);
  const std::string list = folder + plat::kPathSeparator + "list.txt";
  testutil::WriteText(list, "12 voice.tkw\n;13 other.tkw\n\n14\tother.tkw\n");
  testutil::ScopedCurrentDirectory elsewhere(dir.path());

  TkrSoundSetId id = nullptr;
  ASSERT_EQ(tkrDecodeAddList(index, list.c_str(), &id), TKW_OK);
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(lengthOf(12), 1000u);
  EXPECT_EQ(exists(13), 0);
  EXPECT_EQ(lengthOf(14), 1001u);
  EXPECT_EQ(enumerate(), (std::vector<std::uint32_t>{12, 14}));
  EXPECT_EQ(tkrDecodeAddList(index, list.c_str(), nullptr), TKR_ERR_OVERLAP);
  EXPECT_EQ(tkrDecodeAddList(index, dir.file("none.txt").c_str(), nullptr), TKW_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(tkrDecodeAddList(index, folder.c_str(), nullptr), TKW_ERR_FILE_NOT_FOUND); // a folder

  // A sound of the list that no longer opens gives status 0 and no handle.
  std::remove((folder + plat::kPathSeparator + "voice.tkw").c_str());
  TkwDecodeHandle* sound = reinterpret_cast<TkwDecodeHandle*>(1);
  EXPECT_EQ(tkrDecodeTkwOpen(index, &sound, 12, 0), TKW_OK);
  EXPECT_EQ(sound, nullptr);
  EXPECT_EQ(tkrDecodeRemoveTkr(index, id), TKW_OK);
  EXPECT_TRUE(enumerate().empty());
}

TEST_F(TkrDecodeIndex, AListWithoutAFolderFindsItsSoundsInTheCurrentDirectory) {
  testutil::ScopedCurrentDirectory inside(dir.path());
  testutil::WriteText(dir.file("bare.txt"), "8 single.tkw\n");
  ASSERT_EQ(tkrDecodeAddList(index, "bare.txt", nullptr), TKW_OK);
  EXPECT_EQ(lengthOf(8), 1003u);
}

// A list of `count` entries, each naming v.tkw.
std::string manyEntries(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += std::to_string(i) + " v.tkw\n";
  return text;
}

TEST_F(TkrDecodeIndex, ABadListLineIsShownAndTheListAddsNothing) {
  testutil::WriteBytes(dir.file("v.tkw"), sounds[0].bytes);
  testutil::WriteText(dir.file("text.tkw"), "not a sound, but long enough to be mistaken for one at first glance\n");
  struct Case {
    const char* title;
    std::string list;
    std::string text;
  };
  const std::string missing = "行目に不正な記述があります(ファイルが存在しません)\n処理を中断します。";
  const std::vector<Case> cases = {
      {"missing file", "1 v.tkw\n;x\n3 gone.tkw\n", "3" + missing},
      {"line longer than 254 characters", "1 v.tkw\n2 " + std::string(300, 'v') + "\n", "2" + missing},
      {"not a sound file", "1 v.tkw\n2 text.tkw\n", "2行目に記述されているファイルは、Tkwファイルではありません"},
      {"more entries than an archive holds", manyEntries(65536), "65536" + missing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    testutil::WriteText(dir.file("bad.txt"), c.list);
    testutil::MessageBoxCapture boxes;
    TkrSoundSetId id = reinterpret_cast<TkrSoundSetId>(1);
    EXPECT_EQ(tkrDecodeAddList(index, dir.file("bad.txt").c_str(), &id), TKW_OK);
    EXPECT_EQ(id, nullptr);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages()[0].text, c.text);
    EXPECT_EQ(boxes.messages()[0].caption, "TkrConverter用のリストに起因するエラー");
    EXPECT_EQ(exists(1), 0);
  }
}

TEST_F(TkrDecodeIndex, NullArgumentsGiveStatus1) {
  TkrDecodeHandle* none = nullptr;
  TkwDecodeHandle* sound = reinterpret_cast<TkwDecodeHandle*>(1);
  TkrIndexEnumerator* enumerator = reinterpret_cast<TkrIndexEnumerator*>(1);
  uint32_t number = 0;
  int32_t flag = 0;
  const std::vector<std::pair<const char*, int32_t>> statuses = {
      {"OpenNaked", tkrDecodeOpenNaked(nullptr)},
      {"Open", tkrDecodeOpen(nullptr, archive.c_str(), nullptr)},
      {"AddTkr", tkrDecodeAddTkr(none, archive.c_str(), nullptr)},
      {"AddTkrPass path", tkrDecodeAddTkrPass(index, nullptr, "", nullptr)},
      {"RemoveTkr", tkrDecodeRemoveTkr(index, nullptr)},
      {"AddTkw", tkrDecodeAddTkw(index, nullptr, 1)},
      {"RemoveTkw", tkrDecodeRemoveTkw(none, 1)},
      {"AddList", tkrDecodeAddList(index, nullptr, nullptr)},
      {"IsTkwExist", tkrDecodeIsTkwExist(index, 1, nullptr)},
      {"TkwOpen", tkrDecodeTkwOpen(none, &sound, 1, 0)},
      {"FindIndex", tkrDecodeFindIndex(none, &enumerator)},
      {"GetIndex", tkrDecodeGetIndex(index, nullptr, &number)},
      {"FindClose", tkrDecodeFindClose(index, nullptr)},
      {"Close", tkrDecodeClose(nullptr)},
  };
  for (const auto& [name, status] : statuses)
    EXPECT_EQ(status, TKW_ERR_NULL_ARGUMENT) << name;
  EXPECT_EQ(sound, nullptr);
  EXPECT_EQ(enumerator, nullptr);
  EXPECT_EQ(tkrDecodeIsTkwExist(none, 1, &flag), TKW_ERR_NULL_ARGUMENT);
}

} // namespace
