#pragma once
// The comparison's words as the window, the page and the design sheet show
// them; %1, %2 ... mark where the numbers go, in order.

namespace diaspring::compare::texts {

// The window (and the page's section).
inline constexpr const char* kStaleNote =
    "主窗口的输入已修改：“当前设计”仍为上次计算的设计，按“输出膜片弹簧曲线及描点”后更新。";
inline constexpr const char* kMeasuredNote =
    "偏差 = 实测 − 计算（当前设计）。标定在其余输入不变时求使理想化 Almen–László "
    "载荷公式与实测加载曲线最小二乘拟合的等效 h 与 H；支承半径、分离指和摩擦的影响被计入"
    "等效值，并非实际板厚与锥高。";
inline constexpr const char* kNotMeasured = "未测到";
inline constexpr const char* kNoMeasuredPicked = "请先在实测曲线表中选中一行。";
inline constexpr const char* kTolerancesRefused = "%1 不是非负数（抽样数与种子为整数），按上次的值计算。";
inline constexpr const char* kNoCurve = "当前设计没有特性曲线（%1），无法计算生产离散。";
// %1 samples, %2 seed, %3 clamp load, %4 its tolerance, %5 and %6 shares,
// %7 ... %11 the sensitivities to h, H, R, r and E.
inline constexpr const char* kScatterNote =
    "抽样 %1 个（正态分布，σ = 公差/3，种子 %2）：F1B 在夹紧力 F = %3 N ±%4 % 内的占 %5 %；"
    "F1A ≥ F1B 的占 %6 %。<br>F1B 的灵敏度：∂F1B/∂h = %7 N/mm，∂F1B/∂H = %8 N/mm，"
    "∂F1B/∂R = %9 N/mm，∂F1B/∂r = %10 N/mm，∂F1B/∂E = %11 N/MPa。"
    "公差带：虚线为各公差角点组合的极限，浅蓝为抽样的 ±3σ。";
inline constexpr const char* kYieldNote = "<br>生产合格率 %1（95 % 区间 %2）：%3";

// The design sheet's comparison page.
inline constexpr const char* kSheetTitle = "特性曲线对比与生产离散";
inline constexpr const char* kSheetChartHeading = "一、载荷–变形特性";
inline constexpr const char* kSheetChartCaption = "F1 (N) 随 λ1 (mm)；虚线为公差角点的极限，浅蓝为抽样的 ±3σ";
inline constexpr const char* kSheetDesignsHeading = "二、对比的设计（特征点 λ1/mm / F1/N）";
inline constexpr const char* kSheetMeasuredHeading = "三、实测曲线与标定（理想化载荷公式的等效 h、H）";
inline constexpr const char* kSheetScatterHeading = "四、生产离散（当前设计，名义 λ1B、λ1A、λ1C 处）";
inline constexpr const char* kSheetTolerances =
    "公差：h ±%1 mm，l0 ±%2 mm，R ±%3 mm，r ±%4 mm，E ±%5 %；抽样 %6 个（σ = 公差/3，种子 %7）";
inline constexpr const char* kSheetShares = "F1B 在夹紧力 ±%1 % 内的占 %2 %；F1A ≥ F1B 的占 %3 %。";
inline constexpr const char* kSheetSensitivity =
    "灵敏度：∂F1B/∂h = %1 N/mm，∂F1B/∂H = %2 N/mm，∂F1B/∂R = %3 N/mm，∂F1B/∂r = %4 N/mm，"
    "∂F1B/∂E = %5 N/MPa";
inline constexpr const char* kSheetBasis =
    "h、l0、R、r 的默认公差取 DIN EN 16983（DIN 2093）偏差带宽的一半，H = l0 − h；"
    "装配变形由离合器盖决定，样本均在名义变形处计算。";
inline constexpr const char* kSheetDesignColumns[] = {"设计", "M", "N", "H", "B", "A", "C"};
inline constexpr const char* kSheetMeasuredColumns[] = {"实测曲线", "B 处偏差", "A 处偏差", "RMS/N",
                                                        "拟合 h/mm", "拟合 H/mm", "拟合 RMS/N"};
inline constexpr const char* kSheetScatterColumns[] = {"N", "极限 最小", "极限 最大", "抽样 最小", "抽样 最大", "平均", "σ"};
inline constexpr const char* kScatterRows[] = {"F1B", "F1A", "F1C", "最大分离力 F2max"};

}  // namespace diaspring::compare::texts
