#include "platform/WxMessageBox.h"

#include <wx/msgdlg.h>

namespace zq {

void WxMessageBox::Show(std::string_view text) {
    wxMessageDialog dialog(parent_, wxString::FromUTF8(text.data(), text.size()),
                           wxString::FromUTF8(title_.c_str()),
                           wxOK | wxICON_NONE | wxCENTRE);
    dialog.ShowModal();
}

}  // namespace zq
