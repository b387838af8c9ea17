#include <cstdint>
#include <string>
#include <utility>

#include "ExportOperations.h"
#include "FailureRule.h"
#include "Int16.h"

namespace trevolo {
namespace {

// GetSize's units to pixels; the same factor whatever the resolution.
constexpr double kSizeFactor = 0.001181;

constexpr bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The first `count` characters of `text`, a surrogate pair counting as one.
std::wstring FirstCharacters(const std::wstring& text, int count) {
    std::size_t end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        const bool pair = IsHighSurrogate(text[end]) && end + 1 < text.size() && IsLowSurrogate(text[end + 1]);
        end += pair ? 2 : 1;
    }
    return text.substr(0, end);
}

// OutputFolder, "\输出页码", the page number, "." and the first three
// characters of Combo1's text, joined as they are: the default Text2
// "批量输出\" gives two backslashes in a row.
std::wstring PageFileName(const FormControls& form, std::int16_t page) {
    const std::wstring extension = FirstCharacters(form.Text(ControlId::Combo1), 3);
    return OutputFolder(form) + L"\\输出页码" + DecimalText(page) + L"." + extension;
}

bool IsActualSizeMode(const FormControls& form) {
    // Both are read every time; either one chooses actual size.
    const bool textMatches = form.Text(ControlId::Combo3) == L"1：1 原样";
    const bool firstEntry = form.ListIndex(ControlId::Combo3) == 0;
    return textMatches || firstEntry;
}

FileExportArgs ExportArgs(std::wstring fileName, const ExportSettings& settings, ExportDimension width,
                          ExportDimension height) {
    FileExportArgs args;
    args.FileName = std::move(fileName);
    args.FilterId = settings.ExportFilter;
    args.Width = width;
    args.Height = height;
    args.XResolution = settings.Resolution;
    args.YResolution = settings.Resolution;
    args.ImageType = settings.ImageType;
    args.AntiAliasing = 1;
    args.Overwrite = true;
    args.SelectionOnly = false;
    return args;
}

class BatchRun {
public:
    BatchRun(DrawSession& session, const FormControls& form, const ExportSettings& settings)
        : session_(session), form_(form), settings_(settings) {}

    // A step that fails is skipped and the next one runs; the session is
    // emptied at the end whatever happened.
    void Run(FolderSystem& folders) {
        RunEachStep(
            [&] { MakeOutputFolder(form_, folders); },
            [&] { return session_.Open(); },
            [&] { return session_.SetDocVisible(true); },
            [&] { return session_.SetVisible(true); },
            [&] { return session_.ZoomToPage(); },
            [&] { return session_.SetCurrentPage(settings_.StartPage); },
            [&] { startPageFileName_ = PageFileName(form_, settings_.StartPage); },
            [&] { actualSize_ = IsActualSizeMode(form_); },
            [&] { ExportRange(); },
            [&] { session_.Close(); });
    }

private:
    void ExportRange() {
        if (settings_.EndPage == settings_.StartPage) {
            ExportPage(settings_.StartPage, startPageFileName_);
        } else if (settings_.EndPage > settings_.StartPage) {
            // The counter is 16-bit and EndPage is read once. The loop leaves
            // on its last page instead of stepping past it, so a range that
            // ends at 32767 ends there rather than wrapping round.
            const std::int16_t last = settings_.EndPage;
            for (std::int16_t page = settings_.StartPage;; ++page) {
                ExportPage(page, PageFileName(form_, page));
                if (page == last) break;
            }
        }
    }

    void ExportPage(std::int16_t page, const std::wstring& fileName) {
        if (actualSize_)
            ExportActualSize(page, fileName);
        else
            ExportFixedSize(page, fileName);
    }

    void ExportActualSize(std::int16_t page, const std::wstring& fileName) {
        // A GetSize that fails leaves the sizes of the page before, or 0.
        RunEachStep(
            [&] { return session_.SetCurrentPage(page); },
            [&] { return session_.SelectAllObjects(); },
            [&] { return session_.GetSize(xSize_, ySize_); },
            [&] {
                return session_.FileExport(
                    ExportArgs(fileName, settings_, xSize_ * kSizeFactor, ySize_ * kSizeFactor));
            });
    }

    void ExportFixedSize(std::int16_t page, const std::wstring& fileName) {
        RunEachStep(
            [&] { return session_.SetCurrentPage(page); },
            [&] {
                return session_.FileExport(ExportArgs(fileName, settings_, std::int32_t{settings_.ExportWidth},
                                                      std::int32_t{settings_.ExportHeight}));
            });
    }

    DrawSession& session_;
    const FormControls& form_;
    const ExportSettings& settings_;
    std::wstring startPageFileName_;
    bool actualSize_ = false;
    std::int32_t xSize_ = 0;
    std::int32_t ySize_ = 0;
};

}  // namespace

void RunBatchExport(DrawSession& session, const FormControls& form, const ExportSettings& settings,
                    FolderSystem& folders) {
    BatchRun(session, form, settings).Run(folders);
}

}  // namespace trevolo
