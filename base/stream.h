#pragma once

#include <cstdint>
#include <string>

#include "base/exception.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EStreamError, Exception);
PELMORIX_DECLARE_EXCEPTION(EReadError, EStreamError);
PELMORIX_DECLARE_EXCEPTION(EWriteError, EStreamError);
PELMORIX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
PELMORIX_DECLARE_EXCEPTION(EFOpenError, EStreamError);

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A byte stream with a position. Read and Write move the position by what they transferred.
class TStream {
 public:
  virtual ~TStream() = default;

  // Transfer up to count bytes; return how many were transferred.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  // Grows or cuts the stream; a position beyond the new end moves to the end.
  virtual void SetSize(int64_t size) = 0;
  virtual int64_t Size();

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }

  // As Read and Write, but anything short of count raises EReadError / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteText(const std::string& text) {
    WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }
};

// The position a seek reaches in a stream held in memory: from its start, its position or its
// end, never before the start.
int64_t MemorySeekPosition(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin);

// A stream in memory. Growth by writing is geometric; SetSize and SetCapacity are exact.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  int64_t Size() override { return size_; }

  // Room reserved without changing the size.
  int64_t Capacity() const { return capacity_; }
  void SetCapacity(int64_t capacity);
  void Clear();

  char* Memory() { return data_; }
  const char* Memory() const { return data_; }
  // The whole content as a text.
  std::string DataString() const { return std::string(data_, static_cast<size_t>(size_)); }

 private:
  char* data_ = nullptr;
  int64_t size_ = 0;
  int64_t capacity_ = 0;
  int64_t position_ = 0;
};

// File open modes.
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmCreate = 0xFF00;  // create, or empty an existing file; read and write

// A stream over a file. The name may use "\" as separator. A file that cannot be created raises
// EFCreateError "Datei <name> kann nicht erstellt werden"; one that cannot be opened raises
// EFOpenError "Datei <name> kann nicht geöffnet werden".
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  int fd_ = -1;
};

}  // namespace pelmorix
