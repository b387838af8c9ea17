// The window's record of what to export: eight 16-bit signed integers.
#pragma once

#include <cstdint>

namespace trevolo {

struct ExportSettings {
    std::int16_t PageCount = 1;
    std::int16_t ExportFilter = 772;
    std::int16_t ImageType = 6;
    std::int16_t ExportWidth = 500;
    std::int16_t ExportHeight = 500;
    std::int16_t Resolution = 300;
    std::int16_t StartPage = 1;
    std::int16_t EndPage = 1;
};

}  // namespace trevolo
