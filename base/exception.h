#pragma once

#include <exception>
#include <string>

namespace pelmorix {

// The root of every error the system raises: a message text, and the class name that reports
// (such as the command-line client's) print in front of it.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}

  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::string message_;
};

}  // namespace pelmorix

// Declares an exception class that adds nothing but its name to its base.
#define PELMORIX_DECLARE_EXCEPTION(Name, Base)                        \
  class Name : public Base {                                          \
   public:                                                            \
    using Base::Base;                                                 \
    const char* ClassName() const noexcept override { return #Name; } \
  }
