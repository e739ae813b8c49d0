#include "settings/SettingFile.h"

#include "workflow/NumberText.h"

namespace zq {

SettingFile::SettingFile(FileSystem& files, std::filesystem::path path,
                         std::optional<std::filesystem::path> fallback)
    : files_(files), path_(std::move(path)), fallback_(std::move(fallback)) {}

const std::filesystem::path& SettingFile::ReadPath() const {
    return fallback_ && !files_.IsRegularFile(path_) ? *fallback_ : path_;
}

bool SettingFile::SavedNumberExists() const { return files_.IsRegularFile(ReadPath()); }

std::optional<std::string> SettingFile::ReadSavedNumber() const {
    const auto content = files_.ReadAll(ReadPath(), kMaxBytes);
    if (!content) return std::nullopt;
    const auto stored = ToNumber(JoinLinesWithCrLf(*content));
    if (!stored) return std::nullopt;
    const auto number = CheckedResult(*stored / 3);
    if (!number) return std::nullopt;
    return ToText(*number);
}

void SettingFile::WriteSavedNumber(std::string_view numberText) const {
    auto file = files_.OpenForWriting(path_);
    if (!file && fallback_ && !files_.IsRegularFile(path_) && files_.CreateFolders(fallback_->parent_path())) {
        file = files_.OpenForWriting(*fallback_);
    }
    if (!file) return;
    if (const auto number = ToNumber(numberText)) {
        if (const auto stored = CheckedResult(*number * 3)) file->Write(PrintNumber(*stored));
    }
    file->Close();
}

std::string JoinLinesWithCrLf(std::string_view content) {
    std::string joined;
    joined.reserve(content.size() + 2);
    while (!content.empty()) {
        const auto end = content.find('\r');
        joined.append(content.substr(0, end));
        joined.append("\r\n");
        if (end == std::string_view::npos) break;
        content.remove_prefix(end + 1);
        if (!content.empty() && content.front() == '\n') content.remove_prefix(1);
    }
    return joined;
}

}  // namespace zq
