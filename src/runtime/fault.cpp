#include "runtime/fault.h"

namespace diaspring {

std::string_view faultName(FaultKind kind) {
  switch (kind) {
    case FaultKind::DivisionByZero: return "division by zero";
    case FaultKind::InvalidOperation: return "invalid operation";
    case FaultKind::Overflow: return "overflow";
    case FaultKind::PointNotFound: return "point not found";
  }
  return "fault";
}

std::string_view faultNameZh(FaultKind kind) {
  switch (kind) {
    case FaultKind::DivisionByZero: return "除数为零";
    case FaultKind::InvalidOperation: return "无效运算（0 除以 0，或对不大于 0 的数取对数）";
    case FaultKind::Overflow: return "数值溢出（结果超出可表示的范围）";
    case FaultKind::PointNotFound: return "特性曲线上找不到所需的特性点";
  }
  return "运算错误";
}

Fault::Fault(FaultKind kind, std::string cause) : kind_(kind), cause_(std::move(cause)) {}

const char* Fault::what() const noexcept { return faultName(kind_).data(); }

void raise(FaultKind kind) { throw Fault(kind); }

}  // namespace diaspring
