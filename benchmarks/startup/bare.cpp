// The floor of the start-up benchmark: a bare Qt Widgets window with one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Kavoret"));
    label.resize(400, 300);
    label.show();
    return QApplication::exec();
}
