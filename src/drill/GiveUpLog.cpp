#include "drill/GiveUpLog.h"

#include "frame/ItemFile.h"

#include <QFile>

namespace kavoret::drill {

GiveUpLog::GiveUpLog(const QString& dataFolder, int studentNo)
    : path_(dataFolder + QStringLiteral("ギブ") + QString::number(studentNo) +
            QStringLiteral(".csv")) {}

Result<int> GiveUpLog::countOn(const QDate& day) const {
    if (!QFile::exists(path_)) {
        QFile created(path_);
        if (!created.open(QIODevice::WriteOnly | QIODevice::Append))
            return Error{
                QStringLiteral("ファイル「%1」を作れません: %2").arg(path_, created.errorString())};
    }
    Result<QList<Item>> items = readItemFile(path_);
    if (!items)
        return items.error();
    int count = 0;
    for (const Item& item : items.value()) {
        if (dayOf(item.text) == day)
            ++count;
    }
    return count;
}

Status GiveUpLog::append(const QDate& day) const {
    return appendItemLine(path_, {OutItem::raw(dateItem(day))});
}

QString GiveUpLog::dateItem(const QDate& day) {
    return u'#' + day.toString(QStringLiteral("yyyy-MM-dd")) + u'#';
}

QDate GiveUpLog::dayOf(const QString& item) {
    QString text = item.trimmed();
    if (text.size() >= 2 && text.startsWith(u'#') && text.endsWith(u'#'))
        text = text.mid(1, text.size() - 2);
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

QString giveUpCaption(int giveUpCount) {
    if (!giveUpAllowed(giveUpCount))
        return QStringLiteral("ギブアップ");
    return QStringLiteral("ギブアップ（後%1回）").arg(kGiveUpsPerDay - giveUpCount);
}

bool giveUpAllowed(int giveUpCount) {
    return giveUpCount < kGiveUpsPerDay;
}

} // namespace kavoret::drill
