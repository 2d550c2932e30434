#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pelmorix {

// A growable byte block whose capacity grows in steps of 8192 bytes. Taking bytes from the
// front moves the rest forward and reports the count through BytesConsumed.
class TIdSimpleBuffer {
 public:
  using TBytesConsumedEvent = std::function<void(TIdSimpleBuffer* sender, int64_t count)>;
  static constexpr int64_t kCapacityStep = 8192;

  TIdSimpleBuffer() = default;
  virtual ~TIdSimpleBuffer();
  TIdSimpleBuffer(const TIdSimpleBuffer&) = delete;
  TIdSimpleBuffer& operator=(const TIdSimpleBuffer&) = delete;

  // The bytes that can be taken.
  virtual int64_t Size() const { return size_; }
  virtual char* Memory() { return data_; }
  int64_t Capacity() const { return capacity_; }

  // Size of the stored block; 0 releases the memory.
  void SetSize(int64_t size);
  void Append(const void* bytes, int64_t count);
  // Takes count bytes from the front; more than Size() raises EIdNotEnoughDataInBuffer.
  virtual void Discard(int64_t count);
  // The first count bytes as text, taken out.
  std::string TakeText(int64_t count);

  TBytesConsumedEvent BytesConsumed;

 protected:
  void CheckAvailable(int64_t count) const;
  void ReportConsumed(int64_t count);
  void EnsureCapacity(int64_t size);
  void ReleaseMemory();

  char* data_ = nullptr;
  int64_t size_ = 0;  // stored bytes
  int64_t capacity_ = 0;
};

}  // namespace pelmorix
