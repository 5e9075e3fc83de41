#include "ui/control.h"

#include "ui/item_style.h"
#include "ui/page_core.h"
#include "ui/palette_widget.h"
#include "ui/skin.h"
#include "ui/widget_text.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>

namespace zq::ui {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr int kDataRole = Qt::UserRole;
constexpr int kStyleRole = kItemStyleRole;

} // namespace

QWidget* Control::widget() const {
    auto core = core_.lock();
    return core ? core->widget(index_) : nullptr;
}

void Control::raise(Notification n) const {
    if (auto core = core_.lock()) {
        n.sender = core->names[static_cast<std::size_t>(index_)];
        n.senderIndex = index_;
        core->raise(n);
    }
}

std::string Control::name() const {
    auto core = core_.lock();
    return core && core->widget(index_) ? core->names[static_cast<std::size_t>(index_)] : std::string();
}

std::string Control::kind() const {
    QWidget* w = widget();
    return w ? w->metaObject()->className() : std::string();
}

void Control::setVisible(bool visible) {
    if (QWidget* w = widget()) w->setVisible(visible);
}
bool Control::isVisible() const {
    QWidget* w = widget();
    return w && !w->isHidden();
}
void Control::setEnabled(bool enabled) {
    if (QWidget* w = widget()) w->setEnabled(enabled);
}
bool Control::isEnabled() const {
    QWidget* w = widget();
    return w && w->isEnabled();
}
void Control::setFocus() {
    if (QWidget* w = widget()) w->setFocus(Qt::OtherFocusReason);
}
bool Control::hasFocus() const {
    QWidget* w = widget();
    return w && w->hasFocus();
}

void Control::setText(std::string_view text) {
    if (QWidget* w = widget()) {
        w->setProperty(prop::kTextId, QVariant());
        setWidgetText(w, qs(text));
    }
}
void Control::setTextId(std::string_view id) {
    auto core = core_.lock();
    QWidget* w = widget();
    if (!w || !core || !core->skin) return;
    w->setProperty(prop::kTextId, qs(id));
    setWidgetText(w, QString::fromStdString(core->skin->text(id)));
}
std::string Control::text() const {
    QWidget* w = widget();
    return w ? widgetText(w).toStdString() : std::string();
}
std::string Control::textId() const {
    QWidget* w = widget();
    return w ? w->property(prop::kTextId).toString().toStdString() : std::string();
}
void Control::setToolTip(std::string_view text) {
    if (QWidget* w = widget()) {
        w->setProperty(prop::kToolTipId, QVariant());
        w->setToolTip(qs(text));
    }
}
void Control::setToolTipId(std::string_view id) {
    auto core = core_.lock();
    QWidget* w = widget();
    if (!w || !core || !core->skin) return;
    w->setProperty(prop::kToolTipId, qs(id));
    setWidgetToolTip(w, QString::fromStdString(core->skin->text(id)));
}
std::string Control::toolTip() const {
    QWidget* w = widget();
    return w ? w->toolTip().toStdString() : std::string();
}

namespace {
void setStyled(const std::weak_ptr<PageCore>& weak, QWidget* w, const char* property, const QVariant& value) {
    if (!w) return;
    w->setProperty(property, value);
    if (auto core = weak.lock()) core->restyle(w);
}
} // namespace

void Control::setBkColor(std::uint32_t argb) {
    setStyled(core_, widget(), prop::kBkColor, QVariant::fromValue<uint>(argb));
}
std::uint32_t Control::bkColor() const {
    QWidget* w = widget();
    return w ? w->property(prop::kBkColor).toUInt() : 0;
}
void Control::setBkImage(std::string_view image) {
    setStyled(core_, widget(), prop::kBkImage, qs(image));
}
std::string Control::bkImage() const {
    QWidget* w = widget();
    return w ? w->property(prop::kBkImage).toString().toStdString() : std::string();
}
void Control::setTextColor(std::uint32_t argb) {
    setStyled(core_, widget(), prop::kTextColor, QVariant::fromValue<uint>(argb));
}
std::uint32_t Control::textColor() const {
    QWidget* w = widget();
    return w ? w->property(prop::kTextColor).toUInt() : 0;
}
void Control::setBorder(int width, std::uint32_t argb) {
    if (QWidget* w = widget()) {
        w->setProperty(prop::kBorderColor, QVariant::fromValue<uint>(argb));
        setStyled(core_, w, prop::kBorderWidth, width);
    }
}
int Control::borderWidth() const {
    QWidget* w = widget();
    return w ? w->property(prop::kBorderWidth).toInt() : 0;
}
void Control::setHotImage(std::string_view image) {
    setStyled(core_, widget(), prop::kHotImage, qs(image));
}

void Control::setStyle(std::string_view style) {
    QWidget* w = widget();
    if (!w) return;
    w->setProperty(prop::kStyle, qs(style));
    // Property selectors are evaluated at polish time only.
    w->style()->unpolish(w);
    w->style()->polish(w);
    w->update();
}
std::string Control::style() const {
    QWidget* w = widget();
    return w ? w->property(prop::kStyle).toString().toStdString() : std::string();
}
std::string Control::userData() const {
    QWidget* w = widget();
    return w ? w->property(prop::kUserData).toString().toStdString() : std::string();
}
void Control::setUserData(std::string_view data) {
    if (QWidget* w = widget()) w->setProperty(prop::kUserData, qs(data));
}

namespace {
// The overlay switches on with the first colour or alpha given, as the key buttons' does.
void applyLight(const std::weak_ptr<PageCore>& weak, QWidget* w) {
    if (!w) return;
    if (w->metaObject()->indexOfProperty(prop::kLit) >= 0) {
        w->update(); // a device key button paints the overlay itself
    } else if (auto core = weak.lock()) {
        core->restyle(w);
    }
}
} // namespace

void Control::setChangerColor(std::uint32_t rgb) {
    if (QWidget* w = widget()) {
        w->setProperty(prop::kLightColour, QVariant::fromValue<uint>(rgb & 0xFFFFFF));
        w->setProperty(prop::kLit, true);
        applyLight(core_, w);
    }
}
void Control::setChangerAlpha(std::uint8_t alpha) {
    if (QWidget* w = widget()) {
        w->setProperty(prop::kLightAlpha, static_cast<int>(alpha));
        w->setProperty(prop::kLit, true);
        applyLight(core_, w);
    }
}
void Control::setLight(std::uint32_t rgb, std::uint8_t alpha, bool lit) {
    if (QWidget* w = widget()) {
        w->setProperty(prop::kLightColour, QVariant::fromValue<uint>(rgb & 0xFFFFFF));
        w->setProperty(prop::kLightAlpha, static_cast<int>(alpha));
        w->setProperty(prop::kLit, lit);
        applyLight(core_, w);
    }
}
std::uint32_t Control::changerColor() const {
    QWidget* w = widget();
    return w ? w->property(prop::kLightColour).toUInt() : 0;
}
std::uint8_t Control::changerAlpha() const {
    QWidget* w = widget();
    return w ? static_cast<std::uint8_t>(w->property(prop::kLightAlpha).toInt()) : 0;
}
bool Control::lit() const {
    QWidget* w = widget();
    return w && w->property(prop::kLit).toBool();
}

// ---- Option ----------------------------------------------------------------------------------------

bool Option::selected() const {
    auto* b = qobject_cast<QAbstractButton*>(widget());
    return b && b->isChecked();
}

void Option::setSelected(bool selected, Notify notify) {
    auto* b = qobject_cast<QAbstractButton*>(widget());
    if (!b) return;
    const bool before = b->isChecked();
    {
        const QSignalBlocker block(b);
        if (!b->isCheckable()) b->setCheckable(true);
        b->setChecked(selected);
    }
    if (notify == Notify::Yes && b->isChecked() != before) {
        raise({notify::kSelectChanged, {}, b->isChecked() ? 1 : 0, 0});
    }
}

// ---- ListLike --------------------------------------------------------------------------------------

int ListLike::count() const {
    QWidget* w = widget();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->count();
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->count();
    if (auto* t = qobject_cast<QTreeWidget*>(w)) return t->topLevelItemCount();
    return 0;
}

int ListLike::current() const {
    QWidget* w = widget();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex();
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->currentRow();
    if (auto* t = qobject_cast<QTreeWidget*>(w))
        return t->currentItem() ? t->indexOfTopLevelItem(t->currentItem()) : -1;
    return -1;
}

void ListLike::select(int index, Notify notify) {
    QWidget* w = widget();
    if (!w) return;
    if (index < -1 || index >= count()) return;
    const int before = current();
    {
        const QSignalBlocker block(w);
        if (auto* c = qobject_cast<QComboBox*>(w))
            c->setCurrentIndex(index);
        else if (auto* l = qobject_cast<QListWidget*>(w))
            l->setCurrentRow(index);
        else if (auto* t = qobject_cast<QTreeWidget*>(w))
            t->setCurrentItem(index < 0 ? nullptr : t->topLevelItem(index));
    }
    const int now = current();
    w->setProperty(prop::kLastIndex, now);
    if (notify == Notify::Yes && now != before) raise({notify::kItemSelect, {}, now, before});
}

int ListLike::add(std::string_view text, std::string_view userData) {
    const int at = count();
    insert(at, text, userData);
    return count() > at ? at : -1;
}

void ListLike::insert(int index, std::string_view text, std::string_view userData) {
    QWidget* w = widget();
    if (!w) return;
    index = std::clamp(index, 0, count());
    const QSignalBlocker block(w);
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        c->insertItem(index, qs(text), qs(userData));
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        auto* item = new QListWidgetItem(qs(text));
        item->setData(kDataRole, qs(userData));
        l->insertItem(index, item);
    } else if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        auto* item = new QTreeWidgetItem(QStringList{qs(text)});
        item->setData(0, kDataRole, qs(userData));
        t->insertTopLevelItem(index, item);
    }
    w->setProperty(prop::kLastIndex, current());
}

void ListLike::remove(int index) {
    QWidget* w = widget();
    if (!w || index < 0 || index >= count()) return;
    const QSignalBlocker block(w);
    if (auto* c = qobject_cast<QComboBox*>(w))
        c->removeItem(index);
    else if (auto* l = qobject_cast<QListWidget*>(w))
        delete l->takeItem(index);
    else if (auto* t = qobject_cast<QTreeWidget*>(w))
        delete t->takeTopLevelItem(index);
    w->setProperty(prop::kLastIndex, current());
}

void ListLike::clear() {
    QWidget* w = widget();
    if (!w) return;
    const QSignalBlocker block(w);
    if (auto* c = qobject_cast<QComboBox*>(w))
        c->clear();
    else if (auto* l = qobject_cast<QListWidget*>(w))
        l->clear();
    else if (auto* t = qobject_cast<QTreeWidget*>(w))
        t->clear();
    w->setProperty(prop::kLastIndex, -1);
}

namespace {
QVariant itemRole(QWidget* w, int index, int role, int column = 0) {
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->itemData(index, role);
    if (auto* l = qobject_cast<QListWidget*>(w))
        return l->item(index) ? l->item(index)->data(role) : QVariant();
    if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        QTreeWidgetItem* item = t->topLevelItem(index);
        return item ? item->data(column, role) : QVariant();
    }
    return {};
}
void setItemRole(QWidget* w, int index, int role, const QVariant& value, int column = 0) {
    const QSignalBlocker block(w);
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (index >= 0 && index < c->count()) c->setItemData(index, value, role);
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        if (QListWidgetItem* item = l->item(index)) item->setData(role, value);
    } else if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        if (QTreeWidgetItem* item = t->topLevelItem(index)) item->setData(column, role, value);
    }
}
} // namespace

std::string ListLike::itemText(int index) const {
    return itemRole(widget(), index, Qt::DisplayRole).toString().toStdString();
}
std::string ListLike::itemData(int index) const {
    return itemRole(widget(), index, kDataRole).toString().toStdString();
}
void ListLike::setItemText(int index, std::string_view text) {
    QWidget* w = widget();
    if (!w) return;
    setItemRole(w, index, kItemTextIdRole, QVariant());
    setItemRole(w, index, Qt::DisplayRole, qs(text));
}
void ListLike::setItemTextId(int index, std::string_view id) {
    QWidget* w = widget();
    auto core = core_.lock();
    if (!w || !core || index < 0 || index >= count()) return;
    const std::string text = core->skin ? core->skin->text(id) : std::string(id);
    setItemRole(w, index, Qt::DisplayRole, qs(text));
    setItemRole(w, index, kItemTextIdRole, qs(id));
}
std::string ListLike::itemTextId(int index) const {
    return itemRole(widget(), index, kItemTextIdRole).toString().toStdString();
}
void ListLike::setItemData(int index, std::string_view data) {
    if (QWidget* w = widget()) setItemRole(w, index, kDataRole, qs(data));
}
void ListLike::setRowHeight(int index, int pixels) {
    QWidget* w = widget();
    if (!w || index < 0 || index >= count()) return;
    const int width = std::max(1, w->width());
    setItemRole(w, index, Qt::SizeHintRole, QSize(width, std::max(0, pixels)));
}
int ListLike::rowHeight(int index) const {
    return itemRole(widget(), index, Qt::SizeHintRole).toSize().height();
}
void ListLike::setItemStyle(int index, std::string_view style) {
    QWidget* w = widget();
    if (!w) return;
    setItemRole(w, index, kStyleRole, qs(style));
    w->update();
}
std::string ListLike::itemStyle(int index) const {
    return itemRole(widget(), index, kStyleRole).toString().toStdString();
}
void ListLike::setCellStyle(int row, int column, std::string_view style) {
    QWidget* w = widget();
    if (!w || column < 0 || column >= columnCount()) return;
    setItemRole(w, row, kStyleRole, qs(style), column);
    w->update();
}
std::string ListLike::cellStyle(int row, int column) const {
    return itemRole(widget(), row, kStyleRole, column).toString().toStdString();
}

int ListLike::columnCount() const {
    if (auto* t = qobject_cast<QTreeWidget*>(widget())) return t->columnCount();
    return widget() ? 1 : 0;
}
std::string ListLike::cellText(int row, int column) const {
    if (auto* t = qobject_cast<QTreeWidget*>(widget())) {
        QTreeWidgetItem* item = t->topLevelItem(row);
        return item ? item->text(column).toStdString() : std::string();
    }
    return column == 0 ? itemText(row) : std::string();
}
void ListLike::setCellText(int row, int column, std::string_view text) {
    if (auto* t = qobject_cast<QTreeWidget*>(widget())) {
        if (column < 0 || column >= t->columnCount()) return;
        if (QTreeWidgetItem* item = t->topLevelItem(row)) {
            const QSignalBlocker block(t);
            item->setText(column, qs(text));
        }
    } else if (column == 0) {
        setItemText(row, text);
    }
}

// ---- Edit ------------------------------------------------------------------------------------------

void Edit::setText(std::string_view text, Notify notify) {
    auto* e = qobject_cast<QLineEdit*>(widget());
    if (!e) {
        Control::setText(text);
        return;
    }
    const QString before = e->text();
    e->setProperty(prop::kTextId, QVariant());
    {
        const QSignalBlocker block(e);
        e->setText(qs(text));
    }
    if (notify == Notify::Yes && e->text() != before) raise({notify::kTextChanged, {}, 0, 0});
}
void Edit::setMaxLength(int characters) {
    if (auto* e = qobject_cast<QLineEdit*>(widget())) e->setMaxLength(std::max(0, characters));
}
int Edit::maxLength() const {
    auto* e = qobject_cast<QLineEdit*>(widget());
    return e ? e->maxLength() : 0;
}
void Edit::setReadOnly(bool readOnly) {
    if (auto* e = qobject_cast<QLineEdit*>(widget())) e->setReadOnly(readOnly);
}
void Edit::setNumbersOnly(int minimum, int maximum) {
    if (auto* e = qobject_cast<QLineEdit*>(widget())) e->setValidator(new QIntValidator(minimum, maximum, e));
}

// ---- Slider ----------------------------------------------------------------------------------------

int Slider::value() const {
    if (auto* bar = qobject_cast<QProgressBar*>(widget())) return bar->value();
    auto* s = qobject_cast<QAbstractSlider*>(widget());
    return s ? s->value() : 0;
}
void Slider::setValue(int value, Notify notify) {
    // A progress bar (the progress ring) takes a value as a slider does; it raises nothing.
    if (auto* bar = qobject_cast<QProgressBar*>(widget())) {
        bar->setValue(value);
        return;
    }
    auto* s = qobject_cast<QAbstractSlider*>(widget());
    if (!s) return;
    {
        const QSignalBlocker block(s);
        s->setValue(value);
    }
    if (notify == Notify::Yes) raise({notify::kValueChanged, {}, s->value(), 0});
}
void Slider::setRange(int minimum, int maximum) {
    if (auto* bar = qobject_cast<QProgressBar*>(widget())) {
        bar->setRange(minimum, maximum);
    } else if (auto* s = qobject_cast<QAbstractSlider*>(widget())) {
        const QSignalBlocker block(s);
        s->setRange(minimum, maximum);
    }
}
int Slider::minimum() const {
    if (auto* bar = qobject_cast<QProgressBar*>(widget())) return bar->minimum();
    auto* s = qobject_cast<QAbstractSlider*>(widget());
    return s ? s->minimum() : 0;
}
int Slider::maximum() const {
    if (auto* bar = qobject_cast<QProgressBar*>(widget())) return bar->maximum();
    auto* s = qobject_cast<QAbstractSlider*>(widget());
    return s ? s->maximum() : 0;
}

// ---- Tabs ------------------------------------------------------------------------------------------

int Tabs::current() const {
    QWidget* w = widget();
    if (auto* s = qobject_cast<QStackedWidget*>(w)) return s->currentIndex();
    if (auto* t = qobject_cast<QTabWidget*>(w)) return t->currentIndex();
    return -1;
}
int Tabs::count() const {
    QWidget* w = widget();
    if (auto* s = qobject_cast<QStackedWidget*>(w)) return s->count();
    if (auto* t = qobject_cast<QTabWidget*>(w)) return t->count();
    return 0;
}
void Tabs::selectPage(int index) {
    QWidget* w = widget();
    if (index < 0 || index >= count()) return;
    const QSignalBlocker block(w);
    if (auto* s = qobject_cast<QStackedWidget*>(w))
        s->setCurrentIndex(index);
    else if (auto* t = qobject_cast<QTabWidget*>(w))
        t->setCurrentIndex(index);
}

// ---- Label -----------------------------------------------------------------------------------------

void Label::setTextInset(int left, int top, int right, int bottom) {
    if (QWidget* w = widget()) w->setContentsMargins(left, top, right, bottom);
}

// ---- Palette ---------------------------------------------------------------------------------------

std::uint32_t Palette::colour() const {
    auto* p = qobject_cast<PaletteWidget*>(widget());
    return p ? p->colour() : 0;
}
void Palette::setColour(std::uint32_t argb, Notify notify) {
    auto* p = qobject_cast<PaletteWidget*>(widget());
    if (!p) return;
    const std::uint32_t before = p->colour();
    p->setColour(argb);
    if (notify == Notify::Yes && p->colour() != before)
        raise({notify::kColorChanged, {}, static_cast<std::intptr_t>(p->colour()), 0});
}

} // namespace zq::ui
