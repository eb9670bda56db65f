#pragma once

#include <QFunctionPointer>
#include <QString>
#include <memory>

namespace kavoret {

// The entry point of one of the program's own modules (libraries beside the
// program that it loads only when their adapter is first needed, so that their
// dependencies stay out of the start-up). Null when the module or the entry
// cannot be loaded; error then says why, naming the file. A loaded module
// stays loaded for the life of the process.
QFunctionPointer moduleEntry(const QString& modulePath, const char* entryName, QString& error);

// The adapter a module makes through its entry (a function taking nothing and
// returning a new T), made on the first get() and owned here. Loading is tried
// once: after a failure get() stays null and loadError() says why.
template <typename T> class ModuleObject {
public:
    ModuleObject(QString modulePath, const char* entryName)
        : modulePath_(std::move(modulePath)), entryName_(entryName) {}

    T* get() {
        if (!object_ && loadError_.isEmpty()) {
            using Make = T* (*)();
            if (const auto make =
                    reinterpret_cast<Make>(moduleEntry(modulePath_, entryName_, loadError_))) {
                object_.reset(make());
                if (!object_)
                    loadError_ = modulePath_ + QStringLiteral(": ") +
                                 QString::fromLatin1(entryName_) + QStringLiteral(" made nothing");
            }
        }
        return object_.get();
    }

    // The adapter once made, without trying to load the module.
    T* loaded() const { return object_.get(); }

    // Why the module could not be loaded; empty while it could (or was not tried).
    const QString& loadError() const { return loadError_; }

private:
    QString modulePath_;
    const char* entryName_;
    std::unique_ptr<T> object_;
    QString loadError_;
};

} // namespace kavoret
