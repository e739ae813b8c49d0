#pragma once

#include <string>

class wxWindow;

namespace zq::test {

// Looking into the browser's page from outside, as the program itself never does.
// The script's result as text ("" when there is no page or it fails).
std::string RunScript(wxWindow* browser, const char* script);
std::string PageText(wxWindow* browser);
bool IsLoading(wxWindow* browser);
std::string CurrentAddress(wxWindow* browser);
// The page from the server has loaded, not the program's own words before it: between
// those words and the server's page the view is briefly not loading at all.
bool ServerPageLoaded(wxWindow* browser);

}  // namespace zq::test
