#include "ui/page.h"

#include "platform/debug.h"
#include "ui/item_style.h"
#include "ui/page_core.h"
#include "ui/palette_widget.h"
#include "ui/skin.h"
#include "ui/widget_text.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

namespace zq::ui {

namespace {

// The checked state a button had when it was pressed: a click that leaves it unchanged (a selected
// radio clicked again) raises no "selectchanged", whatever programmatic changes came before.
constexpr const char* kCheckedAtPress = "zqCheckedAtPress";
constexpr const char* kWidgetIndex = "zqWidgetIndex";

// Turns the Qt events of one named widget (pointer in and out, focus) into notifications.
class EventBridge final : public QObject {
public:
    EventBridge(std::weak_ptr<PageCore> core, QObject* parent) : QObject(parent), core_(std::move(core)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const char* type = nullptr;
        switch (event->type()) {
        case QEvent::Enter:
            type = notify::kMouseEnter;
            break;
        case QEvent::Leave:
            type = notify::kMouseLeave;
            break;
        case QEvent::FocusIn:
            type = notify::kSetFocus;
            break;
        case QEvent::FocusOut:
            type = notify::kKillFocus;
            break;
        default:
            break;
        }
        if (type) {
            if (auto core = core_.lock()) {
                Notification n{type, watched->objectName().toStdString(), 0, 0};
                if (const QVariant i = watched->property(kWidgetIndex); i.isValid())
                    n.senderIndex = i.toInt();
                core->raise(n);
            }
        }
        return false;
    }

private:
    std::weak_ptr<PageCore> core_;
};

void wire(const std::shared_ptr<PageCore>& core, QWidget* w, int index, EventBridge* bridge) {
    std::weak_ptr<PageCore> weak = core;
    const std::string name = w->objectName().toStdString();
    w->setProperty(kWidgetIndex, index);
    auto emitNote = [weak, name, index](const char* type, std::intptr_t wParam = 0,
                                        std::intptr_t lParam = 0) {
        if (auto c = weak.lock()) c->raise({type, name, wParam, lParam, index});
    };
    w->installEventFilter(bridge);

    if (auto* palette = qobject_cast<PaletteWidget*>(w)) {
        QObject::connect(palette, &PaletteWidget::colourPicked, palette, [emitNote](quint32 argb) {
            emitNote(notify::kColorChanged, static_cast<std::intptr_t>(argb));
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        // Qt reports the toggle before the click; the dispatcher expects the click first and a
        // "selectchanged" only when the state really changed (a selected radio clicked again does not).
        QObject::connect(button, &QAbstractButton::pressed, button,
                         [button] { button->setProperty(kCheckedAtPress, button->isChecked()); });
        QObject::connect(button, &QAbstractButton::clicked, button, [button, emitNote](bool checked) {
            emitNote(notify::kClick);
            const QVariant before = button->property(kCheckedAtPress);
            button->setProperty(kCheckedAtPress, QVariant());
            if (button->isCheckable() && before.isValid() && before.toBool() != checked)
                emitNote(notify::kSelectChanged, checked ? 1 : 0);
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setProperty(prop::kLastIndex, combo->currentIndex());
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo, emitNote](int index) {
            const int old = combo->property(prop::kLastIndex).toInt();
            combo->setProperty(prop::kLastIndex, index);
            if (index != old) emitNote(notify::kItemSelect, index, old);
        });
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->setItemDelegate(new ItemStyleDelegate(list));
        list->setProperty(prop::kLastIndex, list->currentRow());
        QObject::connect(list, &QListWidget::currentRowChanged, list, [list, emitNote](int row) {
            const int old = list->property(prop::kLastIndex).toInt();
            list->setProperty(prop::kLastIndex, row);
            if (row != old) emitNote(notify::kItemSelect, row, old);
        });
        QObject::connect(list, &QListWidget::itemClicked, list, [list, emitNote](QListWidgetItem* item) {
            emitNote(notify::kItemClick, list->row(item));
        });
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        tree->setItemDelegate(new ItemStyleDelegate(tree));
        QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                         [tree, emitNote](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                             const int row = now ? tree->indexOfTopLevelItem(now) : -1;
                             const int old = before ? tree->indexOfTopLevelItem(before) : -1;
                             if (row != old) emitNote(notify::kItemSelect, row, old);
                         });
        QObject::connect(tree, &QTreeWidget::itemClicked, tree,
                         [tree, emitNote](QTreeWidgetItem* item, int column) {
                             emitNote(notify::kItemClick, tree->indexOfTopLevelItem(item), column);
                         });
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        // While the handle is held every step is a "movevaluechanged"; the release, a key press or a
        // click on the groove settles the value with "valuechanged".
        QObject::connect(slider, &QAbstractSlider::valueChanged, slider, [slider, emitNote](int value) {
            emitNote(slider->isSliderDown() ? notify::kMoveValueChanged : notify::kValueChanged, value);
        });
        QObject::connect(slider, &QAbstractSlider::sliderReleased, slider,
                         [slider, emitNote] { emitNote(notify::kValueChanged, slider->value()); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(edit, &QLineEdit::textEdited, edit,
                         [emitNote](const QString&) { emitNote(notify::kTextChanged); });
    }
}

bool isInternalName(const QString& name) {
    return name.isEmpty() || name.startsWith(QLatin1String("qt_"));
}

} // namespace

void PageCore::raise(const Notification& n) {
    if (!handler) return;
    // Keep the handler alive even if it replaces itself while running.
    auto current = handler;
    ++dispatchDepth;
    current(n);
    --dispatchDepth;
}

void PageCore::retranslate() {
    if (!root || !skin) return;
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root.data());
    for (QWidget* w : all) {
        if (const QVariant id = w->property(prop::kTextId); id.isValid() && !id.toString().isEmpty()) {
            setWidgetText(w, QString::fromStdString(skin->text(id.toString().toStdString())));
        }
        if (const QVariant id = w->property(prop::kToolTipId); id.isValid() && !id.toString().isEmpty()) {
            setWidgetToolTip(w, QString::fromStdString(skin->text(id.toString().toStdString())));
        }
        // Column headers of trees given as ids, one per column, separated by ';'.
        if (const QVariant ids = w->property(prop::kHeaderTextIds);
            ids.isValid() && !ids.toString().isEmpty()) {
            if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
                const QStringList list = ids.toString().split(';');
                QStringList labels;
                for (const QString& id : list)
                    labels << QString::fromStdString(skin->text(id.trimmed().toStdString()));
                tree->setHeaderLabels(labels);
            }
        }
        // Items given a text id of their own.
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QSignalBlocker block(combo);
            for (int i = 0; i < combo->count(); ++i)
                if (const QString id = combo->itemData(i, kItemTextIdRole).toString(); !id.isEmpty())
                    combo->setItemText(i, QString::fromStdString(skin->text(id.toStdString())));
        } else if (auto* lw = qobject_cast<QListWidget*>(w)) {
            const QSignalBlocker block(lw);
            for (int i = 0; i < lw->count(); ++i)
                if (const QString id = lw->item(i)->data(kItemTextIdRole).toString(); !id.isEmpty())
                    lw->item(i)->setText(QString::fromStdString(skin->text(id.toStdString())));
        }
        // Item texts of combos and lists given as ids, one per item, separated by ';'.
        if (const QVariant ids = w->property("itemTextIds"); ids.isValid() && !ids.toString().isEmpty()) {
            const QStringList list = ids.toString().split(';');
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                const QSignalBlocker block(combo);
                for (int i = 0; i < list.size(); ++i) {
                    const QString text = QString::fromStdString(skin->text(list[i].trimmed().toStdString()));
                    if (i < combo->count())
                        combo->setItemText(i, text);
                    else
                        combo->addItem(text);
                }
            } else if (auto* lw = qobject_cast<QListWidget*>(w)) {
                const QSignalBlocker block(lw);
                for (int i = 0; i < list.size(); ++i) {
                    const QString text = QString::fromStdString(skin->text(list[i].trimmed().toStdString()));
                    if (i < lw->count())
                        lw->item(i)->setText(text);
                    else
                        lw->addItem(text);
                }
            }
        }
    }
}

void PageCore::applyLayoutLook(QWidget* w) const {
    static constexpr const char* kLookProperties[] = {prop::kBkImage, prop::kBkColor, prop::kHotImage,
                                                      prop::kTextColor, prop::kBorderWidth};
    for (const char* name : kLookProperties) {
        if (w->property(name).isValid()) {
            restyle(w);
            return;
        }
    }
}

void PageCore::restyle(QWidget* w) const {
    if (!w) return;
    if (!w->property(prop::kBaseStyleSheet).isValid()) w->setProperty(prop::kBaseStyleSheet, w->styleSheet());
    QString own;
    if (const QVariant c = w->property(prop::kBkColor); c.isValid() && (c.toUInt() >> 24) != 0) {
        own += QStringLiteral("background-color:%1;").arg(argbToCss(c.toUInt()));
    }
    // Plain widgets used as LED previews show the light overlay as their background; the device key
    // buttons paint it themselves.
    if (w->metaObject()->indexOfProperty(prop::kLit) < 0 && w->property(prop::kLit).toBool()) {
        const int alpha =
            w->property(prop::kLightAlpha).isValid() ? w->property(prop::kLightAlpha).toInt() : 255;
        if (alpha > 0) {
            const quint32 rgb = w->property(prop::kLightColour).toUInt() & 0xFFFFFFu;
            own += QStringLiteral("background-color:%1;")
                       .arg(argbToCss((static_cast<quint32>(alpha) << 24) | rgb));
        }
    }
    const QString image = w->property(prop::kBkImage).toString();
    if (!image.isEmpty() && skin) {
        const std::string path = skin->resolveImage(image.toStdString());
        if (!path.empty())
            own += QStringLiteral("border-image:url(\"%1\");").arg(QString::fromStdString(path));
    }
    if (const QVariant c = w->property(prop::kTextColor); c.isValid()) {
        own += QStringLiteral("color:%1;").arg(argbToCss(c.toUInt()));
    }
    if (const QVariant b = w->property(prop::kBorderWidth); b.isValid()) {
        const int width = b.toInt();
        own += width > 0 ? QStringLiteral("border:%1px solid %2;")
                               .arg(width)
                               .arg(argbToCss(w->property(prop::kBorderColor).toUInt()))
                         : QStringLiteral("border:none;");
    }
    QString sheet = w->property(prop::kBaseStyleSheet).toString();
    const QString selector = QLatin1Char('#') + w->objectName();
    if (!own.isEmpty()) sheet += selector + QLatin1Char('{') + own + QLatin1Char('}');
    const QString hot = w->property(prop::kHotImage).toString();
    if (!hot.isEmpty() && skin) {
        const std::string path = skin->resolveImage(hot.toStdString());
        if (!path.empty()) {
            sheet += selector +
                     QStringLiteral(":hover{border-image:url(\"%1\");}").arg(QString::fromStdString(path));
        }
    }
    if (sheet != w->styleSheet()) w->setStyleSheet(sheet);
}

namespace {

// Names and wires every named widget of a tree that the page does not know yet.
void adoptTree(const std::shared_ptr<PageCore>& core, QWidget* top) {
    auto* bridge = new EventBridge(core, top);
    QList<QWidget*> all = top->findChildren<QWidget*>();
    all.prepend(top);
    for (QWidget* w : all) {
        const QString objectName = w->objectName();
        if (isInternalName(objectName) || w->property(kWidgetIndex).isValid()) continue;
        const std::string spelled = objectName.toStdString();
        // A name used by several controls (the skin window's picture and colour buttons) finds the
        // first; each one still reports itself as the sender of its notifications.
        const int index = static_cast<int>(core->widgets.size());
        core->index.emplace(toLower(spelled), index);
        core->widgets.emplace_back(w);
        core->names.push_back(spelled);
        wire(core, w, index, bridge);
    }
    // Pictures, colours and borders the layout gives take effect now, as if the page had set them.
    for (QWidget* w : all) core->applyLayoutLook(w);
}

// Fills a sub-layout holder the moment it is about to show.
class HolderWatch final : public QObject {
public:
    HolderWatch(std::weak_ptr<PageCore> core, QObject* parent) : QObject(parent), core_(std::move(core)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto core = core_.lock()) loadHolder(core, static_cast<QWidget*>(watched));
        }
        return false;
    }

private:
    std::weak_ptr<PageCore> core_;
};

} // namespace

void loadHolder(const std::shared_ptr<PageCore>& core, QWidget* holder) {
    const std::string layout = Skin::pendingSubLayout(holder);
    if (layout.empty()) return;
    std::erase_if(core->pending, [holder](const QPointer<QWidget>& p) { return p.isNull() || p == holder; });
    std::string why;
    if (!core->skin->fillHolder(holder, &why)) {
        platform::debugString("layout " + layout + ": " + why);
        return;
    }
    adoptTree(core, holder);
    core->retranslate();
    for (const auto& loaded : std::vector(core->onLoaded)) loaded(layout);
}

Page::Page(const Skin& skin, std::string_view resourceName, QWidget* parent, SubLayouts subLayouts)
    : core_(std::make_shared<PageCore>()) {
    core_->skin = &skin;
    core_->resourceName = std::string(resourceName);
    const bool onDemand = subLayouts == SubLayouts::OnDemand;
    QWidget* root = skin.buildLayout(resourceName, parent, &error_, onDemand);
    if (!root) {
        platform::debugString("layout " + std::string(resourceName) + ": " + error_);
        return;
    }
    core_->root = root;
    adoptTree(core_, root);
    if (onDemand) {
        auto* watch = new HolderWatch(core_, root);
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (Skin::pendingSubLayout(w).empty()) continue;
            core_->pending.emplace_back(w);
            w->installEventFilter(watch);
        }
    }
    core_->retranslate();
    skin.attach(core_);
}

void Page::loadAll() {
    const auto pending = core_->pending;
    for (const auto& holder : pending)
        if (holder) loadHolder(core_, holder);
}

void Page::onSubLayoutLoaded(std::function<void(const std::string& layout)> loaded) {
    core_->onLoaded.push_back(std::move(loaded));
}

void Page::whenBuilt(std::string_view name, std::function<void()> prepare) {
    if (built(name) || core_->pending.empty())
        prepare();
    else
        onBuilt(name, std::move(prepare));
}

void Page::onBuilt(std::string_view name, std::function<void()> show) {
    if (built(name) || core_->pending.empty()) return;
    // Held by the page core; a weak reference back to it keeps the two from owning each other.
    auto waiting = std::make_shared<std::function<void()>>(std::move(show));
    core_->onLoaded.push_back(
        [weak = std::weak_ptr<PageCore>(core_), control = toLower(name), waiting](const std::string&) {
            auto core = weak.lock();
            if (!core || !*waiting) return;
            const auto at = core->index.find(control);
            if (at == core->index.end() || !core->widget(at->second)) return;
            const std::function<void()> run = std::move(*waiting);
            *waiting = nullptr;
            run();
        });
}

Control Page::findLoaded(std::string_view name) const {
    const int i = indexOf(name);
    return i < 0 || !core_->widget(i) ? Control() : Control(core_, i);
}

Page::~Page() {
    // Widgets going away raise focus and hover changes; nobody listens to a page being destroyed.
    core_->handler = nullptr;
    core_->onLoaded.clear();
    if (owned_ && core_->root && !core_->root->parent()) delete core_->root.data();
}

bool Page::ok() const {
    return !core_->root.isNull();
}
const std::string& Page::resourceName() const {
    return core_->resourceName;
}

int Page::indexOf(std::string_view name) const {
    auto it = core_->index.find(toLower(name));
    return it == core_->index.end() ? -1 : it->second;
}

Control Page::senderOf(const Notification& n) const {
    if (core_->widget(n.senderIndex) &&
        toLower(core_->names[static_cast<std::size_t>(n.senderIndex)]) == toLower(n.sender))
        return Control(core_, n.senderIndex);
    return find(n.sender);
}

std::vector<Control> Page::findAll(std::string_view name) const {
    find(name); // builds the sub-layout that has it
    std::vector<Control> out;
    const std::string lower = toLower(name);
    for (std::size_t i = 0; i < core_->names.size(); ++i)
        if (core_->widgets[i] && toLower(core_->names[i]) == lower)
            out.emplace_back(core_, static_cast<int>(i));
    return out;
}

Control Page::find(std::string_view name) const {
    int i = indexOf(name);
    if (i < 0 && !core_->pending.empty()) {
        // A control of a sub-layout not built yet: build the one that has it.
        const auto pending = core_->pending;
        for (const auto& holder : pending) {
            if (holder && core_->skin->layoutDefines(Skin::pendingSubLayout(holder), name)) {
                loadHolder(core_, holder);
                break;
            }
        }
        i = indexOf(name);
    }
    return i < 0 || !core_->widget(i) ? Control() : Control(core_, i);
}

std::vector<std::string> Page::controlNames() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < core_->names.size(); ++i)
        if (core_->widgets[i]) out.push_back(core_->names[i]);
    return out;
}

void Page::setHandler(std::function<void(const Notification&)> handler) {
    core_->handler = std::move(handler);
}

void Page::raise(Notification notification) {
    core_->raise(notification);
}

void Page::click(std::string_view name) {
    QWidget* w = find(name).widget();
    if (!w) return;
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->isEnabled()) button->click();
        return;
    }
    raise({notify::kClick, core_->names[static_cast<std::size_t>(indexOf(name))], 0, 0});
}

void Page::hover(std::string_view name, bool enter) {
    QWidget* w = find(name).widget();
    if (!w) return;
    if (enter) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(w, &event);
    } else {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(w, &event);
    }
}

void Page::adopt(QWidget* w) {
    if (!w || isInternalName(w->objectName())) return;
    const std::string spelled = w->objectName().toStdString();
    const int index = static_cast<int>(core_->widgets.size());
    core_->index.emplace(toLower(spelled), index);
    core_->widgets.emplace_back(w);
    core_->names.push_back(spelled);
    wire(core_, w, index, new EventBridge(core_, w));
}

QWidget* Page::root() const {
    return core_->root.data();
}

QWidget* Page::release() {
    owned_ = false;
    return core_->root.data();
}

void Page::retranslate() {
    core_->retranslate();
}

} // namespace zq::ui
