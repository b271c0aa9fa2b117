#include "check/guide_text.h"

#include <initializer_list>
#include <string_view>

#include "check/box_help.h"
#include "form/input_boxes.h"
#include "check/constraint_check.h"
#include "check/sheet_contents.h"
#include "model/points.h"
#include "runtime/version.h"

namespace diaspring {
namespace {

// `s` with &, <, > and " written as HTML entities.
std::string zh(std::string_view s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// `text` with every %1 replaced by the first of `values`, %2 by the second...
std::string fill(std::string text, std::initializer_list<std::string> values = {}) {
  int k = 1;
  for (const std::string& v : values) {
    const std::string mark = "%" + std::to_string(k++);
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + v.size()))
      text.replace(at, mark.size(), v);
  }
  return text;
}

std::string row(std::initializer_list<std::string> cells) {
  std::string html = "<tr>";
  for (const std::string& c : cells) html += "<td>" + c + "</td>";
  return html + "</tr>";
}

std::string head(std::initializer_list<std::string> cells) {
  std::string html = "<tr>";
  for (const std::string& c : cells) html += "<th align=\"left\">" + c + "</th>";
  return html + "</tr>";
}

const std::string kTable = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">";

}  // namespace

std::string guideHtml() {
  const std::string curve = zh(commandCaption(Command::Command1));
  const std::string check = zh(commandCaption(Command::Command3));
  const std::string clear = zh(commandCaption(Command::Command2));
  std::string html = std::string("<h2>膜片弹簧设计计算 · 使用说明</h2>");
  html += fill(
              "<p>本程序按 Almen–László 公式计算离合器膜片弹簧的大端载荷—变形特性 F1(λ1)，"
              "求出特征点 M、N、H、B、A、C，并校核十二项设计约束。</p>"
              "<h3>一、操作步骤</h3><ol>"
              "<li>在“已知参数”中填写材料和离合器数据，在“输入数据”中填写或用滑块调节弹簧几何尺寸与行程。</li>"
              "<li>按“%1”：算出 H 和 r，画出特性曲线，填写六个特征点。</li>"
              "<li>按“%2”：在“检验约束条件”中逐项给出数值和“合格”或“不合格”。</li>"
              "<li>“%3”擦除图表和结果，输入保留不变。</li></ol>"
              "<p>修改了影响结果的输入后，结果框变为灰色，表示它们属于上次计算；再按曲线按钮即更新。"
              "数值框的内容若不全是数字（例如“2.2 mm”或“1,5”），框显示红色边框，"
              "鼠标停在框上可看到计算时实际读作的数。</p>", {curve, check, clear});

  html += std::string("<h3>二、输入数据</h3>") + kTable + head({std::string("符号"), std::string("含义"),
                                                                    std::string("单位"), std::string("常用范围")});
  for (const InputBox& in : inputFrameBoxes())
    html += row({"<b>" + zh(in.symbol) + "</b>", zh(in.meaningZh), *in.unit ? zh(in.unit) : std::string("—"),
                 zh(in.rangeZh)});
  html += std::string("</table>");

  html += std::string("<h3>三、特征点</h3>") + kTable +
          head({std::string("点"), std::string("名称"), std::string("含义")});
  const auto points = characteristicPoints();
  for (std::size_t i = 0; i < points.size(); ++i)
    html += row({"<b>" + zh(points[i].symbol) + "</b>", zh(points[i].roleZh),
                 zh(pointExplanation(static_cast<int>(i)))});
  html += std::string("</table><p>每个点的载荷 F1（N）和变形 λ1（mm）显示在“输出点坐标”中。</p>");

  html += std::string("<h3>四、约束条件</h3>") + kTable +
          head({std::string("序号"), std::string("约束（推荐范围）"), std::string("含义")});
  for (int i = 0; i < kRuleCount; ++i)
    html += row({std::to_string(i + 1), zh(sheet_text::trimmed(ruleInfo(i).caption, true)),
                 zh(ruleInfo(i).explanation)});
  html += std::string("</table><p>约束 1、2 使用曲线上 B、A 两点的载荷，须先按曲线按钮；"
                         "F、D、d、r0、rf 在验证时从框中重新读取。</p>");

  html += fill(
      "<h3>五、如何读图</h3><ul>"
      "<li>横轴为大端变形 λ1（mm，刻度 0–6），纵轴为大端载荷 F1（N，刻度 1000–11000）。</li>"
      "<li>红色曲线是特性曲线 F1(λ1)，先升到峰值 M，再降到谷值 N，然后重新上升。</li>"
      "<li>各特征点上方标有字母，虚线把它引到两轴，轴旁标出 λ1M、F1B 等。</li>"
      "<li>绿色直线从原点经过 B 点延伸到 C′，是刚度为 F1B/λ1B 的线性弹簧作对比；A′ 为它在 λ1A 处的点。</li>"
      "<li>图上方的蓝色尺寸线标出 A 到 B 的磨损余量 Δλ 和 B 到 C 的分离行程 λ1f。</li>"
      "<li>再次按曲线按钮时新曲线叠加在旧曲线上，便于比较两种设计；“%1”擦除图表。</li>"
      "<li>在图表上单击右键可复制图表、保存为 PNG/SVG/PDF 或导出设计报告。</li></ul>", {clear});

  html += fill(
      "<h3>六、保存设计</h3><p>“文件”菜单可新建、打开、保存设计（扩展名 .diaspring），"
      "也可把文件拖到窗口上打开。文件保存输入框中的原样文字和滑块位置；再次打开时各输入框原样复原，"
      "每个滑块移到最接近其输入框数值的位置，下一次调节从所示的设计开始。"
      "修改过而未保存的设计每分钟及每次计算时自动备份；程序意外退出后，下次启动时可以恢复。</p>");

  html += fill(
      "<h3>七、强度与分离特性</h3><p>“分析”菜单或图表右键菜单中的“强度与分离特性…”打开一个独立窗口，"
      "它跟随主窗口每次按“%1”的结果：把膜片弹簧的碟簧部分按碟形弹簧公式（DIN 2092 / DIN EN 16983）计算，"
      "给出六个特征点处的变形 s、应力 σI…σIV、σOM、分离力 F2、指根应力 σf 和分离行程 λ2，"
      "画出应力曲线和分离特性曲线，并校核：</p><ul>"
      "<li>σI（内上缘压应力）在 0 … λ1C 内的最大绝对值不超过许用应力 [σ]；</li>"
      "<li>σOM 不超过抗拉强度 Rm（防止松弛）；</li>"
      "<li>最大分离力处的指根弯曲应力 σf 不超过 [σf]；</li>"
      "<li>新、旧摩擦片两个分离行程的疲劳安全系数（疲劳线 σO = σO0 + m·σu，默认值仅为示例，应以材料数据替换）。</li></ul>"
      "<p>窗口上方的 n（分离指数）、b（指根宽度）、Rm、[σ]、[σf] 和疲劳线随设计一起保存。"
      "主窗口的输入修改后，分析变为灰色并提示它属于上次计算；清空、新建或打开设计后分析清空。"
      "设计报告的第二页即这一分析。</p>", {curve});

  html += fill(
      "<h3>八、自动设计</h3><p>“分析”菜单中的“自动设计…”在给定的 h、H/h、R、R/r 范围内搜索网格上的全部设计，"
      "保留满足全部十二项约束并通过 σI 静强度校核的设计，列出互不占优的一组："
      "磨损后压紧力增量越小、最大分离力越小、σImax 越小越好。表格可按任一列排序，"
      "右侧的权衡图以颜色表示应力；双击一行（或按“应用到主窗口”）把该设计填入主窗口并计算曲线，"
      "滑块随之移到与数值对应的位置。搜索可随时“取消”；没有设计满足条件时，"
      "窗口列出从未满足的条件和最接近的设计差多少。</p>");

  html += fill(
      "<h3>九、特性曲线对比（分析 → 特性曲线对比…）</h3><ul>"
      "<li>窗口中的“当前设计”随每次按曲线按钮更新。“固定当前曲线”把它留作对比；也可打开设计文件，"
      "或在“自动设计”的结果表中选中一行后按“加入曲线对比”。最多同时 8 条曲线，每条有自己的颜色、线型"
      "和特征点标记，黑白打印也能分辨；表中可隐藏或移除。鼠标在图上移动时，下方读出每条曲线在该 λ1 处的 F1。</li>"
      "<li><b>实测曲线</b>：每行一对数 λ1（mm）与 F1（N），以逗号、分号、制表符或空格分隔，小数点为“.”，"
      "可有一行表头；先是加载段（λ1 递增），可接卸载段（λ1 递减），两段之间的差即迟滞。"
      "文件有误时整份不导入，提示写明出错的行。</li>"
      "<li><b>偏差</b>为实测减计算（当前设计），在 B、A 两点及整个加载段的均方根（RMS）。</li>"
      "<li><b>标定</b>：其余输入不变，求使理想化的 Almen–László 公式与实测加载段最小二乘拟合的等效 h 与 H。"
      "实际弹簧的支承半径、分离指和摩擦使曲线偏离公式，这些影响都被计入等效值，所以它们不是板厚和锥高的实测值；"
      "拟合 RMS 小说明公式形状与实测相符。“将拟合的 h、H/h 输入主窗口”把等效值填入主窗口并重新计算。</li>"
      "<li><b>生产离散</b>：h、H、R、r 以 ±mm、E 以 ±% 给出公差，默认取碟簧标准 DIN EN 16983（DIN 2093）"
      "允许偏差带宽的一半（E 无标准公差，默认 0 %）。装配变形由离合器盖决定，因此每个弹簧都在名义的 λ1B、λ1A、λ1C 处计算。"
      "图中灰色虚线是 32 个公差角点组合的上下极限（极限法）；浅蓝竖线是抽样法（正态分布，σ = 公差/3，固定种子，"
      "结果可重复）的平均值 ±3σ。抽样中约有 0.3 % 的尺寸超出公差，所以抽样的最小、最大值可略超出极限。"
      "谷点附近（例如 F1C）载荷随尺寸的变化不单调（F1C 随 H 先降后升），极值可能出现在公差带内部，"
      "所以那里的角点极限不一定是真正的最小、最大值，应同时参考抽样结果。"
      "表中给出 F1B、F1A、F1C 和最大分离力的极限与抽样统计、F1B 落在夹紧力公差内的比例、F1A ≥ F1B 的比例，"
      "以及 F1B 对各尺寸的灵敏度（N/mm，E 为 N/MPa）：灵敏度与公差之积最大的尺寸最需要严格控制。</li>"
      "<li>有对比内容时，导出或打印的设计报告增加一页“特性曲线对比与生产离散”。</li></ul>");
  return html;
}

std::string aboutHtml(std::string_view builtWith) {
  return "<h3>diaspring " + std::string(kVersion) +
         "</h3>"
         "<p>离合器膜片弹簧设计计算：载荷—变形特性曲线、特征点与十二项约束条件校核。</p>" +
         std::string(builtWith) +
         "<p>许可证：" + std::string(kLicence) +
         "。本程序是自由软件，您可以按 GNU 通用公共许可证第 3 版或（按您的选择）"
         "任何更高版本的条款重新发布和修改它；本程序不提供任何担保。许可证全文见随程序提供的 LICENSE 文件。</p>";
}

}  // namespace diaspring
