#pragma once
// The outcome of a core operation that can fail: ok, or a kind of failure with a readable
// message that names what failed and why ("cannot write /x/roll.mid: No space left on device").
// Every fallible operation of the core returns one; front ends decide what a kind means to the
// user (the command line maps kinds to exit statuses in one place).

#include <string>
#include <utility>

namespace tarvelo {

class [[nodiscard]] Result {
 public:
  enum class Kind {
    kOk,
    kInvalid,    // a value or argument outside its range or form; nothing was changed
    kNotFound,   // a named file or entry does not exist
    kIoError,    // reading or writing a file failed (the system's reason is in the message)
    kCorrupt,    // the data cannot be used: a refused CIS header, a file that is not a scan
    kCancelled,  // the user stopped the operation
  };

  Result() = default;  // ok
  static Result Ok() { return Result(); }
  static Result Invalid(std::string message) { return Result(Kind::kInvalid, std::move(message)); }
  static Result NotFound(std::string message) { return Result(Kind::kNotFound, std::move(message)); }
  static Result IoError(std::string message) { return Result(Kind::kIoError, std::move(message)); }
  static Result Corrupt(std::string message) { return Result(Kind::kCorrupt, std::move(message)); }
  static Result Cancelled(std::string message) { return Result(Kind::kCancelled, std::move(message)); }

  bool ok() const { return kind_ == Kind::kOk; }
  explicit operator bool() const { return ok(); }
  Kind kind() const { return kind_; }
  // Empty when ok.
  const std::string& message() const { return message_; }
  // The setting a refusal is about, as its profile key (a scanner preset key without its
  // index), so that a dialog can put the focus on the field that edits it; empty when the
  // failure names none.
  const std::string& key() const { return key_; }
  // The same outcome, about the setting `key`.
  Result WithKey(std::string key) && {
    key_ = std::move(key);
    return std::move(*this);
  }

  // Explicitly drops a result whose failure needs no handling at this call site.
  void Ignore() const {}

 private:
  Result(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

  Kind kind_ = Kind::kOk;
  std::string message_;
  std::string key_;
};

}  // namespace tarvelo
