#include "compare/tolerance_boxes.h"

#include <cmath>

#include "runtime/convert.h"
#include "runtime/fault.h"

namespace diaspring::compare {

ToleranceTexts toleranceTexts(const ComparisonInput& input) {
  const Tolerances& t = input.tolerances;
  const double values[] = {t.h, t.l0, t.R, t.r, t.Epercent, t.clampPercent};
  ToleranceTexts texts;
  for (std::size_t i = 0; i < 6; ++i) texts[i] = generalText(Num(values[i]));
  texts[6] = std::to_string(input.samples);
  texts[7] = std::to_string(input.seed);
  return texts;
}

ToleranceReading readToleranceTexts(const ToleranceTexts& texts, ComparisonInput& input) {
  double* targets[] = {&input.tolerances.h, &input.tolerances.l0, &input.tolerances.R,
                       &input.tolerances.r, &input.tolerances.Epercent, &input.tolerances.clampPercent};
  ToleranceReading reading;
  for (std::size_t i = 0; i < kToleranceBoxCount; ++i) {
    double v = NAN;
    try {
      if (isWholeNumber(texts[i])) v = val(texts[i]).value();
    } catch (const Fault&) {
    }
    bool ok = std::isfinite(v) && v >= 0;
    if (i == 6) ok = ok && v == std::floor(v) && v <= 1000000;
    if (i == 7) ok = ok && v == std::floor(v) && v < 9007199254740992.0;
    reading.bad[i] = !ok;
    if (!ok) {
      std::string caption = kToleranceBoxes[i].caption;
      if (const std::size_t at = caption.find("  ±"); at != std::string::npos) caption.erase(at);
      reading.refused += (reading.refused.empty() ? "" : "、") + caption;
      continue;
    }
    if (i < 6) *targets[i] = v;
    else if (i == 6) input.samples = static_cast<int>(v);
    else input.seed = static_cast<std::uint64_t>(v);
  }
  return reading;
}

const char* styleNameZh(int style) {
  static constexpr const char* kNames[kMaxCompared] = {"实线", "虚线", "点线", "点划线", "长虚线", "双点划线", "短虚线", "长短线"};
  return kNames[((style % kMaxCompared) + kMaxCompared) % kMaxCompared];
}

}  // namespace diaspring::compare
