#pragma once

#include <QString>

class QPainter;

namespace kavoret {

// A printer with A4 portrait pages to draw on like a picture, one job at a time.
class SheetPrinter {
public:
    virtual ~SheetPrinter() = default;

    // Lets the user choose where the coming jobs go: an installed printer or a
    // PDF file. false when the user cancelled; then nothing is printed.
    virtual bool choosePrinter(int jobCount) = 0;

    // Starts a job on the chosen printer and hands out a painter on its first
    // page, in the page's own units (the painter's device has the page's size).
    // Null when the job cannot start; lastError() then says why. The painter
    // stays the printer's and is valid until endJob().
    virtual QPainter* beginJob(const QString& title) = 0;

    // Continues the job on a fresh page; false when the printer refused it.
    virtual bool newPage() = 0;

    // Ends the job and hands it to the printer; false when that failed.
    virtual bool endJob() = 0;

    virtual QString lastError() const = 0;
};

} // namespace kavoret
