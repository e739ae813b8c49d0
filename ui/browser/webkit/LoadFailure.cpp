#include "ui/browser/webkit/LoadFailure.h"

#include <gio/gio.h>
#include <webkit2/webkit2.h>

namespace zq {

LoadFailure ClassifyLoadError(const GError* error, bool declaredTooLarge) {
    if (declaredTooLarge) return LoadFailure::TooLarge;
    if (!error) return LoadFailure::Other;
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
            case G_IO_ERROR_CONNECTION_REFUSED: return LoadFailure::Refused;
            case G_IO_ERROR_TIMED_OUT: return LoadFailure::NoAnswer;
            case G_IO_ERROR_HOST_NOT_FOUND: return LoadFailure::NameNotFound;
            case G_IO_ERROR_NETWORK_UNREACHABLE:
            case G_IO_ERROR_HOST_UNREACHABLE: return LoadFailure::NoConnection;
            default: break;
        }
    }
    if (error->domain == G_RESOLVER_ERROR) return LoadFailure::NameNotFound;
    // The HTTP library under this web engine reports transport failures in its own domain,
    // with its status codes: 2 cannot resolve, 4 cannot connect, 7 input/output error.
    if (error->domain == g_quark_from_static_string("soup-http-error-quark")) {
        switch (error->code) {
            case 2: return LoadFailure::NameNotFound;
            case 4: return LoadFailure::Refused;
            case 7: return LoadFailure::NoAnswer;
            default: break;
        }
    }
    return LoadFailure::Other;
}

std::string LoadFailureHtml(LoadFailure failure) {
    const char* reason = "Terjadi kesalahan saat menghubungi server Zentra.";
    switch (failure) {
        case LoadFailure::NoAnswer: reason = "Server Zentra tidak menjawab."; break;
        case LoadFailure::Refused: reason = "Server Zentra menolak sambungan."; break;
        case LoadFailure::NameNotFound: reason = "Alamat server Zentra tidak ditemukan."; break;
        case LoadFailure::TooLarge: reason = "Halaman yang dikirim server terlalu besar."; break;
        case LoadFailure::NoConnection: reason = "Tidak ada sambungan ke internet."; break;
        case LoadFailure::Untrusted: reason = "Sambungan ke server Zentra tidak aman."; break;
        case LoadFailure::Unresponsive: reason = "Halaman dari server Zentra berhenti menanggapi."; break;
        case LoadFailure::Other: break;
    }
    return std::string("<p>Halaman pemakaian Zentra tidak dapat dimuat.</p><p>") + reason + "</p>";
}

}  // namespace zq
