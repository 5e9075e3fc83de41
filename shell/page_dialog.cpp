#include "shell/page_dialog.h"

#include "ui/skin.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMetaObject>
#include <QTimer>
#include <QVBoxLayout>

namespace zq::shell {

PageDialog::PageDialog(const ui::Skin& skin, std::string_view resourceName, QWidget* parent, int rejectCode)
    : page_(skin, resourceName), rejectCode_(rejectCode), code_(rejectCode) {
    QWidget* root = page_.root();
    if (auto* own = qobject_cast<QDialog*>(root)) {
        dialog_ = own;
        if (parent) own->setParent(parent, own->windowFlags() | Qt::Dialog);
    } else {
        dialog_ = new QDialog(parent);
        ownsDialog_ = true;
        auto* layout = new QVBoxLayout(dialog_);
        layout->setContentsMargins(0, 0, 0, 0);
        if (root) {
            layout->addWidget(root);
            dialog_->resize(root->size().expandedTo(root->minimumSizeHint()));
        }
    }
}

PageDialog::~PageDialog() {
    // The page's handler may refer to the owner of this dialog; nothing may reach it any more.
    page_.setHandler(nullptr);
    if (ownsDialog_ && dialog_) delete dialog_.data();
}

void PageDialog::deleteWhenClosed() {
    if (!dialog_) return;
    auto finish = [this] {
        // Not from inside the window's own signal: the window is deleted with this object.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [this] { delete this; }, Qt::QueuedConnection);
    };
    QObject::connect(dialog_, &QDialog::finished, dialog_, finish);
}

int PageDialog::exec() {
    if (!dialog_) return rejectCode_;
    closedByPage_ = false;
    code_ = rejectCode_;
    if (onShown_) QTimer::singleShot(0, dialog_, [hook = onShown_] { hook(); });
    dialog_->exec();
    return closedByPage_ ? code_ : rejectCode_;
}

void PageDialog::show() {
    if (dialog_) dialog_->show();
}

void PageDialog::done(int code) {
    code_ = code;
    closedByPage_ = true;
    if (dialog_) dialog_->done(code);
}

bool PageDialog::isOpen() const {
    return dialog_ && dialog_->isVisible();
}

} // namespace zq::shell
