// Failures are exceptions with a message that the user interface shows.
#pragma once

#include <stdexcept>
#include <string>

namespace vellumio {

// A record or stream could not be read: short data, a bad length, an
// unknown version. The message is the one the program shows or wraps.
class EReadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The database file as a whole could not be read ("Database read error");
// `Reason` keeps the underlying failure for diagnostics.
class EDatabaseError : public std::runtime_error {
public:
  EDatabaseError(const std::string& message, std::string reason)
      : std::runtime_error(message), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

private:
  std::string reason_;
};

// An index outside its range ("Out of bounds").
class EListError : public std::out_of_range {
public:
  using std::out_of_range::out_of_range;
};

}  // namespace vellumio
