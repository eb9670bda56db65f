#include "platform/LazyWebViewFactory.h"

#include <QLabel>

namespace kavoret {
namespace {

// Stands in for a web view when the web engine is not available.
class UnavailableWebView final : public QLabel, public WebView {
public:
    UnavailableWebView(QWidget* parent, const QString& why) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        setWordWrap(true);
        setAlignment(Qt::AlignCenter);
        setText(QStringLiteral("ページを表示できません（%1）").arg(why));
    }
    void navigate(const QString&) override {}
    void setShown(bool shown) override { setVisible(shown); }
    QWidget* widget() override { return this; }
};

} // namespace

LazyWebViewFactory::LazyWebViewFactory(QString modulePath)
    : real_(std::move(modulePath), "kavoret_make_web_view_factory") {}

// The module stays loaded for the life of the process: views made by it may
// outlive this factory inside their windows.
LazyWebViewFactory::~LazyWebViewFactory() = default;

void LazyWebViewFactory::prepare() {
    if (WebViewFactory* real = real_.get())
        real->prepare();
}

WebView* LazyWebViewFactory::create(QWidget* parent, const QString& objectName) {
    if (WebViewFactory* real = real_.get())
        return real->create(parent, objectName);
    auto* view = new UnavailableWebView(parent, real_.loadError());
    view->setObjectName(objectName);
    return view;
}

} // namespace kavoret
