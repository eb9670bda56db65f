#pragma once

#include "platform/Shell.h"

#include <QList>

namespace kavoret::test {

// Records every open and start; answers with the given success values.
class RecordingShell final : public Shell {
public:
    struct Started {
        QString program;
        QStringList arguments;
    };
    bool open(const QString& addressOrFile) override {
        opened.append(addressOrFile);
        return openSucceeds;
    }
    bool start(const QString& program, const QStringList& arguments) override {
        started.append({program, arguments});
        return startSucceeds;
    }

    QStringList opened;
    QList<Started> started;
    bool openSucceeds = true;
    bool startSucceeds = true;
};

} // namespace kavoret::test
