// The window's parts as the export reads them, without a window.
#pragma once

#include <map>
#include <string>

#include "ExportOperations.h"

namespace bench {

class BenchForm final : public trevolo::FormControls {
public:
    std::map<trevolo::ControlId, std::wstring> texts{
        {trevolo::ControlId::Text2, L"批量输出\\"},
        {trevolo::ControlId::Combo1, L"GIF 类型文件"},
        {trevolo::ControlId::Combo3, L"1：1 原样"},
    };
    int combo3Index = -1;

    std::wstring Text(trevolo::ControlId id) const override {
        auto it = texts.find(id);
        return it == texts.end() ? std::wstring() : it->second;
    }
    void SetText(trevolo::ControlId id, const std::wstring& text) override { texts[id] = text; }
    int ListIndex(trevolo::ControlId id) const override {
        return id == trevolo::ControlId::Combo3 ? combo3Index : -1;
    }
};

// The folder always exists, so the runs measure CorelDRAW calls only.
class ExistingFolder final : public trevolo::FolderSystem {
public:
    bool Exists(const std::wstring&) override { return true; }
    bool CreateFolder(const std::wstring&) override { return false; }
};

}  // namespace bench
