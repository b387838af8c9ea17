#include "SettingsHandlers.h"

#include <optional>

#include "FailureRule.h"
#include "Int16.h"
#include "SettingsTables.h"

namespace trevolo {
namespace {

// CorelDRAW's GetSize units to pixels, whatever the resolution.
constexpr double kSizeFactor = 0.001181;

template <typename Value>
bool Store(const std::optional<Value>& value, Value& field) {
    if (!value) return false;
    field = *value;
    return true;
}

}  // namespace

void ChooseExportFilter(int index, ExportSettings& settings) {
    RunEachStep([&] { return Store(SettingAt(ExportFilterEntries(), index), settings.ExportFilter); });
}

void ChooseImageType(int index, ExportSettings& settings) {
    RunEachStep([&] { return Store(SettingAt(ImageTypeEntries(), index), settings.ImageType); });
}

void ChooseResolution(int index, ExportSettings& settings) {
    RunEachStep([&] { return Store(SettingAt(ResolutionEntries(), index), settings.Resolution); });
}

SizeReadingFailure ChooseExportSize(int index, DrawSession& session, ExportSettings& settings) {
    const std::optional<ExportSize> size = SettingAt(ExportSizeEntries(), index);
    if (!size) return SizeReadingFailure::None;
    if (!size->Measured) {
        settings.ExportWidth = size->Width;
        settings.ExportHeight = size->Height;
        return SizeReadingFailure::None;
    }

    SizeReadingFailure failure = SizeReadingFailure::None;
    auto step = [&failure](bool worked, SizeReadingFailure whenNot) {
        if (!worked) failure = whenNot;
        return worked;
    };
    std::int32_t xSize = 0, ySize = 0;
    RunStepsUntilFailure(
        [&] { return step(session.Open(), SizeReadingFailure::Unreachable); },
        [&] { return step(session.SelectAllObjects(), SizeReadingFailure::NoSelection); },
        [&] { return step(session.GetSize(xSize, ySize), SizeReadingFailure::NoSize); },
        [&] {
            session.Close();
            return true;
        },
        [&] {
            return step(Store(RoundToInt16(xSize * kSizeFactor), settings.ExportWidth),
                        SizeReadingFailure::WidthTooLarge);
        },
        [&] {
            return step(Store(RoundToInt16(ySize * kSizeFactor), settings.ExportHeight),
                        SizeReadingFailure::HeightTooLarge);
        });
    return failure;
}

std::wstring_view SizeReadingMessage(SizeReadingFailure failure) {
    switch (failure) {
    case SizeReadingFailure::None:
        return {};
    case SizeReadingFailure::Unreachable:
        return L"无法连接 CorelDRAW，未能读取图形的原样大小。\r\n请先启动 CorelDRAW 9 并打开图形，再选择“1：1 原样”。";
    case SizeReadingFailure::NoSelection:
        return L"CorelDRAW 未能选中当前页面上的对象，未能读取图形的原样大小。\r\n请确认 CorelDRAW 中已打开图形。";
    case SizeReadingFailure::NoSize:
        return L"CorelDRAW 未能给出当前页面上对象的大小，输出大小保持不变。\r\n请确认当前页面上有对象。";
    case SizeReadingFailure::WidthTooLarge:
        return L"图形太宽：按 1：1 原样输出的宽度超过 32767 像素，输出大小保持不变。";
    case SizeReadingFailure::HeightTooLarge:
        return L"图形太高：按 1：1 原样输出的高度超过 32767 像素，输出高度保持不变（宽度已更新）。";
    }
    return {};
}

void TakePageNumber(std::wstring_view text, wchar_t decimalSeparator, std::int16_t& field) {
    RunEachStep([&] { return Store(ParseInt16(text, decimalSeparator), field); });
}

}  // namespace trevolo
