#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSortFilterProxyModel>
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

// Folders to walk through and the files that may be run, nothing else.
class ExecutablesOnly final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }
};

using TextSource = std::function<std::string(std::string_view)>;

std::optional<std::string> run(QWidget* parent, const FileDialogRequest& request, bool save,
                               const TextSource& text) {
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
    // The filter and the list of choices live inside the dialog: only Qt's own dialog has room for them.
    if (request.executablesOnly || !request.choices.empty())
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (request.executablesOnly) dialog.setProxyModel(new ExecutablesOnly(&dialog));
    std::optional<std::string> picked;
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()); grid && !request.choices.empty()) {
        const std::string heading = text ? text(request.choicesTitleId) : request.choicesTitleId;
        auto* label = new QLabel(QString::fromStdString(heading), &dialog);
        auto* list = new QListWidget(&dialog);
        list->setObjectName("file_dialog_choices");
        for (const FileChoice& choice : request.choices) {
            auto* item =
                new QListWidgetItem(QString::fromStdString(choice.name + "  \u2014  " + choice.path), list);
            item->setData(Qt::UserRole, QString::fromStdString(choice.path));
            item->setToolTip(QString::fromStdString(choice.path));
        }
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0, 1, grid->columnCount());
        grid->addWidget(list, row + 1, 0, 1, grid->columnCount());
        // One click shows the choice in the browser; a double click takes it.
        QObject::connect(list, &QListWidget::itemClicked, &dialog, [&dialog](QListWidgetItem* item) {
            dialog.selectFile(item->data(Qt::UserRole).toString());
        });
        QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog,
                         [&dialog, &picked](QListWidgetItem* item) {
                             picked = item->data(Qt::UserRole).toString().toStdString();
                             static_cast<QDialog&>(dialog).done(QDialog::Accepted);
                         });
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    if (picked) return picked;
    if (dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::string path = dialog.selectedFiles().constFirst().toStdString();
    return save ? withDefaultExtension(std::move(path), request.defaultExtension) : path;
}

} // namespace

std::optional<std::string> QtFileDialogs::openFile(const FileDialogRequest& request) {
    return run(parent_, request, false, text_);
}
std::optional<std::string> QtFileDialogs::saveFile(const FileDialogRequest& request) {
    return run(parent_, request, true, text_);
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
