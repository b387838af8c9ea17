// The maker's contact details, shown by the information box and the banner.
// The add-on's information script (payloads/scripts/about.csc) carries the
// same web address, telephone and messenger number; a test holds the two
// together.
#pragma once

namespace trevolo::maker {

inline constexpr wchar_t kWebAddress[] = L"www.varo-tiaoma-keji.example";
inline constexpr wchar_t kTelephone[] = L"0571-05550123";
inline constexpr wchar_t kMessengerNumber[] = L"0555012399";
inline constexpr wchar_t kEmail[] = L"service@varo-tiaoma-keji.example";

}  // namespace trevolo::maker
