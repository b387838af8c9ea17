// What a registry read gives back: nothing, a text or a 32-bit integer.
// Callers use it through its text form.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace trevolo {

class RegistryValue {
public:
    using Data = std::variant<std::monostate, std::wstring, std::int32_t>;

    RegistryValue() = default;
    RegistryValue(std::wstring text) : data_(std::move(text)) {}
    RegistryValue(const wchar_t* text) : data_(std::wstring(text)) {}
    RegistryValue(std::int32_t number) : data_(number) {}

    const Data& data() const noexcept { return data_; }
    bool empty() const noexcept { return std::holds_alternative<std::monostate>(data_); }

    // Empty gives the empty text, a text itself (a stored NUL included), an
    // integer its decimal digits.
    std::wstring Text() const {
        if (auto* text = std::get_if<std::wstring>(&data_)) return *text;
        if (auto* number = std::get_if<std::int32_t>(&data_)) return std::to_wstring(*number);
        return {};
    }

    friend bool operator==(const RegistryValue& a, const RegistryValue& b) { return a.data_ == b.data_; }
    friend bool operator!=(const RegistryValue& a, const RegistryValue& b) { return !(a == b); }

private:
    Data data_;
};

}  // namespace trevolo
