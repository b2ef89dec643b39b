// A negative squared error (rounding) is shown once per file, not for every
// block: the message waits for the user.
#include "encoder/ErrorNotice.h"

#include "testutil/MessageBoxCapture.h"

#include <gtest/gtest.h>

TEST(ErrorNotice, ShownOncePerFile) {
  testutil::MessageBoxCapture capture;
  ErrorNotice notice;
  notice.NegativeError();
  notice.NegativeError();
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].text, "Error2 < 0");
  EXPECT_EQ(capture.messages()[0].caption, "FatalError");
  notice.Reset(); // the next file
  notice.NegativeError();
  EXPECT_EQ(capture.messages().size(), 2u);
}
