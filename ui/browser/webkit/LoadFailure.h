#pragma once

#include <string>

#include <glib.h>

namespace zq {

// Why the usage page could not be loaded, as far as the user can act on it.
enum class LoadFailure { NoAnswer, Refused, NameNotFound, TooLarge, NoConnection, Untrusted, Unresponsive, Other };

LoadFailure ClassifyLoadError(const GError* error, bool declaredTooLarge);

// The words shown in the browser's place, in the program's language.
std::string LoadFailureHtml(LoadFailure failure);

}  // namespace zq
