#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace kavoret::test {

// A family laid out in a temporary folder: <root>/<program>/ with the path file
// beside it, the shared settings and a criteria table. Files are written in
// code page 932 with CR LF line ends.
class FamilyFixture {
public:
    explicit FamilyFixture(const QString& programFolderName = QStringLiteral("abc1"));

    QString root() const;          // ends in "/"
    QString programFolder() const; // no trailing "/"
    QString dataFolder() const;    // ends in "/"

    // Writes text (UTF-8 in the test, CP932 on disk); "\n" becomes CR LF.
    void writeText(const QString& relativePath, const QString& text) const;
    void writeBytes(const QString& relativePath, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& relativePath) const;
    bool exists(const QString& relativePath) const;
    void remove(const QString& relativePath) const;

    // The usual files: path file naming root(), settings, criteria of four levels.
    void writeStandardFiles() const;

private:
    QTemporaryDir dir_;
    QString programFolderName_;
};

} // namespace kavoret::test
