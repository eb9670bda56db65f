#pragma once

#include "platform/Shell.h"

namespace kavoret {

// Opens addresses and files with the desktop's default handler and starts
// programs detached from this one. Both report whether it worked.
class QtShell final : public Shell {
public:
    bool open(const QString& addressOrFile) override;
    bool start(const QString& program, const QStringList& arguments) override;
};

} // namespace kavoret
