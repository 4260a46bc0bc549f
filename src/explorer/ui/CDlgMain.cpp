#include "explorer/ui/CDlgMain.h"

#include "extraction/ui/ExplorerSave.h"
#include "skin/CBtnSplit.h"
#include "skin/SkinEvents.h"

#include "skin/SkinResources.h"

#include <QMessageBox>

namespace {

// The file list: sorted as rows go in, whole rows selected, the explorer's
// five icons.
CListCtrlEx* MakeFileList(QWidget* parent)
{
    auto* list = new CListCtrlEx(parent);
    list->SetSortedInsert(true);
    list->SetFullRowSel(true);
    std::vector<QIcon> icons;
    for (int i = 0; i < Skin::kExplorerIconCount; ++i)
        icons.push_back(Skin::ExplorerIcon(i));
    list->SetImageList(std::move(icons));
    return list;
}

} // namespace

CDlgMain::CDlgMain(QWidget* parent)
    : QWidget(parent), list_(MakeFileList(this)), tree_(new ExplorerTree(this)), splitter_(new CBtnSplit(this)),
      explorer_(*tree_, *list_), save_(std::make_unique<ExplorerSave>(explorer_, this))
{
    const int w = parent->width(), h = parent->height();
    setGeometry(0, 0, w, h);
    tree_->setGeometry(0, 0, w / 2 - 3, h);
    splitter_->setGeometry(w / 2 - 3, 0, kSplitterWidth, h + 2);
    list_->setGeometry(w / 2 + 3, 0, w / 2 - 3, h);

    explorer_.SetMessageSink([this](const std::string& text) {
        QMessageBox::information(this, QStringLiteral("Morvik"), QString::fromUtf8(text.c_str()));
    });
    connect(tree_, &ExplorerTree::NodeSelected, this, [this] { explorer_.OnTreeSelect(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { explorer_.OnListDoubleClick(); });
    tree_->installEventFilter(this);
    list_->installEventFilter(this);
}

CDlgMain::~CDlgMain() = default;

bool CDlgMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == tree_)
            explorer_.OnTreeFocus();
        else if (watched == list_)
            explorer_.OnListFocus();
    }
    return QWidget::eventFilter(watched, event);
}

bool CDlgMain::event(QEvent* event)
{
    if (event->type() == SplitterMovedEvent::kType) {
        OnSplitterMoved(static_cast<SplitterMovedEvent*>(event)->ScreenX());
        return true;
    }
    return QWidget::event(event);
}

void CDlgMain::OnSplitterMoved(int screenX)
{
    if (screenX == 0 || !parentWidget())
        return;
    const QWidget* area = parentWidget();
    const int x = screenX - area->mapToGlobal(QPoint(0, 0)).x();
    const int w = area->width(), h = area->height();
    if (x <= kMinPaneWidth || w - x <= kMinPaneWidth)
        return;
    tree_->resize(x - 3, h);
    splitter_->setGeometry(x - 3, 0, kSplitterWidth, h);
    list_->setGeometry(x + 3, 0, w - x - 3, h);
}

void CDlgMain::OnSaveData() { save_->Run(); }
