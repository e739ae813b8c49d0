#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/MessageBoxService.h"

namespace zq::test {

// Files in memory, with the failures a real disk can give. Tests run as root, which
// ignores permission bits, so refused opens and failing writes are modelled here.
class FakeFileSystem final : public FileSystem {
public:
    std::map<std::filesystem::path, std::string> files;
    std::set<std::filesystem::path> refuseWriting;  // no permission, read-only file
    std::set<std::filesystem::path> refuseReading;
    bool writesFail = false;  // a full disk: the open truncates, the write fails
    int closes = 0;

    bool IsRegularFile(const std::filesystem::path& path) override { return files.contains(path); }

    std::optional<std::string> ReadAll(const std::filesystem::path& path,
                                       std::size_t maxBytes) override {
        const auto found = files.find(path);
        if (found == files.end() || refuseReading.contains(path)) return std::nullopt;
        if (found->second.size() > maxBytes) return std::nullopt;
        return found->second;
    }

    std::unique_ptr<WritableFile> OpenForWriting(const std::filesystem::path& path) override {
        if (refuseWriting.contains(path) || refuseWriting.contains(path.parent_path())) return nullptr;
        files[path].clear();
        return std::make_unique<File>(*this, files[path]);
    }

    bool CreateFolders(const std::filesystem::path& folder) override {
        if (refuseWriting.contains(folder)) return false;
        folders.insert(folder);
        return true;
    }
    std::set<std::filesystem::path> folders;

private:
    class File final : public WritableFile {
    public:
        File(FakeFileSystem& owner, std::string& content) : owner_(owner), content_(content) {}
        bool Write(std::string_view bytes) override {
            if (owner_.writesFail) return false;
            content_.append(bytes);
            return true;
        }
        bool Close() override {
            ++owner_.closes;
            return true;
        }

    private:
        FakeFileSystem& owner_;
        std::string& content_;
    };
};

class RecordingMessageBox final : public MessageBoxService {
public:
    std::vector<std::string> shown;
    void Show(std::string_view text) override { shown.emplace_back(text); }
};

}  // namespace zq::test
