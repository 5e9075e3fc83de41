#pragma once
// Style attributes of list and combo items ("listex_item_style", the macro rows' label styles): kept in
// an item role and drawn by a delegate every list and tree of a page gets, since style sheets cannot
// select single items by a property.
#include <QStyledItemDelegate>

namespace zq::ui {

inline constexpr int kItemStyleRole = Qt::UserRole + 1;
// An item whose text is a text id of the language file: resolved again after a language reload.
inline constexpr int kItemTextIdRole = Qt::UserRole + 2;

struct ItemLook {
    const char* style;
    unsigned textArgb;  // 0: the view's own
    unsigned hoverArgb; // 0: no hover colour
    bool bold;
};
// The looks of the item styles the pages name; an unknown style draws as a plain item.
const ItemLook* itemLook(const QString& style);

class ItemStyleDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace zq::ui
