#include "form/layout_table.h"

#include <algorithm>
#include <array>

namespace diaspring {
namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    // name, kind, parent, text, left, top, width, height, tab index, [min, max, value]
    {"Form1", K::Form, "", "QOR Formula  For Lumeria", 0, 0, 14340, 8670, -1},

    {"Frame1", K::Frame, "Form1", "原始数据", 240, 120, 3612, 1572, 0},
    {"Frame4", K::Frame, "Form1", "已知参数", 240, 1800, 4095, 2412, 69},
    {"Frame2", K::Frame, "Form1", "输入数据", 240, 4320, 3975, 4215, 11},
    {"Picture1", K::Picture, "Form1", "", 4320, 0, 8295, 4452, 39},
    {"Frame3", K::Frame, "Form1", "输出点坐标", 4320, 4440, 9732, 1452, 41},
    {"Frame5", K::Frame, "Form1", "检验约束条件", 4320, 5880, 7695, 2412, 84},
    {"Command1", K::Button, "Form1", "输出膜片弹簧曲线及描点", 12720, 1320, 1332, 732, 40},
    {"Command3", K::Button, "Form1", "计算并验证约束条件", 12720, 2160, 1332, 612, 68},
    {"Command2", K::Button, "Form1", "清空数据", 12720, 2880, 1332, 612, 66},
    {"Image1", K::Image, "Form1", "", 12000, 6000, 2250, 2250, -1},

    // Raw data: engine facts, shown for reference only.
    {"Label1", K::Label, "Frame1", "Temax/nT：", 120, 360, 975, 255, 1},
    {"Text1", K::TextBox, "Frame1", "147", 1080, 360, 615, 270, 2},
    {"Label2", K::Label, "Frame1", "/", 1800, 360, 255, 255, 3},
    {"Text2", K::TextBox, "Frame1", "2300", 2040, 360, 495, 270, 4},
    {"Label3", K::Label, "Frame1", "N·M/rpm", 2640, 360, 852, 372, 5},
    {"Label4", K::Label, "Frame1", "最高转速：", 120, 840, 1095, 255, 6},
    {"Text3", K::TextBox, "Frame1", "4800", 1080, 840, 495, 270, 7},
    {"Label5", K::Label, "Frame1", "rpm", 1680, 840, 495, 255, 8},
    {"Label6", K::Label, "Frame1", "汽车类型：轿车", 120, 1200, 1815, 255, 9},
    {"Label7", K::Label, "Frame1", "后备功率：小", 1800, 1200, 1572, 252, 10},

    // Known parameters: material and clutch data.
    {"Label41", K::Label, "Frame4", "弹性模量E(Mpa）=", 240, 240, 1572, 252, 70},
    {"Text31", K::TextBox, "Frame4", "210000", 1800, 240, 732, 264, 77},
    {"Label42", K::Label, "Frame4", "泊松比μ=", 2640, 240, 972, 372, 71},
    {"Text32", K::TextBox, "Frame4", "0.3", 3480, 240, 492, 264, 78},
    {"Label43", K::Label, "Frame4", "摩擦片工作压力F（N）=", 240, 600, 1932, 252, 72},
    {"Text33", K::TextBox, "Frame4", "4593", 2280, 600, 732, 264, 79},
    {"Label44", K::Label, "Frame4", "摩擦片外径D（mm）=", 240, 960, 1812, 252, 73},
    {"Text34", K::TextBox, "Frame4", "180", 2040, 960, 732, 264, 80},
    {"Label45", K::Label, "Frame4", "摩擦片内径d（mm）=", 240, 1320, 1692, 252, 74},
    {"Text35", K::TextBox, "Frame4", "125", 2160, 1320, 732, 264, 81},
    {"Label46", K::Label, "Frame4", "膜片弹簧小端内半径r0(mm）=", 240, 1680, 2412, 252, 75},
    {"Text36", K::TextBox, "Frame4", "18", 2760, 1680, 732, 264, 82},
    {"Label47", K::Label, "Frame4", "分离轴承作用半径rf（mm)=", 240, 2040, 2412, 252, 76},
    {"Text37", K::TextBox, "Frame4", "20", 2640, 2040, 732, 264, 83},

    // Input data: spring geometry and travels, with their sliders.
    {"Label8", K::Label, "Frame2", "h调节", 240, 360, 615, 255, 12},
    {"HScroll1", K::ScrollBar, "Frame2", "", 960, 360, 2295, 255, 20, 200, 400, 200},
    {"Label9", K::Label, "Frame2", "H/h调节", 120, 720, 855, 255, 13},
    {"HScroll2", K::ScrollBar, "Frame2", "", 960, 720, 2295, 255, 21, 150, 200, 160},
    {"Label10", K::Label, "Frame2", "h=", 120, 1200, 615, 255, 14},
    {"Text4", K::TextBox, "Frame2", "2.2", 360, 1200, 615, 270, 17},
    {"Label11", K::Label, "Frame2", "H=", 1200, 1200, 372, 252, 15},
    {"Text5", K::TextBox, "Frame2", "", 1440, 1200, 732, 270, 18},
    {"Label12", K::Label, "Frame2", "H/h=", 2400, 1200, 492, 252, 16},
    {"Text6", K::TextBox, "Frame2", "1.9", 2760, 1200, 615, 270, 19},
    {"Label13", K::Label, "Frame2", "R调节", 240, 1560, 615, 375, 22},
    {"HScroll3", K::ScrollBar, "Frame2", "", 960, 1560, 2295, 255, 27, 760, 1350, 1020},
    {"Label14", K::Label, "Frame2", "R/r调节", 240, 1920, 735, 255, 23},
    {"HScroll4", K::ScrollBar, "Frame2", "", 960, 1920, 2295, 255, 28, 120, 135, 120},
    {"Label15", K::Label, "Frame2", "R=", 120, 2400, 375, 255, 24},
    {"Text7", K::TextBox, "Frame2", "84.7", 360, 2400, 615, 270, 29},
    {"Label16", K::Label, "Frame2", "r=", 1200, 2400, 372, 252, 25},
    {"Text8", K::TextBox, "Frame2", "", 1440, 2400, 612, 264, 30},
    {"Label17", K::Label, "Frame2", "R/r=", 2280, 2400, 492, 252, 26},
    {"Text9", K::TextBox, "Frame2", "1.33", 2760, 2400, 615, 270, 31},
    {"Label18", K::Label, "Frame2", "Δλ调节", 120, 2880, 855, 255, 32},
    {"HScroll5", K::ScrollBar, "Frame2", "", 960, 2880, 2295, 255, 67, 20, 200, 20},
    {"Label19", K::Label, "Frame2", "λ1f调节", 120, 3240, 1095, 255, 33},
    {"HScroll6", K::ScrollBar, "Frame2", "", 960, 3240, 2295, 255, 34, 20, 300, 20},
    {"Label20", K::Label, "Frame2", "Δλ=", 120, 3720, 492, 252, 35},
    {"Text10", K::TextBox, "Frame2", "1.6", 600, 3720, 735, 270, 37},
    {"Label21", K::Label, "Frame2", "λ1f=", 2160, 3720, 492, 252, 36},
    {"Text11", K::TextBox, "Frame2", "1.6", 2640, 3720, 735, 270, 38},

    // Output point coordinates: loads above, deflections below.
    {"Label22", K::Label, "Frame3", "F1M=", 240, 480, 372, 252, 42},
    {"Text12", K::TextBox, "Frame3", "", 720, 360, 975, 372, 44},
    {"Label23", K::Label, "Frame3", "λ1M=", 240, 1080, 492, 252, 43},
    {"Text13", K::TextBox, "Frame3", "", 720, 960, 975, 372, 45},
    {"Label24", K::Label, "Frame3", "F1N=", 2040, 480, 372, 252, 46},
    {"Text14", K::TextBox, "Frame3", "", 2400, 360, 975, 372, 48},
    {"Label25", K::Label, "Frame3", "λ1N=", 1920, 1080, 615, 255, 47},
    {"Text15", K::TextBox, "Frame3", "", 2400, 960, 975, 372, 49},
    {"Label26", K::Label, "Frame3", "F1H=", 3480, 480, 372, 252, 50},
    {"Text16", K::TextBox, "Frame3", "", 3840, 360, 975, 372, 52},
    {"Label27", K::Label, "Frame3", "λ1H=", 3360, 1080, 495, 255, 51},
    {"Text17", K::TextBox, "Frame3", "", 3840, 960, 975, 372, 53},
    {"Label28", K::Label, "Frame3", "F1B=", 5040, 480, 375, 255, 54},
    {"Text18", K::TextBox, "Frame3", "", 5400, 360, 975, 372, 56},
    {"Label29", K::Label, "Frame3", "λ1B=", 4920, 1080, 615, 255, 55},
    {"Text19", K::TextBox, "Frame3", "", 5400, 960, 975, 372, 57},
    {"Label30", K::Label, "Frame3", "F1A=", 6600, 480, 375, 255, 58},
    {"Text20", K::TextBox, "Frame3", "", 6960, 360, 852, 372, 60},
    {"Label31", K::Label, "Frame3", "λ1A=", 6480, 1080, 495, 255, 59},
    {"Text21", K::TextBox, "Frame3", "", 6960, 960, 852, 372, 61},
    {"Label32", K::Label, "Frame3", "F1C=", 8160, 480, 375, 255, 62},
    {"Text22", K::TextBox, "Frame3", "", 8640, 360, 852, 372, 64},
    {"Label33", K::Label, "Frame3", "λ1C=", 8160, 1080, 492, 252, 63},
    {"Text23", K::TextBox, "Frame3", "", 8640, 960, 852, 372, 65},

    // Constraint checks: each rule's label with its result box to the right.
    {"Label34", K::Label, "Frame5", "|F-F1B|=  ( <1 ) ", 120, 360, 852, 492, 85},
    {"Text24", K::TextBox, "Frame5", "", 960, 360, 1092, 372, 97},
    {"Label35", K::Label, "Frame5", "F1A≥F1B", 120, 960, 852, 252, 86},
    {"Text25", K::TextBox, "Frame5", "", 960, 840, 1092, 372, 98},
    {"Label36", K::Label, "Frame5", "   H/h= (1.6-2.2)", 120, 1320, 852, 372, 87},
    {"Text26", K::TextBox, "Frame5", "", 1080, 1320, 972, 372, 99},
    {"Label37", K::Label, "Frame5", " H/(R-r)= (9°-15°)", 120, 1920, 972, 492, 88},
    {"Text27", K::TextBox, "Frame5", "", 1080, 1920, 972, 372, 100},
    {"Label38", K::Label, "Frame5", "    R/r=   (1.2-1.35)", 2520, 360, 1092, 372, 89},
    {"Text28", K::TextBox, "Frame5", "", 3480, 360, 1092, 372, 101},
    {"Label39", K::Label, "Frame5", "  2R/h= (70-100)", 2640, 840, 852, 492, 90},
    {"Text29", K::TextBox, "Frame5", "", 3480, 840, 1092, 384, 102},
    {"Label40", K::Label, "Frame5", "  R/r0= (3.5-5.0)", 2520, 1320, 972, 372, 91},
    {"Text30", K::TextBox, "Frame5", "", 3480, 1320, 1092, 372, 103},
    {"Label48", K::Label, "Frame5", "(D+d)/4≤R1≤D/2", 2160, 1920, 1572, 252, 92},
    {"Text38", K::TextBox, "Frame5", "", 3720, 1800, 852, 384, 104},
    {"Label49", K::Label, "Frame5", "R-R1=  (1-7)", 5760, 360, 612, 372, 93},
    {"Text39", K::TextBox, "Frame5", "", 6360, 360, 972, 384, 105},
    {"Label50", K::Label, "Frame5", "r1-r=  (0-6)", 5760, 840, 612, 492, 94},
    {"Text40", K::TextBox, "Frame5", "", 6360, 840, 972, 372, 106},
    {"Label51", K::Label, "Frame5", "rf-r0=  (0-6)", 5760, 1320, 612, 372, 95},
    {"Text41", K::TextBox, "Frame5", "", 6360, 1320, 972, 372, 107},
    {"Label52", K::Label, "Frame5", "(r1-rf)/(R1-r1)=    (2.3-4.5)", 4800, 1800, 1692, 492, 96},
    {"Text42", K::TextBox, "Frame5", "", 6360, 1800, 1212, 372, 108},
};

}  // namespace

std::span<const ControlSpec> controlTable() { return kControls; }

const ControlSpec* findControl(std::string_view name) {
  const auto it = std::find_if(std::begin(kControls), std::end(kControls),
                               [name](const ControlSpec& c) { return c.name == name; });
  return it == std::end(kControls) ? nullptr : &*it;
}

}  // namespace diaspring
