// The queue every device here plays from: buffers are taken in the order
// written, come back done only when used up, and follow the wave-out rules
// for preparing, resetting and closing.
#include "audio/QueuedWaveDevice.h"
#include "platform/Sync.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using audio::QueuedWaveDevice;
using audio::WaveHeader;
using audio::WaveResult;

struct Buffer {
  explicit Buffer(std::string bytes) : text(std::move(bytes)) {
    header.data = text.data();
    header.bytes = static_cast<std::uint32_t>(text.size());
  }
  std::string text;
  WaveHeader header;
};

class QueuedWaveDeviceTest : public ::testing::Test {
protected:
  std::string Play(std::uint32_t bytes) {
    std::string played;
    device_.consume(bytes, [&](const char* data, std::uint32_t size) { played.append(data, size); });
    return played;
  }

  WaveResult Queue(Buffer& buffer) {
    EXPECT_EQ(device_.prepare(buffer.header), WaveResult::Ok);
    return device_.write(buffer.header);
  }

  plat::Event done_{true, false};
  QueuedWaveDevice device_{audio::pcm16Format(1, 8000), &done_};
};

TEST_F(QueuedWaveDeviceTest, PlaysBuffersInOrderAndMarksEachDoneWhenUsedUp) {
  Buffer first("abcd"), empty(""), second("efgh");
  ASSERT_EQ(Queue(first), WaveResult::Ok);
  ASSERT_EQ(Queue(empty), WaveResult::Ok);
  ASSERT_EQ(Queue(second), WaveResult::Ok);
  EXPECT_EQ(device_.queuedBytes(), 8u);

  EXPECT_EQ(Play(3), "abc");
  EXPECT_FALSE(first.header.done()); // half played
  EXPECT_FALSE(done_.wait(0));
  EXPECT_EQ(device_.unprepare(first.header), WaveResult::StillPlaying);

  EXPECT_EQ(Play(2), "de"); // the empty buffer is passed on the way
  EXPECT_TRUE(first.header.done());
  EXPECT_TRUE(empty.header.done());
  EXPECT_FALSE(second.header.done());
  EXPECT_TRUE(done_.wait(0));
  EXPECT_EQ(device_.queuedBuffers(), 1u);
  EXPECT_EQ(device_.unprepare(first.header), WaveResult::Ok);
}

TEST_F(QueuedWaveDeviceTest, ResetHandsEveryBufferBackAndCloseWaitsForIt) {
  Buffer a("1234"), b("5678");
  ASSERT_EQ(Queue(a), WaveResult::Ok);
  ASSERT_EQ(Queue(b), WaveResult::Ok);
  EXPECT_EQ(device_.close(), WaveResult::StillPlaying); // still open
  EXPECT_EQ(device_.reset(), WaveResult::Ok);
  EXPECT_TRUE(a.header.done());
  EXPECT_TRUE(b.header.done());
  EXPECT_TRUE(done_.wait(0));
  EXPECT_EQ(Play(100), "");
  EXPECT_EQ(device_.close(), WaveResult::Ok);
  EXPECT_EQ(device_.close(), WaveResult::InvalidHandle);
}

TEST_F(QueuedWaveDeviceTest, RefusesWhatTheRulesForbid) {
  Buffer unprepared("12"), late("34");
  EXPECT_EQ(device_.write(unprepared.header), WaveResult::Unprepared);
  EXPECT_EQ(device_.queuedBuffers(), 0u);
  ASSERT_EQ(device_.close(), WaveResult::Ok);
  EXPECT_EQ(Queue(late), WaveResult::InvalidHandle);
  EXPECT_EQ(device_.queuedBuffers(), 0u);
}

} // namespace
