// Owner-drawn popup menus in the skin's colours. One object per menu: the
// loaded menu is the root, each popup a child object it owns.
#pragma once

#include "skin/MenuTemplate.h"

#include <QMenu>
#include <QProxyStyle>

#include <array>
#include <memory>
#include <string>
#include <vector>

class CVDMenu : public QMenu {
    Q_OBJECT
public:
    static constexpr int kMaxItems = 256;
    static constexpr int kItemPadding = 4;      // added to the text height
    static constexpr int kMinTextHeight = 15;
    static constexpr int kMinItemWidth = 30;

    explicit CVDMenu(QWidget* parent = nullptr);
    ~CVDMenu() override;

    // Builds the menu from resource menuId; false when there is no such
    // menu or one of its menus has more than kMaxItems items.
    bool LoadMenu(int menuId);
    // The popup at item position, or null.
    CVDMenu* GetSubMenuObject(int position) const;

    bool IsRoot() const { return root_ == this; }
    int ItemId(int position) const;
    std::string ItemText(int position) const;
    int ItemCount() const { return int(ids_.size()); }

private:
    bool Convert(const std::vector<MenuTemplateItem>& items, CVDMenu* root, QStyle* style);

    CVDMenu* root_ = this;
    std::array<std::unique_ptr<CVDMenu>, kMaxItems> children_;
    std::vector<std::string> texts_;
    std::vector<int> ids_;
};

// Measures and draws the items of CVDMenu popups.
class CVDMenuStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};
