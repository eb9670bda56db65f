#pragma once

#include "platform/SoundOutput.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace kavoret::test {

// Records every path played and answers with scripted result codes (0 once
// the script is used up). The error text of a code is "エラー" & code.
class FakeSoundOutput final : public SoundOutput {
public:
    int play(const QString& path) override {
        played.append(path);
        if (onPlay)
            onPlay(path);
        return results.isEmpty() ? 0 : results.takeFirst();
    }
    QString errorText(int code) const override { return QStringLiteral("エラー%1").arg(code); }

    QStringList played;
    QList<int> results;
    std::function<void(const QString&)> onPlay;
};

} // namespace kavoret::test
