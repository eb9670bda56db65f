#pragma once

#include "platform/SheetPrinter.h"

#include <memory>

class QPrinter;

namespace kavoret {

// Qt Print Support: the print dialog offers every installed printer and, on
// any computer, a PDF file. Pages are A4 portrait with 10 mm margins. When
// several jobs go to one PDF file, the second and later jobs go to files
// numbered after it ("sheets.pdf", "sheets-2.pdf", ...), so no job overwrites
// another.
class QtSheetPrinter final : public SheetPrinter {
public:
    QtSheetPrinter();
    ~QtSheetPrinter() override;

    bool choosePrinter(int jobCount) override;
    QPainter* beginJob(const QString& title) override;
    bool newPage() override;
    bool endJob() override;
    QString lastError() const override;

private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QString chosenFile_; // the PDF file chosen in the dialog, empty for a printer
    int job_ = 0;        // jobs begun since the dialog
    QString error_;
};

} // namespace kavoret
