#pragma once
// Message texts of the deployment validation.

#include <string>
#include <string_view>

namespace sulvan {

// The text of a finding of the validation, by its identifier.
std::string_view ConfigMessageText(int nId);

// The texts of each non-zero identifier and each non-null literal, in argument order.
std::string ComposeMessage(int nId1, const char* pText1 = nullptr, int nId2 = 0,
                           const char* pText2 = nullptr, int nId3 = 0, const char* pText3 = nullptr,
                           int nId4 = 0, const char* pText4 = nullptr);

}  // namespace sulvan
