#pragma once

class wxApp;

namespace zq {

// The program's identity and the image decoders its window relies on.
void PrepareApplication(wxApp& app);

}  // namespace zq
