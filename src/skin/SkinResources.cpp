#include "skin/SkinResources.h"

#include <QFile>

static void InitArtResources()
{
    // The art is generated into its own resource collection, linked from a
    // static library: register it before the first look-up.
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)done;
}

namespace Skin {

QPixmap Bitmap(int id, qreal devicePixelRatio)
{
    InitArtResources();
    const QString base = QStringLiteral(":/bitmaps/IDB_%1").arg(id);
    if (devicePixelRatio > 1.0 && QFile::exists(base + "@2x.png")) {
        QPixmap dense(base + "@2x.png");
        dense.setDevicePixelRatio(2.0);
        return dense;
    }
    return QPixmap(base + ".png");
}

QImage Mask(int id)
{
    InitArtResources();
    return QImage(QStringLiteral(":/masks/IDB_%1.png").arg(id));
}

static QIcon IconFromFiles(const QString& base)
{
    InitArtResources();
    QIcon icon;
    icon.addFile(base + ".png");
    icon.addFile(base + "@2x.png");
    return icon;
}

QIcon Icon(int id) { return IconFromFiles(QStringLiteral(":/icons/IDI_%1").arg(id)); }

QIcon ExplorerIcon(int index)
{
    static const char* const names[kExplorerIconCount] = {"folder", "folder_open", "file", "audio_track",
                                                          "data_track"};
    if (index < 0 || index >= kExplorerIconCount)
        return {};
    return IconFromFiles(QStringLiteral(":/icons/%1").arg(QLatin1String(names[index])));
}

QCursor ButtonCursor()
{
    InitArtResources();
    static const QPixmap picture(":/cursors/IDC_156.png");
    if (picture.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(picture, 1, 1);
}

} // namespace Skin
