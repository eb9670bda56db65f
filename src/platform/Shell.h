#pragma once

#include <QString>
#include <QStringList>

namespace kavoret {

// The desktop: open an address or file with its default handler, start a program.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool open(const QString& addressOrFile) = 0;
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};

} // namespace kavoret
