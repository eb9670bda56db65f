#pragma once

#include <QWidget>

class QLabel;

namespace kavoret {

// The plain full-screen backdrop shown while the drill and finish screens change places.
class BASEFRM : public QWidget {
    Q_OBJECT
public:
    explicit BASEFRM(const QString& programTitle, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* picture1_;
    QLabel* label19_;
};

} // namespace kavoret
