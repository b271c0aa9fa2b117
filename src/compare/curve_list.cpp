#include "compare/curve_list.h"

#include <cmath>

namespace diaspring::compare {

int freeStyle(const std::vector<int>& styles) {
  int style = 0;
  while (std::find(styles.begin(), styles.end(), style) != styles.end()) ++style;
  return style;
}

ComparisonScene shownScene(const ComparisonInput& input, const ComparisonResult& result,
                           const std::vector<bool>& shown, const std::vector<int>& styles, bool band) {
  ComparisonScene s;
  const std::size_t designs = input.designs.size();
  for (std::size_t i = 0; i < designs; ++i)
    if (shown[i]) s.designs.push_back({input.designs[i], styles[i]});
  for (std::size_t i = 0; i < input.measured.size(); ++i)
    if (shown[designs + i]) s.measured.push_back({input.measured[i], styles[designs + i]});
  if (band && shown[0]) s.band = sceneOf(input, result).band;
  return s;
}

std::string fullMessageZh() { return "最多同时对比 " + std::to_string(kMaxCompared) + " 条曲线；请先移除一条。"; }

std::string measuredRefusalZh(const std::string& fileName, const std::string& errorZh) {
  return "“" + fileName + "”未导入：" + errorZh +
         "\n（每行一对数：λ1/mm 与 F1/N，以逗号、分号、制表符或空格分隔，可有一行表头；先加载后卸载。）";
}

std::string fitRefusalZh(const Calibration& fit) {
  if (std::isfinite(fit.h) && std::isfinite(fit.H) && fit.h > 0) return {};
  return fit.whyZh.empty() ? std::string("这条实测曲线没有可用的拟合结果。") : "这条实测曲线没有可用的拟合结果：" + fit.whyZh;
}

}  // namespace diaspring::compare
