// At a larger desktop text size (run with GDK_DPI_SCALE=1.25 and an 11-point font), the
// window grows by the layout's rule and no text is cut, in Entry, at a saved-number start
// and after the reveal.

#include <gtest/gtest.h>
#include <wx/control.h>
#include <wx/statbox.h>

#include "TestUsageServer.h"
#include "UiHarness.h"
#include "WebPage.h"
#include "ui/DesignData.h"
#include "ui/LayoutScale.h"

namespace zq::test {
namespace {

class LargerText : public WindowFixture {
protected:
    void SetUp() override {
        if (TextResolutionScale() <= 1.0) GTEST_SKIP() << "the desktop's text is at its default size";
    }

    // The text, in the control's own font, inside the control's rectangle; the line may
    // lose a pixel of its empty leading above and below.
    static void ExpectTextFits(wxWindow* control, const wxString& text) {
        const wxSize extent = control->GetTextExtent(text);
        EXPECT_LE(extent.x, control->GetSize().x) << text;
        EXPECT_LE(extent.y, control->GetSize().y + 2) << text;
    }
    // The caption clear of the button's border, with a few pixels on either side.
    static void ExpectButtonFits(wxWindow* button) {
        const wxSize extent = button->GetTextExtent(wxControl::RemoveMnemonics(button->GetLabel()));
        EXPECT_LE(extent.x + 12, button->GetSize().x) << button->GetLabel();
        EXPECT_LE(extent.y + 6, button->GetSize().y) << button->GetLabel();
    }
    void ExpectGrownWindow() {
        const double scale = LayoutScale(&Window());
        EXPECT_GE(scale, TextResolutionScale());
        EXPECT_EQ(Window().GetClientSize(), wxSize(design::ToPixels(design::kClientWidth, scale),
                                                   design::ToPixels(design::kClientHeight, scale)));
        std::cout << "layout scale " << scale << ", client " << Window().GetClientSize().x << " x "
                  << Window().GetClientSize().y << "\n";
    }
};

TEST_F(LargerText, EveryTextFitsItsControlAndThePageStillCoversTheWindow) {
    TestUsageServer server;
    StartWindow(server.Host());
    ExpectGrownWindow();
    ExpectTextFits(Window().Label2(), "Isikan Nomer Zentra Anda :");
    ExpectTextFits(Window().Label3(), Window().Label3()->GetLabel());
    ExpectButtonFits(Window().Command1());
    Type("123456789012");
    PressAltS();
    EXPECT_EQ(Window().Command1()->GetLabel(), "Please wait...");
    ExpectButtonFits(Window().Command1());
    Window().Destroy();
    Pump(100);

    test::WriteBytes(settingPath, " 370370367036 \r\n");
    StartWindow(server.Host());
    ExpectGrownWindow();
    ExpectTextFits(Window().Label2(), "Cek Quota 123456789012");
    EXPECT_EQ(Window().Command1()->GetLabel(), "Please wait");
    ExpectButtonFits(Window().Command1());

    ASSERT_TRUE(WaitForTicks(4));
    ASSERT_TRUE(WaitUntil([&] { return ServerPageLoaded(Window().Browser().Window()); }));
    Pump(300);
    const wxPoint origin = Window().ClientToScreen(wxPoint(0, 0));
    const wxSize client = Window().GetClientSize();
    EXPECT_TRUE(Window().Browser().Window()->GetRect().Contains(wxRect(wxPoint(0, 0), client)));
    EXPECT_EQ(input.ScreenPixel(origin), TestUsageServer::kPageColour);
    EXPECT_EQ(input.ScreenPixel(origin + client - wxSize(1, 1)), TestUsageServer::kPageColour);
}

}  // namespace
}  // namespace zq::test
