#pragma once

#include "platform/WebView.h"

#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace kavoret::test {

// A plain widget in place of a web view: records the addresses it was sent to
// and draws the last one, so screenshots show what the view would show.
class FakeWebView final : public QWidget, public WebView {
public:
    explicit FakeWebView(QWidget* parent) : QWidget(parent) {}
    void navigate(const QString& address) override {
        navigations.append(address);
        update();
    }
    void setShown(bool shown) override { setVisible(shown); }
    QWidget* widget() override { return this; }

    QStringList navigations;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(240, 244, 255));
        painter.setPen(QColor(90, 110, 160));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        const QString text = objectName() + u'\n' + navigations.value(navigations.size() - 1);
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignLeft | Qt::TextWrapAnywhere, text);
    }
};

// Makes fake web views and keeps them by object name.
class FakeWebViewFactory final : public WebViewFactory {
public:
    WebView* create(QWidget* parent, const QString& objectName) override {
        auto* view = new FakeWebView(parent);
        view->setObjectName(objectName);
        views.insert(objectName, view);
        return view;
    }
    FakeWebView* view(const QString& objectName) const { return views.value(objectName); }

    QHash<QString, QPointer<FakeWebView>> views;
};

} // namespace kavoret::test
