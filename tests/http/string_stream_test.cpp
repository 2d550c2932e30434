#include "http/string_stream.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmorix {
namespace {

// The stream behaves as a memory stream: a size grown ahead of the writes, writes inside the
// written part, a cut, and the zeros of a part grown but never written.
TEST(StringStream, BehavesAsAMemoryStreamAndHandsOverItsText) {
  TStringStream stream;
  stream.SetSize(10);  // as a known body length sizes the stream ahead
  EXPECT_EQ(stream.Size(), 10);
  EXPECT_EQ(stream.Position(), 0);
  stream.WriteText("abcdef");
  stream.SetPosition(2);
  stream.WriteText("XY");
  EXPECT_EQ(stream.Position(), 4);
  stream.SetPosition(6);
  EXPECT_EQ(stream.Size(), 10);
  stream.SetSize(stream.Position());  // cut where the body ended
  EXPECT_EQ(stream.TakeDataString(), "abXYef");
  EXPECT_EQ(stream.Size(), 0);

  stream.SetSize(4);
  stream.SetPosition(2);
  char read[3] = {'?', '?', '?'};
  EXPECT_EQ(stream.Read(read, 3), 2);
  EXPECT_EQ(std::string(read, 3), std::string("\0\0?", 3));
  stream.SetPosition(6);
  stream.WriteText("z");  // past the end: the gap reads as zeros
  EXPECT_EQ(stream.TakeDataString(), std::string("\0\0\0\0\0\0z", 7));
  stream.SetSize(3);
  stream.SetPosition(9);
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2);  // a position past a cut moves to the end
}

// Growing into a large room moves the text written so far into it; none of it may be lost, also
// while the pages of the announced room are backed beside the writes.
TEST(StringStream, KeepsItsTextWhenGrowingIntoALargeRoom) {
  constexpr size_t kMiB = 1024 * 1024;
  std::string piece(kMiB, '\0');
  for (size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>(i * 7 + i / 251);
  TStringStream stream;
  stream.SetSize(5 * kMiB);  // a body's reservation
  std::string expected;
  for (int i = 0; i < 12; ++i) {  // past the reservation, then by doubling
    piece[0] = static_cast<char>(i);
    stream.WriteText(piece);
    expected += piece;
  }
  stream.SetSize(40 * kMiB);  // the next reservation, with the text inside
  stream.SetSize(stream.Position());
  EXPECT_TRUE(stream.TakeDataString() == expected);
}

}  // namespace
}  // namespace pelmorix
