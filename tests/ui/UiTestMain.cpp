#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include "app/ApplicationSetup.h"

namespace {

class UiTestApp final : public wxApp {
public:
    bool OnInit() override {
        zq::PrepareApplication(*this);
        return true;
    }
};

}  // namespace

// Each test process runs one wx application on the display the test runner gives it.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new UiTestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 2;
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
