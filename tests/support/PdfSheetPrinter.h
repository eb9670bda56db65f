#pragma once

#include "platform/SheetPrinter.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QPrinter;

namespace kavoret::test {

// Prints without a dialog: job k goes to its own PDF file, folder/job<k>.pdf,
// on A4 portrait pages as the real printer lays them out. Records what was
// asked of it; choosePrinter answers with `chooses`.
class PdfSheetPrinter final : public SheetPrinter {
public:
    explicit PdfSheetPrinter(QString folder);
    ~PdfSheetPrinter() override;

    bool choosePrinter(int jobCount) override;
    QPainter* beginJob(const QString& title) override;
    bool newPage() override;
    bool endJob() override;
    QString lastError() const override;

    bool chooses = true;
    std::vector<int> chosenFor; // the job count of every choosePrinter call
    QStringList titles;         // of the jobs begun
    QStringList files;          // the PDF file of each job
    std::vector<int> pages;     // the pages of each job
    int openJobs = 0;           // begun and not ended

private:
    QString folder_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
};

} // namespace kavoret::test
