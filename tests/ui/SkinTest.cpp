// The skin's pixel rules: shapes cut from masks, round and triangular
// buttons, status texts, the cursor, the splitter, the menus and the art.
#include "UiTestSupport.h"

#include "explorer/ui/CDlgMain.h"
#include "shell/CDlgDev.h"
#include "shell/CMorvikDlg.h"
#include "shell/CommandIds.h"
#include "skin/CBmpBtn.h"
#include "skin/CBtnSplit.h"
#include "skin/CMenuBtn.h"
#include "skin/CVDMenu.h"
#include "skin/MaskRegion.h"
#include "skin/SkinEvents.h"
#include "skin/SkinGeometry.h"
#include "skin/SkinResources.h"

#include <QLabel>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {

// Counts the events of one type that reach a widget.
class EventCatcher : public QWidget {
public:
    explicit EventCatcher(QEvent::Type type) : type_(type) {}
    std::vector<int> values;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == type_) {
            if (type_ == StatusTextEvent::kType)
                values.push_back(static_cast<StatusTextEvent*>(event)->StringId());
            else
                values.push_back(static_cast<SplitterMovedEvent*>(event)->ScreenX());
            return true;
        }
        return QWidget::event(event);
    }

private:
    QEvent::Type type_;
};

QImage Filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void MaskRegionCutsWhitePixels()
    {
        const QRect bounds(0, 0, 20, 10);
        QCOMPARE(MaskRegion(Filled({20, 10}, Qt::black), bounds), QRegion(bounds));
        QVERIFY(MaskRegion(Filled({20, 10}, Qt::white), bounds).isEmpty());

        // Only pure white is outside; near-white stays inside.
        QImage mask = Filled({20, 10}, Qt::black);
        mask.setPixel(3, 4, qRgb(255, 255, 255));
        mask.setPixel(5, 5, qRgb(254, 255, 255));
        const QRegion shape = MaskRegion(mask, bounds);
        QVERIFY(!shape.contains(QPoint(3, 4)));
        QVERIFY(shape.contains(QPoint(5, 5)));
        QCOMPARE(shape.boundingRect(), bounds);

        // A bound larger than the mask keeps the part beyond it.
        const QRegion wider = MaskRegion(Filled({10, 10}, Qt::white), QRect(0, 0, 16, 12));
        QVERIFY(!wider.contains(QPoint(9, 9)));
        QVERIFY(wider.contains(QPoint(10, 0)));
        QVERIFY(wider.contains(QPoint(0, 10)));
    }

    void EveryArtIdExistsAtItsSize()
    {
        const struct {
            int id;
            QSize size;
        } bitmaps[] = {{217, {614, 442}}, {219, {291, 186}}, {218, {350, 100}}, {238, {374, 256}},
                       {160, {30, 30}},   {161, {30, 30}},   {162, {30, 30}},   {163, {30, 30}},
                       {206, {12, 12}},   {207, {12, 12}},   {216, {200, 100}}, {215, {25, 25}},
                       {221, {22, 18}},   {224, {22, 18}},   {225, {22, 17}},   {230, {22, 17}}};
        for (const auto& bitmap : bitmaps) {
            QCOMPARE(Skin::Bitmap(bitmap.id).size(), bitmap.size);
            const QPixmap dense = Skin::Bitmap(bitmap.id, 2.0);
            QCOMPARE(dense.size(), bitmap.size * 2);
            QCOMPARE(dense.deviceIndependentSize().toSize(), bitmap.size);
        }
        for (int id : {142, 144, 145, 146, 147, 148, 149, 150, 151, 152, 153, 154, 173, 174, 193, 194, 179, 180, 182,
                       184, 186, 187, 189, 190, 222, 223, 226, 227, 228, 229})
            QVERIFY2(!Skin::Bitmap(id).isNull(), qPrintable(QString::number(id)));
        const struct {
            int id;
            QSize size;
        } masks[] = {{171, {626, 442}}, {211, {626, 442}}, {158, {291, 186}}, {175, {350, 100}}, {237, {374, 256}},
                     {177, {32, 33}},   {185, {32, 33}},   {181, {32, 36}},   {188, {32, 36}}};
        for (const auto& mask : masks) {
            const QImage image = Skin::Mask(mask.id);
            QCOMPARE(image.size(), mask.size);
            QCOMPARE(image.depth(), 1);
        }
        QVERIFY(!Skin::Icon(128).isNull());
        for (int i = 0; i < Skin::kExplorerIconCount; ++i)
            QVERIFY(!Skin::ExplorerIcon(i).pixmap(16, 16).isNull());
        QVERIFY(!Skin::ButtonCursor().pixmap().isNull());
    }

    void MainWindowIsCutFromItsMask()
    {
        CMorvikDlg window;
        QCOMPARE(window.size(), QSize(626, 442));
        // The view area is exactly the non-white part of mask 211.
        QCOMPARE(window.ViewArea()->geometry(), QRect(QPoint(64, 103), QPoint(599, 396)));
        QCOMPARE(MaskBoundingBox(211, window.rect()), QRect(64, 103, 536, 294));
        const QRegion shape = window.mask();
        QVERIFY(!shape.contains(QPoint(0, 0)));     // rounded corner
        QVERIFY(!shape.contains(QPoint(620, 200))); // right of the skin
        QVERIFY(shape.contains(QPoint(300, 200)));
        QCOMPARE(shape, MaskRegion(Skin::Mask(171), window.rect()));
        QCOMPARE(window.findChild<QLabel*>("statusLine")->geometry(), QRect(54, 417, 320, 20));
        QCOMPARE(window.Explorer()->geometry(), window.ViewArea()->rect());
    }

    void DialogsAreCutFromTheirMasks()
    {
        CDlgDev dialog;
        QCOMPARE(dialog.size(), QSize(291, 186));
        QVERIFY(!dialog.mask().contains(QPoint(0, 0)));
        QVERIFY(!dialog.mask().contains(QPoint(290, 185)));
        QVERIFY(dialog.mask().contains(QPoint(145, 93)));
    }

    void RoundButtonsAreEllipses()
    {
        QWidget parent;
        CBmpRoundBtn circle(&parent);
        circle.setGeometry(0, 0, 30, 30);
        parent.show();
        QCOMPARE(circle.mask(), QRegion(0, 0, 30, 30, QRegion::Ellipse));
        QVERIFY(!circle.mask().contains(QPoint(0, 0)));
        QVERIFY(!circle.mask().contains(QPoint(29, 29)));
        QVERIFY(circle.mask().contains(QPoint(15, 15)));
        QVERIFY(circle.mask().contains(QPoint(15, 0)));
        QVERIFY(circle.mask().contains(QPoint(0, 15)));

        CBmpRoundBtn oval(&parent);
        oval.setGeometry(0, 0, 40, 20);
        oval.show(); // a hidden widget gets its size, and so its shape, when shown
        QCOMPARE(oval.mask(), QRegion(0, 0, 40, 20, QRegion::Ellipse));
        QVERIFY(!oval.mask().contains(QPoint(2, 2)));
    }

    void TriangleButtonsAreCutAndClipped()
    {
        QWidget parent;
        CBmpTriangleBtn_T top(&parent);
        top.setGeometry(0, 0, 32, 33);
        top.SetBitmaps(179, 180, 177);
        parent.show();
        QVERIFY(!top.mask().contains(QPoint(0, 0)));
        QVERIFY(!top.mask().contains(QPoint(31, 0)));
        QVERIFY(top.mask().contains(QPoint(16, 25)));
        QCOMPARE(top.mask(), MaskRegion(Skin::Mask(177), top.rect()));

        // Drawing stays inside the drawing mask: the corner keeps the parent's colour.
        QImage image(top.size(), QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        top.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::magenta));
        QVERIFY(image.pixelColor(16, 25) != QColor(Qt::magenta));
    }

    void ButtonsSendTheirStatusTextOnHover()
    {
        EventCatcher parent(StatusTextEvent::kType);
        CBmpRoundBtn withText(&parent);
        withText.setGeometry(0, 0, 30, 30);
        withText.SetStatusText(4);
        CBmpRoundBtn silent(&parent);
        silent.setGeometry(40, 0, 30, 30);
        CBmpTriangleBtn_R right(&parent);
        right.setGeometry(80, 0, 32, 33);
        right.SetStatusText(12);
        parent.show();
        QTest::mouseMove(&withText, QPoint(15, 15));
        QTest::mouseMove(&silent, QPoint(15, 15));
        QTest::mouseMove(&right, QPoint(8, 16));
        QCOMPARE(parent.values, (std::vector<int>{4, 12}));
        QCOMPARE(withText.cursor().pixmap().cacheKey(), Skin::ButtonCursor().pixmap().cacheKey());
    }

    void SplitterReportsOnlyWhileDragged()
    {
        EventCatcher parent(SplitterMovedEvent::kType);
        parent.resize(300, 100);
        CBtnSplit bar(&parent);
        bar.setGeometry(147, 0, 6, 100);
        parent.show();
        QTest::mouseMove(&bar, QPoint(3, 50));
        QVERIFY(parent.values.empty());
        QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(3, 50));
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 50), bar.mapToGlobal(QPointF(5, 50)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &move);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(5, 50));
        QCOMPARE(parent.values, std::vector<int>{bar.mapToGlobal(QPoint(5, 0)).x()});
        QCOMPARE(bar.cursor().shape(), Qt::SplitHCursor);

        QImage image(bar.size(), QImage::Format_RGB32);
        bar.render(&image);
        QCOMPARE(image.pixelColor(3, 50), QColor(100, 125, 142));
    }

    void ExplorerMovesItsPanesWithTheSplitter()
    {
        QWidget area;
        area.resize(536, 294);
        CDlgMain explorer(&area);
        area.show();
        QCOMPARE(explorer.Tree()->geometry(), QRect(0, 0, 265, 294));
        QCOMPARE(explorer.Splitter()->geometry(), QRect(265, 0, 6, 296));
        QCOMPARE(explorer.List()->geometry(), QRect(271, 0, 265, 294));

        const int left = area.mapToGlobal(QPoint(0, 0)).x();
        explorer.OnSplitterMoved(left + 200);
        QCOMPARE(explorer.Tree()->geometry(), QRect(0, 0, 197, 294));
        QCOMPARE(explorer.Splitter()->geometry(), QRect(197, 0, 6, 294));
        QCOMPARE(explorer.List()->geometry(), QRect(203, 0, 333, 294));
        for (int x : {0, left + 100, left + 436, left + 90})
            explorer.OnSplitterMoved(x);
        QCOMPARE(explorer.Splitter()->geometry(), QRect(197, 0, 6, 294));
    }

    void MenuButtonFillsAndFrames()
    {
        CMenuBtn button("File");
        button.resize(47, 18);
        button.SetFillColor(QColor(169, 184, 202));
        QImage image(button.size(), QImage::Format_RGB32);
        button.render(&image);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(1, 1), QColor(169, 184, 202));
        button.setDown(true);
        button.render(&image);
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::black));
        QCOMPARE(image.pixelColor(2, 2), QColor(169, 184, 202));
    }

    void Menu232HasItsItemsAndIds()
    {
        CVDMenu menu;
        QVERIFY(menu.LoadMenu(Cmd::kMainMenu));
        QVERIFY(!CVDMenu().LoadMenu(999));
        const std::vector<std::vector<std::pair<int, std::string>>> expected = {
            {{32771, "Select Device"}, {32772, "Show Sector Data"}, {0, ""}, {32773, "Eject Device"},
             {32774, "Close Device"}, {0, ""}, {32775, "Exit"}},
            {{32776, "Refresh"}, {32777, "Save Data"}},
            {{32778, "Show TOC"}, {32779, "Volumn Information"}, {32780, "Device Support Information"}, {0, ""},
             {32781, "Disc Scan"}},
            {{32783, "Help Topic"}, {0, ""}, {32784, "About"}}};
        for (int k = 0; k < 4; ++k) {
            CVDMenu* popup = menu.GetSubMenuObject(k);
            QVERIFY(popup);
            QVERIFY(!popup->IsRoot());
            QCOMPARE(popup->ItemCount(), int(expected[size_t(k)].size()));
            for (int i = 0; i < popup->ItemCount(); ++i) {
                QCOMPARE(popup->ItemId(i), expected[size_t(k)][size_t(i)].first);
                QCOMPARE(popup->ItemText(i), expected[size_t(k)][size_t(i)].second);
            }
        }
        QVERIFY(menu.GetSubMenuObject(4) == nullptr);
        QVERIFY(menu.GetSubMenuObject(-1) == nullptr);
    }

    void MenuItemsAre19HighAndSelectedOnesHighlighted()
    {
        CVDMenu menu;
        QVERIFY(menu.LoadMenu(Cmd::kMainMenu));
        CVDMenu* file = menu.GetSubMenuObject(0);
        QVERIFY(QFontMetrics(file->font()).height() < 15);
        file->popup(QPoint(100, 100));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        const QList<QAction*> actions = file->actions();
        for (QAction* action : actions) {
            if (!action->isSeparator()) {
                QCOMPARE(file->actionGeometry(action).height(), 19);
                QVERIFY(file->actionGeometry(action).width() >= 30);
            }
        }
        QAction* eject = actions[3];
        file->setActiveAction(eject);
        const QRect box = file->actionGeometry(eject);
        QImage image(file->size(), QImage::Format_RGB32);
        file->render(&image);
        QCOMPARE(image.pixelColor(box.topLeft()), QColor(0, 0, 100));
        QCOMPARE(image.pixelColor(box.bottomRight()), QColor(0, 0, 100));
        QCOMPARE(image.pixelColor(box.topLeft() + QPoint(3, 2)), QColor(169, 184, 202));
        const QRect other = file->actionGeometry(actions[0]);
        QVERIFY(image.pixelColor(other.topLeft() + QPoint(3, 2)) != QColor(169, 184, 202));

        // A disabled item is embossed: light copy one pixel down-right.
        actions[4]->setEnabled(false);
        file->setActiveAction(actions[0]);
        file->render(&image);
        const QRect disabled = file->actionGeometry(actions[4]);
        bool hasLight = false, hasGray = false;
        const QColor light = file->palette().color(QPalette::Light);
        const QColor gray = file->palette().color(QPalette::Disabled, QPalette::Text);
        for (int y = disabled.top(); y <= disabled.bottom(); ++y)
            for (int x = disabled.left(); x <= disabled.right(); ++x) {
                hasLight |= image.pixelColor(x, y) == light;
                hasGray |= image.pixelColor(x, y) == gray;
            }
        QVERIFY(hasLight && hasGray);
        file->close();
    }

    void ShortItemsAreStill30Wide()
    {
        CVDMenu menu;
        QVERIFY(menu.LoadMenu(Cmd::kMainMenu));
        CVDMenu* help = menu.GetSubMenuObject(3);
        CVDMenuStyle style;
        QStyleOptionMenuItem option;
        option.initFrom(help);
        option.menuItemType = QStyleOptionMenuItem::Normal;
        option.text = "i";
        option.font = help->font();
        QCOMPARE(style.sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), help), QSize(30, 19));
        option.text = "Label\tCtrl+L";
        const int tabbed = style.sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), help).width();
        QCOMPARE(tabbed, QFontMetrics(help->font()).horizontalAdvance("Label Ctrl+L") + 19);
    }
};

QTEST_MAIN(SkinTest)
#include "SkinTest.moc"
