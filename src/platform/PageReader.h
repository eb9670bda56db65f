#pragma once

#include <QString>

namespace kavoret {

// How a page read ended.
enum class PageReadOutcome {
    Answered,    // the server sent the page
    Failed,      // a quick failure: an error status, no web address, an oversized answer
    Unreachable, // no connection could be made, or the answer did not come in time
};

struct PageRead {
    QString text; // empty unless answered
    PageReadOutcome outcome = PageReadOutcome::Failed;
};

// Blocking GET of a page; the whole answer as text, empty on any failure or time-out.
class PageReader {
public:
    virtual ~PageReader() = default;
    virtual QString read(const QString& url) = 0;

    // The same read, telling how it ended. A reader that cannot tell a server
    // that is down from other failures reports every empty answer as a quick
    // failure.
    virtual PageRead fetch(const QString& url) {
        PageRead result{read(url), PageReadOutcome::Answered};
        if (result.text.isEmpty())
            result.outcome = PageReadOutcome::Failed;
        return result;
    }
};

} // namespace kavoret
