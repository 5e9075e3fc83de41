#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace zq::ui {

namespace {
std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}
} // namespace

std::string qtFileFilter(std::string_view pairs) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= pairs.size()) {
        const auto bar = pairs.find('|', start);
        const auto piece =
            pairs.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        parts.push_back(trim(piece));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string& description = parts[i];
        std::string patterns = parts[i + 1];
        if (description.empty() && patterns.empty()) break; // the closing "||"
        for (char& c : patterns)
            if (c == ';') c = ' ';
        // Built by appending: GCC 12 at -O3 warns (-Wrestrict) about "(" + patterns for no reason.
        std::string entry;
        if (description.find('(') != std::string::npos) {
            entry = description;
        } else {
            entry = description;
            if (!description.empty()) entry += ' ';
            entry += '(';
            entry += patterns;
            entry += ')';
        }
        if (!out.empty()) out += ";;";
        out += entry;
    }
    return out;
}

std::string withDefaultExtension(std::string path, std::string_view extension) {
    if (extension.empty() || path.empty()) return path;
    const auto slash = path.find_last_of('/');
    const auto name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    if (name.find('.') == std::string_view::npos) {
        path += '.';
        path += extension;
    }
    return path;
}

namespace {

std::optional<std::string> run(QWidget* parent, const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent, QString::fromStdString(request.title), QString::fromStdString(request.folder),
                       QString::fromStdString(qtFileFilter(request.filter)));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    // A pattern is not a name: leave the field empty rather than offer "*.png" as the file to save.
    if (!request.initialName.empty() && request.initialName.find('*') == std::string::npos) {
        dialog.selectFile(QString::fromStdString(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::string path = dialog.selectedFiles().constFirst().toStdString();
    return save ? withDefaultExtension(std::move(path), request.defaultExtension) : path;
}

} // namespace

std::optional<std::string> QtFileDialogs::openFile(const FileDialogRequest& request) {
    return run(parent_, request, false);
}
std::optional<std::string> QtFileDialogs::saveFile(const FileDialogRequest& request) {
    return run(parent_, request, true);
}

std::optional<std::string> ScriptedFileDialogs::next() {
    if (answers_.empty()) return std::nullopt;
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedFileDialogs::openFile(const FileDialogRequest& request) {
    calls_.push_back({false, request});
    return next();
}

std::optional<std::string> ScriptedFileDialogs::saveFile(const FileDialogRequest& request) {
    calls_.push_back({true, request});
    auto answer = next();
    if (answer) *answer = withDefaultExtension(std::move(*answer), request.defaultExtension);
    return answer;
}

} // namespace zq::ui
