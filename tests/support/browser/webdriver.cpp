#include "webdriver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QWebSocket>

namespace {

// Debian's MiniBrowser, beside WebKitGTK's own processes.
QString miniBrowser() {
    const QStringList found = QDir("/usr/lib").entryList({"*-linux-gnu"}, QDir::Dirs) << QString();
    for (const QString& triplet : found) {
        const QString path = "/usr/lib/" + triplet + "/webkit2gtk-4.1/MiniBrowser";
        if (QFile::exists(path)) {
            return path;
        }
    }
    return QStringLiteral("MiniBrowser");
}

} // namespace

WebDriver::WebDriver(Engine engine, const Window& window)
    : engine_(engine)
    , phone_(window.phone) {
    QStringList arguments{"--port=%1"};
    if (engine == Engine::WebKit) {
        // The scale and the scheme of the desktop MiniBrowser starts on.
        qputenv("GDK_SCALE", QByteArray::number(qRound(window.zoom)));
        qputenv("GTK_THEME", window.dark ? "Adwaita:dark" : "Adwaita");
    }
    driver_ = serveOnFreePort(engine == Engine::WebKit ? "WebKitWebDriver" : "chromedriver",
                              arguments, ".", port_);
    const QJsonObject capabilities =
        engine == Engine::WebKit ? webKitCapabilities() : chromiumCapabilities(window);
    const QJsonObject session =
        command("POST", "/session", {{"capabilities", QJsonObject{{"alwaysMatch", capabilities}}}})
            .toObject();
    session_ = session["sessionId"].toString();
    debugger_ = session["capabilities"]["goog:chromeOptions"]["debuggerAddress"].toString();
    if (engine == Engine::WebKit) {
        resize(window.size, window.zoom);
    } else if (window.dark) {
        devTools("Emulation.setEmulatedMedia",
                 {{"features",
                   QJsonArray{QJsonObject{{"name", "prefers-color-scheme"}, {"value", "dark"}}}}});
    }
}

// An attached session leaves the browser; the first one ends it.
WebDriver::~WebDriver() {
    for (; !earlierSessions_.isEmpty(); session_ = earlierSessions_.takeLast()) {
        command("DELETE", "");
    }
    command("DELETE", "");
}

// As root in a container, without a display or a network beyond this machine.
QJsonObject WebDriver::chromiumCapabilities(const Window& window) const {
    QStringList arguments{
        "--headless=new", "--no-sandbox",
        "--disable-gpu",  "--disable-background-networking",
        "--no-first-run", QStringLiteral("--force-device-scale-factor=%1").arg(window.zoom)};
    if (!window.host.isEmpty()) {
        arguments << "--host-resolver-rules=MAP " + window.host + " 127.0.0.1";
    }
    QJsonObject chrome{{"binary", "/usr/bin/chromium"}};
    if (window.phone) { // laid out in device pixels, as phones' browsers lay it out
        chrome["mobileEmulation"] =
            QJsonObject{{"deviceMetrics", QJsonObject{{"width", window.size.width()},
                                                      {"height", window.size.height()},
                                                      {"pixelRatio", window.zoom},
                                                      {"touch", true}}}};
    } else {
        arguments << QStringLiteral("--window-size=%1,%2")
                         .arg(window.size.width())
                         .arg(window.size.height());
    }
    chrome["args"] = QJsonArray::fromStringList(arguments);
    return {{"goog:chromeOptions", chrome}};
}

QJsonObject WebDriver::webKitCapabilities() const {
    return {{"webkitgtk:browserOptions",
             QJsonObject{{"binary", miniBrowser()}, {"args", QJsonArray{"--automation"}}}}};
}

QJsonValue WebDriver::command(const QByteArray& method, const QString& path,
                              const QJsonObject& body, int timeoutMs) {
    static QNetworkAccessManager network;
    const QString where = path == "/session" ? path : "/session/" + session_ + path;
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(where)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    std::unique_ptr<QNetworkReply> reply(network.sendCustomRequest(
        request, method, method == "GET" ? QByteArray() : QJsonDocument(body).toJson()));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    const QJsonValue value = QJsonDocument::fromJson(reply->readAll()).object()["value"];
    if (!reply->isFinished() || value.toObject().contains("error")) {
        qWarning("WebDriver %s %s failed: %s", method.data(), qPrintable(path),
                 qPrintable(value.toObject()["message"].toString().left(300)));
    }
    return value;
}

void WebDriver::open(const QString& url) {
    command("POST", "/url", {{"url", url}});
}

void WebDriver::reload() {
    command("POST", "/refresh");
}

void WebDriver::openInNewTab(const QString& url) {
    const QString tab = command("POST", "/window/new",
                                {{"type", engine_ == Engine::WebKit ? "window" : "tab"}})["handle"]
                            .toString();
    command("POST", "/window", {{"handle", tab}});
    open(url);
}

QJsonValue WebDriver::run(const QString& script) {
    return command("POST", "/execute/sync", {{"script", script}, {"args", QJsonArray()}});
}

QJsonValue WebDriver::runAsync(const QString& script, int timeoutMs) {
    command("POST", "/timeouts", {{"script", timeoutMs}});
    return command("POST", "/execute/async", {{"script", script}, {"args", QJsonArray()}},
                   timeoutMs + DeadlineMs);
}

void WebDriver::perform(const QJsonArray& sources) {
    command("POST", "/actions", {{"actions", sources}});
}

QImage WebDriver::screenshot() {
    const QByteArray png =
        QByteArray::fromBase64(command("GET", "/screenshot").toString().toLatin1());
    return QImage::fromData(png).convertToFormat(QImage::Format_RGB32);
}

// WebKit's window holds MiniBrowser's own bar above the page: the window is
// set twice, the second time larger by what the bar took.
void WebDriver::resize(QSize size, double zoom) {
    if (engine_ == Engine::Chromium) {
        devTools("Emulation.setDeviceMetricsOverride", {{"width", size.width()},
                                                        {"height", size.height()},
                                                        {"deviceScaleFactor", zoom},
                                                        {"mobile", phone_}});
        return;
    }
    QSize outer = size;
    for (int attempt = 0; attempt < 2; ++attempt) {
        command("POST", "/window/rect", {{"width", outer.width()}, {"height", outer.height()}});
        const QJsonArray inner = run("return [innerWidth, innerHeight]").toArray();
        outer += size - QSize(inner[0].toInt(), inner[1].toInt());
    }
}

void WebDriver::runBeforeEveryPage(const QString& script) {
    devTools("Page.addScriptToEvaluateOnNewDocument", {{"source", script}});
}

// Chromedriver takes a tab whose renderer crashed for lost for good: the tab
// is crashed and reloaded over Chromium's own DevTools connection, and a new
// session attached to the browser drives it from then on.
void WebDriver::crashAndReload() {
    if (engine_ != Engine::Chromium) {
        return Browser::crashAndReload();
    }
    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> list(
        network.get(QNetworkRequest("http://" + debugger_ + "/json/list")));
    QEventLoop wait;
    QObject::connect(list.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
    QTimer::singleShot(DeadlineMs, &wait, &QEventLoop::quit);
    wait.exec();
    QString page;
    for (const QJsonValue& target : QJsonDocument::fromJson(list->readAll()).array()) {
        if (target["type"] == "page" && page.isEmpty()) {
            page = target["webSocketDebuggerUrl"].toString();
        }
    }
    // What Chromium says: answers by their id, events by their method.
    QWebSocket socket;
    QStringList said;
    QObject::connect(&socket, &QWebSocket::textMessageReceived, [&](const QString& message) {
        const QJsonObject what = QJsonDocument::fromJson(message.toUtf8()).object();
        said << (what.contains("id") ? QString::number(what["id"].toInt())
                                     : what["method"].toString());
    });
    const auto until = [&](const QString& heard, const char* what) {
        for (QDeadlineTimer deadline(DeadlineMs); !said.contains(heard); pause(20)) {
            if (deadline.hasExpired()) {
                qWarning("Chromium's DevTools: %s did not happen", what);
                return;
            }
        }
    };
    socket.open(QUrl(page));
    for (QDeadlineTimer deadline(DeadlineMs); socket.state() != QAbstractSocket::ConnectedState;
         pause(20)) {
        if (deadline.hasExpired()) {
            qWarning("Chromium's DevTools did not take the connection to %s", qPrintable(page));
            break;
        }
    }
    socket.sendTextMessage(R"({"id": 1, "method": "Inspector.enable"})");
    until("1", "Inspector.enable");
    socket.sendTextMessage(R"({"id": 2, "method": "Page.crash"})");
    until("Inspector.targetCrashed", "the renderer's end");
    socket.sendTextMessage(R"({"id": 3, "method": "Page.reload"})");
    until("3", "the reload");
    earlierSessions_ << session_;
    session_ =
        command("POST", "/session",
                {{"capabilities",
                  QJsonObject{{"alwaysMatch",
                               QJsonObject{{"goog:chromeOptions",
                                            QJsonObject{{"debuggerAddress", debugger_}}}}}}}})
            .toObject()["sessionId"]
            .toString();
}

QJsonValue WebDriver::devTools(const QString& name, const QJsonObject& parameters) {
    if (engine_ != Engine::Chromium) {
        return Browser::devTools(name, parameters);
    }
    return command("POST", "/goog/cdp/execute", {{"cmd", name}, {"params", parameters}});
}
