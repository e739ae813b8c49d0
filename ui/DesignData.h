#pragma once

#include "workflow/Captions.h"

namespace zq::design {

// Positions and sizes in twips (1/1440 inch), relative to the control's container.
struct Rect {
    int left;
    int top;
    int width;
    int height;
};

// 15 twips make one pixel at 96 DPI; rounded to the nearest pixel. The layout grows by
// `scale` on a desktop whose text is larger than the design's.
constexpr int ToPixels(int twips, double scale = 1.0) { return static_cast<int>(twips * scale / 15.0 + 0.5); }

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

// Every text a control shows at some time, with the room the control has for it: its size
// less what the control itself draws around the text, in pixels at 96 DPI.
struct TextRoom {
    const char* text;
    const Rect& control;
    int framePixels;
};
inline constexpr const char* kLongestNumber = "000000000000";  // after the saved-number prefix
inline constexpr int kButtonFramePixels = 12;  // a button's border and the least padding inside it
// A line may lose this much of the empty room its font keeps above the accents and below
// the descenders, and still be read whole.
inline constexpr int kLineLeadingPixels = 2;
inline constexpr TextRoom kTextRooms[] = {
    {captions::kPrompt, kLabel2, 0},
    {captions::kSavedNumberPrefix, kLabel2, 0},  // measured with kLongestNumber after it
    {kLabel3Caption, kLabel3, 0},
    {captions::kCheckButton, kCommand1, kButtonFramePixels},
    {captions::kWaitingForTypedNumber, kCommand1, kButtonFramePixels},
    {captions::kWaitingForSavedNumber, kCommand1, kButtonFramePixels},
    {kFrame1Caption, kFrame1, 0},
};

}  // namespace zq::design
