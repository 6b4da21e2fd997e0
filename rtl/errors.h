// The errors that reach callers where a routine's contract lets them.
// Every one carries its message as a String; what() gives it as UTF-8.
#pragma once

#include <stdexcept>

#include "rtl/string.h"

namespace rtl {

class KV_API Exception : public std::runtime_error {
 public:
  explicit Exception(const String& message) : std::runtime_error(ToUtf8(message)), message_(message) {}
  const String& Message() const { return message_; }

 private:
  String message_;
};

// A text that does not convert to the number, date or time asked for.
class KV_API EConvertError : public Exception { using Exception::Exception; };
// A string list asked for an index it does not hold, or given a duplicate it must reject.
class KV_API EStringListError : public Exception { using Exception::Exception; };
// An INI file that could not be written.
class KV_API EIniFileException : public Exception { using Exception::Exception; };
// A registry key or value that could not be opened, read or written.
class KV_API ERegistryException : public Exception { using Exception::Exception; };
// A stream that ended before the data asked for.
class KV_API EReadError : public Exception { using Exception::Exception; };
// A stream that took fewer bytes than it was given.
class KV_API EWriteError : public Exception { using Exception::Exception; };
// A floating-point division by zero.
class KV_API EZeroDivide : public Exception { using Exception::Exception; };
// A resource that the module does not hold.
class KV_API EResNotFound : public Exception { using Exception::Exception; };
// A platform call that failed; Code() is its last-error value.
class KV_API EOSError : public Exception {
 public:
  EOSError(const String& message, unsigned long code) : Exception(message), code_(code) {}
  unsigned long Code() const { return code_; }

 private:
  unsigned long code_;
};
// A file that could not be opened (missing access, locked by another program).
class KV_API EFOpenError : public EOSError { using EOSError::EOSError; };

}  // namespace rtl
