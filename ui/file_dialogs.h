#pragma once
// Open and save-as dialogs with a filter, a default extension and an overwrite prompt, behind an
// interface so page code can be driven by a script in tests.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zq::ui {

// A ready answer offered beside the browser: picking it answers with its path.
struct FileChoice {
    std::string name;
    std::string path;
    bool operator==(const FileChoice&) const = default;
};

struct FileDialogRequest {
    std::string title;
    // Pairs of description and patterns separated by '|', as in "(*.png) | *.png |(*.*)|*.*||".
    std::string filter;
    std::string defaultExtension; // without the dot: "png"
    std::string initialName;      // the file name field, e.g. "*.png" or "profile.config"
    std::string folder;
    // Only folders and executable files are shown (choosing an application).
    bool executablesOnly = false;
    // Offered in a list beside the browser (the applications the user runs now), under a heading given
    // as a text id of the language file.
    std::vector<FileChoice> choices = {};
    std::string choicesTitleId = {};
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
    // `text` resolves the text ids of a request (the choices' heading).
    explicit QtFileDialogs(QWidget* parent = nullptr, std::function<std::string(std::string_view)> text = {})
        : parent_(parent), text_(std::move(text)) {}
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
    std::function<std::string(std::string_view)> text_;
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
