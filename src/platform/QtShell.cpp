#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace kavoret {

bool QtShell::open(const QString& addressOrFile) {
    // Local files are given as paths, web pages as addresses.
    const QUrl url = QFileInfo(addressOrFile).isAbsolute() ? QUrl::fromLocalFile(addressOrFile)
                                                           : QUrl::fromUserInput(addressOrFile);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShell::start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

} // namespace kavoret
