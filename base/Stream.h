// Byte streams for the database records, and the little-endian primitives
// every record is built of.
//
// Readers never trust a stored length or count: each read checks what is
// left in the stream first, so a damaged file fails with EReadError instead
// of allocating or reading gigabytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio {

namespace platform {
class FileReader;
}

class TStream {
public:
  virtual ~TStream() = default;

  // Reads exactly `count` bytes or throws EReadError.
  virtual void Read(void* buffer, size_t count) = 0;
  // Appends `count` bytes; streams that cannot be written throw.
  virtual void Write(const void* data, size_t count) = 0;
  // Bytes that can still be read.
  virtual uint64_t Remaining() const = 0;

  // Little-endian primitives (all targets are little-endian x86).
  int32_t ReadInt32();
  uint32_t ReadUInt32();
  uint16_t ReadUInt16();
  uint8_t ReadByte();
  double ReadDouble();
  bool ReadBool() { return ReadByte() != 0; }
  void Skip(size_t count);

  void WriteInt32(int32_t value) { Write(&value, sizeof value); }
  void WriteUInt32(uint32_t value) { Write(&value, sizeof value); }
  void WriteUInt16(uint16_t value) { Write(&value, sizeof value); }
  void WriteByte(uint8_t value) { Write(&value, 1); }
  void WriteDouble(double value) { Write(&value, sizeof value); }

  // A stream string: a 16-bit length, escaped by 0xFFFF to a 32-bit length
  // that follows, then the bytes.
  std::string ReadStreamString();
  // The same into a caller's buffer, whose capacity is reused.
  void ReadStreamString(std::string& out);
  void WriteStreamString(std::string_view bytes);
};

// A growable in-memory stream; reads start at the read position, writes
// append at the end.
class TMemoryStream final : public TStream {
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  void Read(void* buffer, size_t count) override;
  void Write(const void* data, size_t count) override;
  uint64_t Remaining() const override { return data_.size() - position_; }

  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t> TakeBytes() { position_ = 0; return std::move(data_); }
  void Rewind() { position_ = 0; }
  void Reserve(size_t bytes) { data_.reserve(bytes); }
  size_t Size() const { return data_.size(); }

private:
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};

// Reads from bytes owned by somebody else (no copy).
class TBufferReader final : public TStream {
public:
  TBufferReader(const void* data, size_t size)
      : data_(static_cast<const uint8_t*>(data)), size_(size) {}

  void Read(void* buffer, size_t count) override;
  void Write(const void* data, size_t count) override;
  uint64_t Remaining() const override { return size_ - position_; }

private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

// Buffered sequential reading of an open file.
class TFileReadStream final : public TStream {
public:
  explicit TFileReadStream(std::unique_ptr<platform::FileReader> file);
  ~TFileReadStream() override;

  void Read(void* buffer, size_t count) override;
  void Write(const void* data, size_t count) override;
  uint64_t Remaining() const override { return size_ - consumed_; }

private:
  void Refill();

  std::unique_ptr<platform::FileReader> file_;
  std::vector<uint8_t> buffer_;
  size_t bufferPos_ = 0;
  size_t bufferLen_ = 0;
  uint64_t size_ = 0;
  uint64_t consumed_ = 0;
};

}  // namespace vellumio
