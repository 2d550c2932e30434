#include <gtest/gtest.h>

#include "http/connection_exceptions.h"
#include "http/managed_buffer.h"
#include "http/simple_buffer.h"

namespace pelmorix {
namespace {

TEST(SimpleBuffer, GrowsInStepsAndDiscardsFromTheFront) {
  TIdSimpleBuffer buffer;
  int64_t consumed = 0;
  buffer.BytesConsumed = [&](TIdSimpleBuffer*, int64_t count) { consumed += count; };
  buffer.Append("abcdef", 6);
  EXPECT_EQ(buffer.Capacity(), 8192);
  buffer.SetSize(8193);
  EXPECT_EQ(buffer.Capacity(), 16384);
  buffer.SetSize(6);
  buffer.Discard(2);
  EXPECT_EQ(std::string(buffer.Memory(), buffer.Size()), "cdef");
  EXPECT_EQ(consumed, 2);
  EXPECT_EQ(buffer.TakeText(3), "cde");
  EXPECT_EQ(consumed, 5);
  try {
    buffer.Discard(2);
    ADD_FAILURE();
  } catch (const EIdNotEnoughDataInBuffer& error) {
    EXPECT_EQ(error.Message(), "Not enough data in buffer.");
  }
  buffer.Discard(1);
  EXPECT_EQ(buffer.Size(), 0);
  EXPECT_EQ(buffer.Capacity(), 0);  // emptied: the memory is released
}

TEST(ManagedBuffer, TakesByOffsetAndMovesTheRestOnlyWhenTheEndRunsShort) {
  TIdManagedBuffer buffer;
  int64_t consumed = 0;
  buffer.BytesConsumed = [&](TIdSimpleBuffer*, int64_t count) { consumed += count; };
  std::string data;
  for (int i = 0; i < 40000; ++i) data += static_cast<char>('a' + i % 26);
  buffer.Append(data.data(), static_cast<int64_t>(data.size()));
  const int64_t capacity = buffer.Capacity();

  buffer.Discard(32767);
  EXPECT_EQ(buffer.ConsumedOffset(), 32767);
  EXPECT_EQ(buffer.Size(), 40000 - 32767);
  EXPECT_EQ(buffer.Memory()[0], data[32767]);
  // Less than 32768 taken: room at the end comes from growing, nothing moves.
  buffer.ReserveTail(capacity);
  EXPECT_EQ(buffer.ConsumedOffset(), 32767);
  EXPECT_EQ(std::string(buffer.Memory(), buffer.Size()), data.substr(32767));
  buffer.Discard(1);
  EXPECT_EQ(buffer.ConsumedOffset(), 32768);
  // Room that is there is used as it is.
  const int64_t grown = buffer.Capacity();
  buffer.ReserveTail(grown - 40000);
  EXPECT_EQ(buffer.ConsumedOffset(), 32768);
  // Room that is short once 32768 have been taken: the rest moves to the front first.
  buffer.ReserveTail(grown - 40000 + 1);
  EXPECT_EQ(buffer.ConsumedOffset(), 0);
  EXPECT_EQ(buffer.Capacity(), grown);
  EXPECT_EQ(std::string(buffer.Memory(), buffer.Size()), data.substr(32768));
  EXPECT_EQ(buffer.TakeText(2), data.substr(32768, 2));
  EXPECT_THROW(buffer.TakeText(buffer.Size() + 1), EIdNotEnoughDataInBuffer);

  buffer.Discard(buffer.Size());
  EXPECT_EQ(buffer.Size(), 0);
  EXPECT_EQ(buffer.ConsumedOffset(), 0);
  EXPECT_EQ(consumed, 40000);

  // Room reserved at the end is filled by a receive and then committed.
  char* room = buffer.ReserveTail(32768);
  room[0] = 'x';
  room[1] = 'y';
  buffer.CommitTail(2);
  EXPECT_EQ(buffer.TakeText(2), "xy");
}

TEST(ManagedBuffer, StaysSmallUnderEndlessReceivesAndTakes) {
  // Receives of 32768 bytes taken as short lines or in pieces that straddle the receives: the
  // memory stays bounded and every byte comes out in order.
  TIdManagedBuffer buffer;
  uint8_t next = 0, expected = 0;
  for (int round = 0; round < 2000; ++round) {
    const int64_t received = 1 + (round * 7919) % 32768;
    char* room = buffer.ReserveTail(32768);
    for (int64_t i = 0; i < received; ++i) room[i] = static_cast<char>(next++);
    buffer.CommitTail(received);
    int64_t take = round % 2 == 0 ? 37 : 32768;
    while (buffer.Size() >= take) {
      for (int64_t i = 0; i < take; ++i) {
        ASSERT_EQ(static_cast<uint8_t>(buffer.Memory()[i]), expected++) << round;
      }
      buffer.Discard(take);
    }
    EXPECT_LE(buffer.Capacity(), 256 * 1024) << round;
  }
}

}  // namespace
}  // namespace pelmorix
