#include "FamilyFixture.h"

#include "frame/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kavoret::test {

FamilyFixture::FamilyFixture(const QString& programFolderName)
    : programFolderName_(programFolderName) {
    QDir(dir_.path()).mkpath(programFolderName_);
}

QString FamilyFixture::root() const {
    return dir_.path() + u'/';
}

QString FamilyFixture::programFolder() const {
    return root() + programFolderName_;
}

QString FamilyFixture::dataFolder() const {
    return programFolder() + u'/';
}

void FamilyFixture::writeText(const QString& relativePath, const QString& text) const {
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\n', QStringLiteral("\r\n"));
    Result<QByteArray> bytes = cp932::encode(crlf);
    writeBytes(relativePath, bytes ? bytes.value() : QByteArray());
}

void FamilyFixture::writeBytes(const QString& relativePath, const QByteArray& bytes) const {
    const QString path = root() + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray FamilyFixture::readBytes(const QString& relativePath) const {
    QFile file(root() + relativePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool FamilyFixture::exists(const QString& relativePath) const {
    return QFileInfo::exists(root() + relativePath);
}

void FamilyFixture::remove(const QString& relativePath) const {
    QFile::remove(root() + relativePath);
}

void FamilyFixture::writeStandardFiles() const {
    writeText(QStringLiteral("パスデータ.txt"),
              QStringLiteral("\"%1\",0,0,0,0,0,0,0,0,0\n").arg(root()));
    writeText(QStringLiteral("共通データ.txt"),
              QStringLiteral("4,\"旧名\",0,0,0,0,0,0,\"テスト塾\",1234\n"));
    writeText(programFolderName_ + QStringLiteral("/タイム回数データ.txt"),
              QStringLiteral("\"目標Time\",\"最低Time\",\"ｸﾘｱﾎﾟｲﾝﾄ\",\"ｸﾘｱ回数\",\"ﾎﾟｲﾝﾄ倍率\","
                             "\"禁回\",\"禁点\",\"判期間\",\"禁期間\",,,\n"
                             "30,60,100,5,1,0,200,30,1,,,\n"
                             "35,70,100,5,1,0,200,30,1,,,\n"
                             "40,80,100,5,1,0,200,30,1,,,\n"
                             "45,90,100,5,1,0,200,30,1,,,\n"));
}

} // namespace kavoret::test
