#include "ui/item_style.h"

#include <QPainter>

#include <array>

namespace zq::ui {

namespace {

// The same colours as skin/style.qss gives the label controls of these styles.
constexpr std::array<ItemLook, 6> kLooks{{
    {"listex_item_style", 0xFFD8DCE4, 0xFF20252C, false},
    {"macro_label_mouse_style", 0xFF7FD3F2, 0, false},
    {"macro_label_keyboard_style", 0xFFE6EAF0, 0, false},
    {"macro_label_text_style", 0xFFA3AAB6, 0, false},
    {"macro_label_down_style", 0xFF19B2E6, 0, true},
    {"macro_label_up_style", 0xFF8A91A0, 0, true},
}};

} // namespace

const ItemLook* itemLook(const QString& style) {
    for (const ItemLook& look : kLooks)
        if (style == QLatin1String(look.style)) return &look;
    return nullptr;
}

void ItemStyleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const ItemLook* look = itemLook(index.data(kItemStyleRole).toString());
    if (!look) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem styled(option);
    if (look->hoverArgb && (option.state & QStyle::State_MouseOver) &&
        !(option.state & QStyle::State_Selected))
        painter->fillRect(option.rect, QColor::fromRgba(look->hoverArgb));
    if (look->textArgb) styled.palette.setColor(QPalette::Text, QColor::fromRgba(look->textArgb));
    if (look->bold) styled.font.setBold(true);
    QStyledItemDelegate::paint(painter, styled, index);
}

} // namespace zq::ui
