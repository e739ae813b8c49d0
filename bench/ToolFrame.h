#pragma once

#include <wx/frame.h>

// A frame of the program's size and style, as the baselines use it.
inline wxFrame* NewToolFrame(const wxString& title) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
                              wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU | wxFRAME_TOOL_WINDOW);
    frame->SetClientSize(frame->FromDIP(wxSize(201, 427)));
    return frame;
}
