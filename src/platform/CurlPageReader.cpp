#include "platform/CurlPageReader.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <curl/curl.h>
#include <memory>

namespace kavoret {

namespace {

// Ranking pages are small; anything larger is not one of them.
constexpr qsizetype kMaxAnswerBytes = 8 * 1024 * 1024;

std::size_t collect(char* data, std::size_t size, std::size_t count, void* target) {
    auto* answer = static_cast<QByteArray*>(target);
    const std::size_t bytes = size * count;
    if (answer->size() + static_cast<qsizetype>(bytes) > kMaxAnswerBytes)
        return 0; // ends the transfer with an error
    answer->append(data, static_cast<qsizetype>(bytes));
    return bytes;
}

QByteArray charsetOf(const char* contentType) {
    if (!contentType)
        return {};
    const QByteArray type(contentType);
    for (const QByteArray& part : type.split(';')) {
        const QByteArray item = part.trimmed();
        if (item.toLower().startsWith("charset=")) {
            QByteArray name = item.mid(8).trimmed();
            if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"'))
                name = name.mid(1, name.size() - 2);
            return name;
        }
    }
    return {};
}

QString decode(const QByteArray& bytes, const QByteArray& charset) {
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromUtf8(bytes);
}

// The server (or its name, or a proxy) could not be reached, or it did not
// answer in time. Every other error came quickly from a server that is there.
bool isUnreachable(CURLcode code) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return true;
    default:
        return false;
    }
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

} // namespace

CurlPageReader::CurlPageReader(std::chrono::milliseconds connectTimeout,
                               std::chrono::milliseconds totalTimeout)
    : connectTimeout_(connectTimeout), totalTimeout_(totalTimeout) {}

CurlPageReader::~CurlPageReader() {
    if (initialised_)
        curl_global_cleanup();
}

// libcurl (and the TLS library under it) is set up with the first read rather
// than with the reader: the program makes its reader at start-up, before its
// first window, and may never read a page at all.
bool CurlPageReader::initialise() {
    std::call_once(initOnce_,
                   [this] { initialised_ = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return initialised_;
}

QString CurlPageReader::read(const QString& url) {
    return fetch(url).text;
}

PageRead CurlPageReader::fetch(const QString& url) {
    if (url.isEmpty() || !initialise())
        return {};
    std::unique_ptr<CURL, EasyDeleter> handle(curl_easy_init());
    if (!handle)
        return {};
    CURL* curl = handle.get();
    const QByteArray address = url.toUtf8();
    QByteArray answer;
    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeout_.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(totalTimeout_.count()));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
    const CURLcode code = curl_easy_perform(curl);
    if (code != CURLE_OK)
        return {{}, isUnreachable(code) ? PageReadOutcome::Unreachable : PageReadOutcome::Failed};
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        return {};
    char* contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    return {decode(answer, charsetOf(contentType)), PageReadOutcome::Answered};
}

} // namespace kavoret
