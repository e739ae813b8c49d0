#pragma once

#include <string_view>

namespace zq {

// A modal message box titled with the application title, with an OK button only and no
// icon. Returns when the user dismisses it.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual void Show(std::string_view text) = 0;
};

}  // namespace zq
