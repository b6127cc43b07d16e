#include "base/Stream.h"

#include <algorithm>
#include <cstring>

#include "base/Errors.h"
#include "platform/Platform.h"

namespace vellumio {

static_assert(sizeof(double) == 8, "date-times are 8-byte IEEE doubles");

namespace {
constexpr uint16_t kLongStringEscape = 0xFFFF;

[[noreturn]] void ThrowShortRead() { throw EReadError("Stream read error"); }
}  // namespace

int32_t TStream::ReadInt32() {
  int32_t v;
  Read(&v, sizeof v);
  return v;
}

uint32_t TStream::ReadUInt32() {
  uint32_t v;
  Read(&v, sizeof v);
  return v;
}

uint16_t TStream::ReadUInt16() {
  uint16_t v;
  Read(&v, sizeof v);
  return v;
}

uint8_t TStream::ReadByte() {
  uint8_t v;
  Read(&v, 1);
  return v;
}

double TStream::ReadDouble() {
  double v;
  Read(&v, sizeof v);
  return v;
}

void TStream::Skip(size_t count) {
  if (count > Remaining()) ThrowShortRead();
  uint8_t scratch[256];
  while (count > 0) {
    size_t n = std::min(count, sizeof scratch);
    Read(scratch, n);
    count -= n;
  }
}

std::string TStream::ReadStreamString() {
  std::string bytes;
  ReadStreamString(bytes);
  return bytes;
}

void TStream::ReadStreamString(std::string& out) {
  uint64_t length = ReadUInt16();
  if (length == kLongStringEscape) length = ReadUInt32();
  // The length is checked against the data that is really there before
  // anything is allocated: a damaged file may claim up to 4 GiB.
  if (length > Remaining()) throw EReadError("String length exceeds the data left in the stream");
  out.resize(static_cast<size_t>(length));
  if (length > 0) Read(out.data(), out.size());
}

void TStream::WriteStreamString(std::string_view bytes) {
  if (bytes.size() < kLongStringEscape) {
    WriteUInt16(static_cast<uint16_t>(bytes.size()));
  } else {
    if (bytes.size() > UINT32_MAX) throw std::length_error("String too long for the database file");
    WriteUInt16(kLongStringEscape);
    WriteUInt32(static_cast<uint32_t>(bytes.size()));
  }
  Write(bytes.data(), bytes.size());
}

// ---- TMemoryStream ----------------------------------------------------------

void TMemoryStream::Read(void* buffer, size_t count) {
  if (count > data_.size() - position_) ThrowShortRead();
  if (count) std::memcpy(buffer, data_.data() + position_, count);
  position_ += count;
}

void TMemoryStream::Write(const void* data, size_t count) {
  const auto* p = static_cast<const uint8_t*>(data);
  data_.insert(data_.end(), p, p + count);
}

// ---- TBufferReader ------------------------------------------------------------

void TBufferReader::Read(void* buffer, size_t count) {
  if (count > size_ - position_) ThrowShortRead();
  if (count) std::memcpy(buffer, data_ + position_, count);
  position_ += count;
}

void TBufferReader::Write(const void*, size_t) { throw std::logic_error("read-only stream"); }

// ---- TFileReadStream ----------------------------------------------------------

namespace {
constexpr size_t kFileBufferSize = 1 << 20;
}

TFileReadStream::TFileReadStream(std::unique_ptr<platform::FileReader> file)
    : file_(std::move(file)), buffer_(kFileBufferSize), size_(file_->Size()) {}

TFileReadStream::~TFileReadStream() = default;

void TFileReadStream::Refill() {
  bufferPos_ = 0;
  bufferLen_ = file_->Read(buffer_.data(), buffer_.size());
  if (bufferLen_ == 0) ThrowShortRead();
}

void TFileReadStream::Read(void* buffer, size_t count) {
  if (count > Remaining()) ThrowShortRead();
  auto* out = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    if (bufferPos_ == bufferLen_) Refill();
    size_t n = std::min(count, bufferLen_ - bufferPos_);
    std::memcpy(out, buffer_.data() + bufferPos_, n);
    bufferPos_ += n;
    consumed_ += n;
    out += n;
    count -= n;
  }
}

void TFileReadStream::Write(const void*, size_t) { throw std::logic_error("read-only stream"); }

}  // namespace vellumio
