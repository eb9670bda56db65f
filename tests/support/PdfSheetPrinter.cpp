#include "PdfSheetPrinter.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace kavoret::test {

PdfSheetPrinter::PdfSheetPrinter(QString folder) : folder_(std::move(folder)) {}

PdfSheetPrinter::~PdfSheetPrinter() {
    if (painter_ && painter_->isActive())
        painter_->end();
}

bool PdfSheetPrinter::choosePrinter(int jobCount) {
    chosenFor.push_back(jobCount);
    return chooses;
}

QPainter* PdfSheetPrinter::beginJob(const QString& title) {
    const QString file = QStringLiteral("%1/job%2.pdf").arg(folder_).arg(files.size() + 1);
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(file);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(QPageLayout::Portrait);
    printer_->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer_->setDocName(title);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        return nullptr;
    }
    titles.append(title);
    files.append(file);
    pages.push_back(1);
    ++openJobs;
    return painter_.get();
}

bool PdfSheetPrinter::newPage() {
    if (!painter_ || !printer_->newPage())
        return false;
    ++pages.back();
    return true;
}

bool PdfSheetPrinter::endJob() {
    if (!painter_)
        return false;
    const bool ended = painter_->end();
    painter_.reset();
    --openJobs;
    return ended;
}

QString PdfSheetPrinter::lastError() const {
    return QStringLiteral("cannot write a PDF file in %1").arg(folder_);
}

} // namespace kavoret::test
