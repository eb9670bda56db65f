#include "platform/LazyWebViewFactory.h"

#include <QLabel>
#include <QLibrary>

namespace kavoret {
namespace {

using MakeFactory = WebViewFactory* (*)();

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

LazyWebViewFactory::LazyWebViewFactory(QString modulePath) : modulePath_(std::move(modulePath)) {}

// The module stays loaded for the life of the process: views made by it may
// outlive this factory inside their windows.
LazyWebViewFactory::~LazyWebViewFactory() = default;

bool LazyWebViewFactory::loadModule() {
    if (!real_ && loadError_.isEmpty()) {
        QLibrary module(modulePath_);
        const auto make = reinterpret_cast<MakeFactory>(module.resolve("kavoret_make_web_view_factory"));
        if (make)
            real_.reset(make());
        else
            loadError_ = module.errorString();
    }
    return bool(real_);
}

void LazyWebViewFactory::prepare() {
    if (loadModule())
        real_->prepare();
}

WebView* LazyWebViewFactory::create(QWidget* parent, const QString& objectName) {
    if (loadModule())
        return real_->create(parent, objectName);
    auto* view = new UnavailableWebView(parent, loadError_);
    view->setObjectName(objectName);
    return view;
}

} // namespace kavoret
