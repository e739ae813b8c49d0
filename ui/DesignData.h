#pragma once

namespace zq::design {

// Positions and sizes in twips (1/1440 inch), relative to the control's container.
struct Rect {
    int left;
    int top;
    int width;
    int height;
};

// 15 twips make one pixel at 96 DPI; rounded to the nearest pixel.
constexpr int ToPixels(int twips) { return (twips * 2 + 15) / 30; }

inline constexpr const char* kWindowTitle = " Pengecekan Quota Zentra";
inline constexpr int kClientWidth = 3015;
inline constexpr int kClientHeight = 6405;

inline constexpr Rect kFrame1{120, 240, 2775, 6015};
inline constexpr const char* kFrame1Caption = "No. Zentra";
inline constexpr Rect kCommand1{600, 2760, 1575, 495};  // Top comes from the window state
inline constexpr Rect kText1{190, 2160, 2415, 405};
inline constexpr Rect kImage1{550, 840, 1500, 615};
inline constexpr Rect kLabel3{120, 5640, 2535, 255};
inline constexpr const char* kLabel3Caption = "zentraquota.example";  // the maker's web address
inline constexpr Rect kLabel2{0, 1800, 2775, 255};
inline constexpr Rect kLabel1{2280, 1080, 255, 255};
inline constexpr Rect kBrowser{0, 0, 3615, 6800};  // larger than the window: its scroll bars are clipped

inline constexpr int kText1FontPoints = 12;
inline constexpr const char* kText1FontFace = "Arial";

}  // namespace zq::design
