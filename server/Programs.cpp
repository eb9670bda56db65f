#include "Programs.h"

#include "frame/LevelStudentTable.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>

namespace kavoret::server {

namespace {

// The longest reference time a level can have: runs of 5000 s or more have no
// valid time.
constexpr double kMaxReferenceTime = 4999;
constexpr int kMaxClearPoints = 1000000;

} // namespace

Result<Programs> Programs::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error{QStringLiteral("%1: cannot be read: %2").arg(path, file.errorString())};
    return parse(file.readAll(), path);
}

Result<Programs> Programs::parse(const QByteArray& text, const QString& fileName) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(text);
    if (decoder.hasError())
        return Error{QStringLiteral("%1: is not UTF-8 text").arg(fileName)};

    Programs programs;
    const QStringList lines = decoded.split(u'\n');
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QString line = lines[index];
        if (index == 0 && line.startsWith(QChar(0xfeff)))
            line.remove(0, 1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const auto problem = [&](const QString& what) {
            return Error{QStringLiteral("%1: line %2: %3").arg(fileName).arg(index + 1).arg(what)};
        };
        const QStringList fields = line.split(blanks);
        if (fields.size() != 4)
            return problem(QStringLiteral("expected catalogue number, level, reference time and "
                                          "clear points, found %1 items")
                               .arg(fields.size()));
        bool ok = false;
        const int soft = fields[0].toInt(&ok);
        if (!ok || soft < 0 || soft > 999999)
            return problem(QStringLiteral("catalogue number \"%1\" is not a whole number from 0 "
                                          "to 999999")
                               .arg(fields[0]));
        const int level = fields[1].toInt(&ok);
        if (!ok || level < 1 || level > kMaxLevel)
            return problem(QStringLiteral("level \"%1\" is not a whole number from 1 to %2")
                               .arg(fields[1])
                               .arg(kMaxLevel));
        const double referenceTime = fields[2].toDouble(&ok);
        if (!ok || !std::isfinite(referenceTime) || referenceTime <= 0 ||
            referenceTime > kMaxReferenceTime)
            return problem(QStringLiteral("reference time \"%1\" is not a number of seconds above "
                                          "0 and up to %2")
                               .arg(fields[2])
                               .arg(kMaxReferenceTime));
        const int clearPoints = fields[3].toInt(&ok);
        if (!ok || clearPoints < 1 || clearPoints > kMaxClearPoints)
            return problem(QStringLiteral("clear points \"%1\" are not a whole number from 1 to %2")
                               .arg(fields[3])
                               .arg(kMaxClearPoints));
        auto& levels = programs.programs_[soft];
        if (levels.contains(level))
            return problem(
                QStringLiteral("program %1 level %2 is listed twice").arg(soft).arg(level));
        levels[level] = LevelSettings{referenceTime, clearPoints};
    }
    return programs;
}

LevelSettings Programs::level(int soft, int level) const {
    const auto program = programs_.find(soft);
    if (program == programs_.end())
        return {};
    const auto found = program->second.find(level);
    return found == program->second.end() ? LevelSettings{} : found->second;
}

int Programs::levelCount(int soft) const {
    const auto program = programs_.find(soft);
    if (program == programs_.end() || program->second.empty())
        return 0;
    return program->second.rbegin()->first;
}

} // namespace kavoret::server
