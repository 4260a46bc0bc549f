#include "skin/CVDMenu.h"

#include "skin/SkinGeometry.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {

// Menu texts stay below 15 pixels a line, so every item is 19 high.
constexpr int kMenuFontPixels = 12;

bool BelongsToRoot(const QWidget* widget)
{
    const auto* menu = qobject_cast<const CVDMenu*>(widget);
    return menu && menu->IsRoot();
}

} // namespace

CVDMenu::CVDMenu(QWidget* parent) : QMenu(parent)
{
    QFont menuFont = font();
    menuFont.setPixelSize(kMenuFontPixels);
    setFont(menuFont);
}

CVDMenu::~CVDMenu() = default;

bool CVDMenu::LoadMenu(int menuId)
{
    const std::vector<MenuTemplateItem>* items = FindMenuTemplate(menuId);
    if (!items)
        return false;
    auto* style = new CVDMenuStyle;
    style->setParent(this);
    return Convert(*items, this, style);
}

bool CVDMenu::Convert(const std::vector<MenuTemplateItem>& items, CVDMenu* root, QStyle* style)
{
    if (items.size() > kMaxItems)
        return false;
    root_ = root;
    setStyle(style);
    for (size_t position = 0; position < items.size(); ++position) {
        const MenuTemplateItem& item = items[position];
        ids_.push_back(item.id);
        if (item.IsSeparator()) {
            texts_.emplace_back();
            addSeparator();
            continue;
        }
        texts_.emplace_back(item.text);
        if (item.popup.empty()) {
            QAction* action = addAction(QString::fromUtf8(item.text));
            action->setData(item.id);
            continue;
        }
        auto child = std::make_unique<CVDMenu>();
        child->setTitle(QString::fromUtf8(item.text));
        if (!child->Convert(item.popup, root, style))
            return false;
        addMenu(child.get());
        children_[position] = std::move(child);
    }
    return true;
}

CVDMenu* CVDMenu::GetSubMenuObject(int position) const
{
    if (position < 0 || position >= kMaxItems)
        return nullptr;
    return children_[size_t(position)].get();
}

int CVDMenu::ItemId(int position) const
{
    return position >= 0 && position < ItemCount() ? ids_[size_t(position)] : 0;
}

std::string CVDMenu::ItemText(int position) const
{
    return position >= 0 && position < ItemCount() ? texts_[size_t(position)] : std::string();
}

QSize CVDMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item || item->menuItemType == QStyleOptionMenuItem::Separator)
        return QProxyStyle::sizeFromContents(type, option, size, widget);

    const bool root = BelongsToRoot(widget);
    const QFontMetrics metrics(item->font);
    QString text = item->text;
    text.replace('\t', ' ');
    const int height = std::max(metrics.height(), CVDMenu::kMinTextHeight) + CVDMenu::kItemPadding;
    int width = metrics.horizontalAdvance(text);
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu && !root)
        width += 6;
    width += 19 + (root ? 1 : 0);
    return QSize(std::max(width, CVDMenu::kMinItemWidth), height);
}

void CVDMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !item || item->menuItemType == QStyleOptionMenuItem::Separator) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const bool root = BelongsToRoot(widget);
    const QRect itemRect = item->rect;
    const QPalette& palette = item->palette;

    painter->save();
    const bool selected = item->state & State_Selected;
    if (selected) {
        painter->fillRect(itemRect, QColor::fromRgb(SkinColors::Highlight));
        painter->setPen(QColor::fromRgb(SkinColors::Frame));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(itemRect.adjusted(0, 0, -1, -1));
    } else {
        painter->fillRect(itemRect, palette.color(root ? QPalette::Button : QPalette::Window));
    }

    // The label left, the part after a tab right-aligned 10 pixels in.
    QString label = item->text;
    QString right;
    const int tab = label.indexOf('\t');
    if (tab > 0) {
        right = label.mid(tab + 1);
        label = label.left(tab);
    }
    const QRect textRect = itemRect.adjusted(root ? 4 : 15, 0, -4, 0).adjusted(2, 2, -2, -2);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter->setFont(item->font);
    auto drawTexts = [&](const QRect& box, const QColor& colour) {
        painter->setPen(colour);
        const QFontMetrics metrics(item->font);
        painter->drawText(box, flags, metrics.elidedText(label, Qt::ElideRight, box.width()));
        if (!right.isEmpty()) {
            const int width = metrics.horizontalAdvance(right);
            painter->drawText(QRect(box.right() - width - 10, box.top(), width, box.height()), flags, right);
        }
    };
    if (!(item->state & State_Enabled)) {
        drawTexts(textRect.translated(1, 1), palette.color(QPalette::Light));
        drawTexts(textRect, palette.color(QPalette::Disabled, QPalette::Text));
    } else {
        drawTexts(textRect, palette.color(QPalette::Active, QPalette::Text));
    }
    painter->restore();
}
