#pragma once

#include <string>

class wxWindow;

namespace zq::test {

// Looking into the browser's page from outside, as the program itself never does.
std::string PageText(wxWindow* browser);
bool IsLoading(wxWindow* browser);
std::string CurrentAddress(wxWindow* browser);

}  // namespace zq::test
