#include "skin/CHListBox.h"

CHListBox::CHListBox(QWidget* parent) : QListWidget(parent)
{
    setUniformItemSizes(true); // thousands of lines stay cheap to lay out
}

int CHListBox::InsertString(int index, const QString& text)
{
    if (index < 0 || index > count())
        index = count();
    insertItem(index, text);
    return index;
}

QString CHListBox::GetText(int index) const
{
    const QListWidgetItem* line = item(index);
    return line ? line->text() : QString();
}
