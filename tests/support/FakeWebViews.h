#pragma once

#include "platform/WebView.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace kavoret::test {

// A web view that is a plain widget: records the addresses it was sent to, so
// screen tests run without starting a browser engine.
class FakeWebView final : public QObject, public WebView {
public:
    FakeWebView(QWidget* parent, const QString& objectName) : widget_(new QWidget(parent)) {
        widget_->setObjectName(objectName);
        setParent(widget_); // goes with its widget, as the real view does
    }
    void navigate(const QString& address) override { addresses.append(address); }
    void setShown(bool shown) override { widget_->setVisible(shown); }
    QWidget* widget() override { return widget_; }

    QStringList addresses;

private:
    QWidget* widget_;
};

class FakeWebViewFactory final : public WebViewFactory {
public:
    WebView* create(QWidget* parent, const QString& objectName) override {
        auto* view = new FakeWebView(parent, objectName);
        views.append(view);
        return view;
    }
    // The view created under this name, or null.
    FakeWebView* view(const QString& objectName) const {
        for (const QPointer<QObject>& view : views) {
            auto* fake = static_cast<FakeWebView*>(view.data());
            if (fake && fake->widget()->objectName() == objectName)
                return fake;
        }
        return nullptr;
    }

    QList<QPointer<QObject>> views;
};

} // namespace kavoret::test
