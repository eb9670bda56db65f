#pragma once

#include <QPixmap>
#include <QString>

namespace kavoret {

// The splash and backdrop picture: the program title over a soft keyboard motif,
// drawn at run time so the program ships no image files.
QPixmap splashPicture(const QString& title, const QSize& size);

} // namespace kavoret
