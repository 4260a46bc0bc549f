// The skin's pictures, looked up by resource id. Colour bitmaps come in a
// 1× and a 2× drawing; the 2× one is used on dense screens so the skin stays
// sharp. Masks are one bit per pixel and always 1×.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace Skin {

// Colour bitmap id for a screen of the given pixel ratio; null when unknown.
QPixmap Bitmap(int id, qreal devicePixelRatio = 1.0);
// Mask bitmap id: white outside the shape; null when unknown.
QImage Mask(int id);
// Icon id (128: the application).
QIcon Icon(int id);
// The explorer's image list, by index: 0 folder, 1 open folder, 2 file,
// 3 audio track, 4 data track.
QIcon ExplorerIcon(int index);
inline constexpr int kExplorerIconCount = 5;
// Cursor 156, shown over the skinned buttons; the arrow when it is missing.
QCursor ButtonCursor();

} // namespace Skin
