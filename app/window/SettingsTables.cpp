#include "SettingsTables.h"

namespace trevolo {

// CorelDRAW's cdrFilter numbers; SCT, GEM and PIF have no name there.
const std::vector<ListEntry<std::int16_t>>& ExportFilterEntries() {
    static const std::vector<ListEntry<std::int16_t>> entries = {
        {L"TIF 类型文件", 772},  {L"GIF 类型文件", 773}, {L"JPG 类型文件", 774}, {L"BMP 类型文件", 769},
        {L"CPT 类型文件", 1799}, {L"PCX 类型文件", 770}, {L"TGA 类型文件", 771}, {L"SCT 类型文件", 776},
        {L"DXF 类型文件", 1296}, {L"GEM 类型文件", 1284}, {L"PIF 类型文件", 1285},
    };
    return entries;
}

// Codes 1 to 6, one above CorelDRAW's own numbering of the same modes; the
// export hands them over unchanged.
const std::vector<ListEntry<std::int16_t>>& ImageTypeEntries() {
    static const std::vector<ListEntry<std::int16_t>> entries = {
        {L"黑白", 1},
        {L"16 色", 2},
        {L"灰阶 (8位元)", 3},
        {L"色盘式 (8位元)", 4},
        {L"RGB 色彩 (24位元)", 5},
        {L"CMYK 色彩(32位元)", 6},
    };
    return entries;
}

const std::vector<ListEntry<ExportSize>>& ExportSizeEntries() {
    static const std::vector<ListEntry<ExportSize>> entries = {
        {L"1：1 原样", {true, 0, 0}},
        {L"640x480(VGA)", {false, 640, 480}},
        {L"800x600(SVGA)", {false, 800, 600}},
        {L"1024x768", {false, 1024, 768}},
    };
    return entries;
}

const std::vector<ListEntry<std::int16_t>>& ResolutionEntries() {
    static const std::vector<ListEntry<std::int16_t>> entries = {
        {L"96 dpi", 96},   {L"100 dpi", 100}, {L"150 dpi", 150}, {L"200 dpi", 200},
        {L"250 dpi", 250}, {L"300 dpi", 300}, {L"600 dpi", 600}, {L"1200 dpi", 1200},
    };
    return entries;
}

}  // namespace trevolo
