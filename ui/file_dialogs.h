#pragma once
// Open and save-as dialogs with a filter, a default extension and an overwrite prompt, behind an
// interface so page code can be driven by a script in tests.
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zq::ui {

struct FileDialogRequest {
    std::string title;
    // Pairs of description and patterns separated by '|', as in "(*.png) | *.png |(*.*)|*.*||".
    std::string filter;
    std::string defaultExtension; // without the dot: "png"
    std::string initialName;      // the file name field, e.g. "*.png" or "profile.config"
    std::string folder;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nullopt when the user cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    // Asks before overwriting an existing file; the default extension is added when the name has none.
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
};

// "(*.png) | *.png |(*.*)|*.*||" → "(*.png);;(*.*)"; "Profiles|*.config" → "Profiles (*.config)".
std::string qtFileFilter(std::string_view pairs);
// The path with ".ext" appended when its file name has no extension.
std::string withDefaultExtension(std::string path, std::string_view extension);

class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
};

// Answers from a script, in order; an empty script cancels. Records every request.
class ScriptedFileDialogs final : public FileDialogs {
public:
    struct Call {
        bool save;
        FileDialogRequest request;
    };
    void answer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    const std::vector<Call>& calls() const { return calls_; }

private:
    std::optional<std::string> next();
    std::deque<std::optional<std::string>> answers_;
    std::vector<Call> calls_;
};

} // namespace zq::ui
