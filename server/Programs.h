#pragma once

#include "frame/Result.h"

#include <QByteArray>
#include <QString>
#include <map>

namespace kavoret::server {

// What the server announces about one level of a program.
struct LevelSettings {
    double referenceTime = 50; // seconds; the program scores runs against it
    int clearPoints = 150;     // points over school and home that clear the level
};

// The programs the server knows, from the --programs file. A program or level
// not listed gets the defaults of LevelSettings.
//
// The file is UTF-8 text, one level per line: catalogue number, level,
// reference time in seconds and clear points, separated by blanks or tabs.
// Blank lines and lines starting with "#" are skipped.
class Programs {
public:
    static Result<Programs> load(const QString& path);
    // fileName names the file in messages.
    static Result<Programs> parse(const QByteArray& text, const QString& fileName);

    LevelSettings level(int soft, int level) const;
    // The highest level listed for the program, 0 when it is not listed.
    int levelCount(int soft) const;

private:
    std::map<int, std::map<int, LevelSettings>> programs_;
};

} // namespace kavoret::server
