// Every control where the design puts it, at the display's scale: run once at 96 DPI and
// once with GDK_SCALE=2, where GTK doubles every device pixel by itself.

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "TestUsageServer.h"
#include "UiHarness.h"
#include "ui/DesignData.h"

namespace zq::test {
namespace {

wxRect DesignPixels(const design::Rect& r) {
    return {design::ToPixels(r.left), design::ToPixels(r.top), design::ToPixels(r.width),
            design::ToPixels(r.height)};
}

// The size of the window's client area on the display, in device pixels.
wxSize DevicePixels(wxWindow* window) {
    GdkWindow* gdkWindow = window->GTKGetDrawingWindow();
    const double scale = window->GetContentScaleFactor();
    return wxSize(static_cast<int>(gdk_window_get_width(gdkWindow) * scale),
                  static_cast<int>(gdk_window_get_height(gdkWindow) * scale));
}

// The toolkit's own widgets inside a window, its title bar among them.
std::vector<GtkWidget*> Descendants(GtkWidget* widget, GType type) {
    std::vector<GtkWidget*> found;
    if (!GTK_IS_CONTAINER(widget)) return found;
    struct Search {
        GType type;
        std::vector<GtkWidget*>* found;
    } search{type, &found};
    gtk_container_forall(GTK_CONTAINER(widget), [](GtkWidget* child, gpointer data) {
        auto* s = static_cast<Search*>(data);
        if (G_TYPE_CHECK_INSTANCE_TYPE(child, s->type)) s->found->push_back(child);
        for (GtkWidget* inner : Descendants(child, s->type)) s->found->push_back(inner);
    }, &search);
    return found;
}

class Geometry : public WindowFixture {
protected:
    TestUsageServer server;
    int scale = 1;
    void SetUp() override {
        const char* gdkScale = std::getenv(RealInput::OnWayland() ? "ZQ_SEAT_SCALE" : "GDK_SCALE");
        scale = gdkScale ? std::atoi(gdkScale) : 1;
    }
};

TEST_F(Geometry, TheWindowAndEveryControlMatchTheDesign) {
    StartWindow(server.Host());
    EXPECT_EQ(Window().GetContentScaleFactor(), scale);
    EXPECT_EQ(Window().GetClientSize(), wxSize(201, 427));
    EXPECT_EQ(DevicePixels(&Window()), wxSize(201 * scale, 427 * scale));
    EXPECT_FALSE(Window().HasFlag(wxRESIZE_BORDER));
    EXPECT_FALSE(Window().HasFlag(wxMAXIMIZE_BOX));
    EXPECT_FALSE(Window().HasFlag(wxMINIMIZE_BOX));

    EXPECT_EQ(Window().Frame1()->GetRect(), DesignPixels(design::kFrame1));
    EXPECT_EQ(Window().Text1()->GetRect(), DesignPixels(design::kText1));
    EXPECT_EQ(Window().Command1()->GetRect(), DesignPixels(design::kCommand1));
    EXPECT_EQ(Window().Image1()->GetRect(), DesignPixels(design::kImage1));
    EXPECT_EQ(Window().Label2()->GetRect(), DesignPixels(design::kLabel2));
    EXPECT_EQ(Window().Label3()->GetRect(), DesignPixels(design::kLabel3));
    EXPECT_EQ(Window().Label1()->GetRect(), DesignPixels(design::kLabel1));

    // The logo is drawn from the picture made for this scale, so it stays sharp.
    const wxBitmap logo = Window().Image1()->GetBitmap();
    EXPECT_EQ(logo.GetScaleFactor(), scale);
    EXPECT_EQ(logo.GetWidth(), 100 * scale);
    EXPECT_EQ(logo.GetHeight(), 41 * scale);

    // The number box's font: Arial 12 point bold, or the metric-compatible stand-in.
    const wxFont font = Window().Text1()->GetFont();
    EXPECT_EQ(font.GetPointSize(), 12);
    EXPECT_EQ(font.GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_EQ(font.GetFaceName(), "Arial");

    // Where GTK draws the title bar: as wide as the window, the title shortened to fit,
    // and a close button only.
    if (RealInput::OnWayland()) {
        const auto titleBar = Descendants(GTK_WIDGET(Window().GetHandle()), GTK_TYPE_HEADER_BAR);
        ASSERT_EQ(titleBar.size(), 1u);
        EXPECT_EQ(gtk_widget_get_allocated_width(titleBar[0]), 201);
        int buttons = 0;
        for (GtkWidget* button : Descendants(titleBar[0], GTK_TYPE_BUTTON)) buttons += gtk_widget_get_visible(button);
        EXPECT_EQ(buttons, 1);
        bool shortened = false;
        for (GtkWidget* label : Descendants(titleBar[0], GTK_TYPE_LABEL)) {
            shortened |= pango_layout_is_ellipsized(gtk_label_get_layout(GTK_LABEL(label))) != FALSE;
        }
        EXPECT_TRUE(shortened);
    }

    // Centred on the screen, where the program places its window: a Wayland compositor
    // places windows itself.
    if (RealInput::OnWayland()) return;
    const wxRect screen = wxGetClientDisplayRect();
    const wxRect outer = Window().GetScreenRect();
    EXPECT_NEAR(outer.x + outer.width / 2, screen.x + screen.width / 2, 1);
    EXPECT_NEAR(outer.y + outer.height / 2, screen.y + screen.height / 2, 1);
}

// What the window manager shows beside the title and in the task bar: the icon at three
// sizes, clear outside its round edge and opaque at its centre.
TEST_F(Geometry, TheWindowsIconsKeepTheirTransparency) {
    StartWindow(server.Host());
    GList* icons = gtk_window_get_icon_list(GTK_WINDOW(Window().GetHandle()));
    std::vector<int> sizes;
    for (GList* item = icons; item; item = item->next) {
        GdkPixbuf* icon = GDK_PIXBUF(item->data);
        const int size = gdk_pixbuf_get_width(icon);
        sizes.push_back(size);
        ASSERT_EQ(gdk_pixbuf_get_height(icon), size);
        ASSERT_TRUE(gdk_pixbuf_get_has_alpha(icon));
        const auto alphaAt = [icon](int x, int y) {
            return gdk_pixbuf_get_pixels(icon)[y * gdk_pixbuf_get_rowstride(icon) + x * 4 + 3];
        };
        EXPECT_EQ(alphaAt(0, 0), 0) << size;
        EXPECT_EQ(alphaAt(size - 1, size - 1), 0) << size;
        EXPECT_EQ(alphaAt(size / 2, size / 2), 255) << size;
    }
    g_list_free(icons);
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
}

TEST_F(Geometry, TheBrowserLiesOverTheWholeWindow) {
    StartWindow(server.Host());
    Type("123456789012");
    PressAltS();
    ASSERT_TRUE(WaitUntil([&] { return Window().Browser().Window() != nullptr; }));
    EXPECT_EQ(Window().Browser().Window()->GetRect(), DesignPixels(design::kBrowser));
}

}  // namespace
}  // namespace zq::test
