#include "platform/PlatformModule.h"

#include <QLibrary>

namespace kavoret {

QFunctionPointer moduleEntry(const QString& modulePath, const char* entryName, QString& error) {
    QLibrary module(modulePath);
    const QFunctionPointer entry = module.resolve(entryName);
    if (!entry)
        error = module.errorString();
    return entry;
}

} // namespace kavoret
