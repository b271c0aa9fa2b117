#pragma once
// Faults: arithmetic ones, and a characteristic point the design's curve
// does not have. Every handler of the window runs until it either finishes
// or meets one of these; what it drew or wrote before stays.

#include <exception>
#include <string>
#include <string_view>

namespace diaspring {

enum class FaultKind {
  DivisionByZero,    // a non-zero number divided by zero
  InvalidOperation,  // zero divided by zero, the logarithm of a number not above zero
  Overflow,          // a result beyond the double range, or beyond the single range when drawn
  PointNotFound,     // a search of the curve found no peak or no valley
};

// "division by zero", "invalid operation", "overflow", "point not found":
// the names the headless front end reports.
std::string_view faultName(FaultKind kind);

// The same, in plain Chinese words for the window's message.
std::string_view faultNameZh(FaultKind kind);

class Fault : public std::exception {
 public:
  explicit Fault(FaultKind kind, std::string cause = {});

  FaultKind kind() const noexcept { return kind_; }
  // Why the fault happened in this design's terms, in Chinese, when it is
  // known (for example that the characteristic has no peak); empty otherwise.
  const std::string& cause() const noexcept { return cause_; }
  void setCause(std::string cause) { cause_ = std::move(cause); }

  const char* what() const noexcept override;

 private:
  FaultKind kind_;
  std::string cause_;
};

[[noreturn]] void raise(FaultKind kind);

}  // namespace diaspring
