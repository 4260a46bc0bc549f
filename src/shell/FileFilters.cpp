#include "shell/FileFilters.h"

#include <QStringList>

QString QtFilterList(const char* pipeSeparated)
{
    const QStringList parts = QString::fromUtf8(pipeSeparated).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == "*.*")
                pattern = "*";
        // Qt takes the patterns from the last parentheses of the name.
        QString name = parts[i];
        const int open = name.lastIndexOf('(');
        if (open >= 0)
            name.truncate(open);
        filters << QStringLiteral("%1 (%2)").arg(name.trimmed(), patterns.join(' '));
    }
    return filters.join(";;");
}
