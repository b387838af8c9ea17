#include "FormLayout.h"

#include <stdexcept>

#include "MakerInfo.h"
#include "SettingsTables.h"

namespace trevolo {
namespace {

using K = ControlKind;
using C = ControlId;

const ControlLook kPlain{};
const ControlLook kFrame{std::nullopt, kBeige};
const ControlLook kCaptionedFrame{kBlue, kBeige};
const ControlLook kLabel{std::nullopt, std::nullopt, kDefaultFont, true, true};
const ControlLook kBlueText{kBlue, std::nullopt};
const ControlLook kDarkBlueList{kDarkBlue, std::nullopt};
const ControlLook kPageCount{kBlue, std::nullopt, {L"宋体", 105, true}};
const ControlLook kPageNumber{kBlue, std::nullopt, {L"宋体", 90, true}};
const ControlLook kBanner{kBlue, kBeige, {L"宋体", 105, false}};

template <typename Value>
std::vector<std::wstring_view> TextsOf(const std::vector<ListEntry<Value>>& entries) {
    std::vector<std::wstring_view> texts;
    for (const auto& entry : entries) texts.push_back(entry.Text);
    return texts;
}

}  // namespace

std::wstring BannerCaption() {
    return std::wstring(L"Quendra") + maker::kWebAddress;
}

const std::vector<ControlRow>& ControlTable() {
    static const std::vector<ControlRow> table = {
        // Control        Name         Kind             Container    Left  Top   Width Height Caption                     Look            Tab
        {C::Frame1_0, L"Frame1(0)", K::Frame,        std::nullopt, 120,  450, 3345,  615, L"",                        kFrame,          0},
        {C::Command1, L"Command1",  K::Button,       C::Frame1_0,   60,  150, 2325,  375, L"重新获取当前总页码数",    kPlain,          1},
        {C::Text1,    L"Text1",     K::TextBox,      C::Frame1_0, 2430,  180,  825,  330, L"1",                       kPageCount,      2},
        {C::Frame1_1, L"Frame1(1)", K::Frame,        std::nullopt, 120, 1080, 3345, 1425, L"输出设置选项：",          kCaptionedFrame, 3},
        {C::Label1,   L"Label1",    K::Label,        C::Frame1_1,  150,  240, 1260,  180, L"输出文件类型：",          kLabel,          4},
        {C::Combo1,   L"Combo1",    K::ListWithText, C::Frame1_1, 1380,  150, 1875,  300, L"TIF 类型文件",            kDarkBlueList,   5},
        {C::Combo2,   L"Combo2",    K::ListWithText, C::Frame1_1, 1380,  450, 1875,  300, L"CMYK 色彩(32位元)",       kDarkBlueList,   6},
        {C::Label2,   L"Label2",    K::Label,        C::Frame1_1,  150,  510, 1260,  180, L"输出文件色彩：",          kLabel,          7},
        {C::Combo3,   L"Combo3",    K::ListWithText, C::Frame1_1, 1380,  750, 1875,  300, L"1：1 原样",               kDarkBlueList,   8},
        {C::Label3,   L"Label3",    K::Label,        C::Frame1_1,  150,  810, 1260,  180, L"输出文件大小：",          kLabel,          9},
        {C::Combo4,   L"Combo4",    K::ListWithText, C::Frame1_1, 1380, 1050, 1875,  300, L"300 dpi",                 kDarkBlueList,  10},
        {C::Label4,   L"Label4",    K::Label,        C::Frame1_1,  150, 1110, 1170,  180, L"输出解析度dpi",           kLabel,         11},
        {C::Frame1_2, L"Frame1(2)", K::Frame,        std::nullopt, 120, 2520, 3345, 1305, L"输出保存路径及批量设置：", kCaptionedFrame, 12},
        {C::Text2,    L"Text2",     K::TextBox,      C::Frame1_2, 2310,  210,  945,  300, L"批量输出\\",              kBlueText,      13},
        {C::Command2, L"Command2",  K::Button,       C::Frame1_2,   60,  210, 2265,  315, L"新建输出目录 当前为 C:\\", kPlain,         14},
        {C::Label5,   L"Label5",    K::Label,        C::Frame1_2,  120,  600, 1260,  180, L"开始输出页码：",          kLabel,         15},
        {C::Text3,    L"Text3",     K::TextBox,      C::Frame1_2, 1320,  540,  345,  300, L"1",                       kPageNumber,    16},
        {C::Label6,   L"Label6",    K::Label,        C::Frame1_2, 1710,  600, 1260,  180, L"输出结束页码：",          kLabel,         17},
        {C::Text4,    L"Text4",     K::TextBox,      C::Frame1_2, 2910,  540,  345,  300, L"1",                       kPageNumber,    18},
        {C::Command3, L"Command3",  K::Button,       C::Frame1_2,   60,  870, 1605,  375, L"开始批量输出",            kPlain,         19},
        {C::Frame1_3, L"Frame1(3)", K::Frame,        std::nullopt, 120, 3750, 3345, 1125, L"",                        kFrame,         20},
        {C::Command4, L"Command4",  K::Button,       C::Frame1_3,   60,  150, 1995,  375, L"添加CD9菜单启动功能",     kPlain,         21},
        {C::Command5, L"Command5",  K::Button,       C::Frame1_3, 2040,  150, 1215,  375, L"还原CD9菜单",             kPlain,         22},
        {C::VORLAN,   L"VORLAN",    K::Label,        C::Frame1_3,   90,  570, 3165,  495, BannerCaption(),            kBanner,        23},
        {C::Command6, L"Command6",  K::Button,       C::Frame1_2, 1680,  870, 1575,  375, L"版权信息（Varo）",        kPlain,         24},
    };
    return table;
}

const ControlRow& RowOf(ControlId id) {
    for (const ControlRow& row : ControlTable())
        if (row.Id == id) return row;
    throw std::out_of_range("control without a row");
}

std::vector<std::wstring_view> ListEntriesOf(ControlId id) {
    switch (id) {
    case C::Combo1: return TextsOf(ExportFilterEntries());
    case C::Combo2: return TextsOf(ImageTypeEntries());
    case C::Combo3: return TextsOf(ExportSizeEntries());
    case C::Combo4: return TextsOf(ResolutionEntries());
    default: return {};
    }
}

int TwipsToPixels(int twips, int dotsPerInch) {
    const long long scaled = static_cast<long long>(twips) * dotsPerInch;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

int PointsToPixels(int tenthsOfPoint, int dotsPerInch) {
    return static_cast<int>((static_cast<long long>(tenthsOfPoint) * dotsPerInch + 360) / 720);
}

}  // namespace trevolo
