#include "bidi.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimer>

namespace {

// A BiDi RemoteValue as the JSON a WebDriver script result would be.
QJsonValue plain(const QJsonObject& remote) {
    const QString type = remote["type"].toString();
    const QJsonValue value = remote["value"];
    if (type == "array") {
        QJsonArray array;
        for (const QJsonValue& item : value.toArray()) {
            array << plain(item.toObject());
        }
        return array;
    }
    if (type == "object") {
        QJsonObject object;
        for (const QJsonValue& pair : value.toArray()) {
            object[pair[0].toString()] = plain(pair[1].toObject());
        }
        return object;
    }
    if (type == "string" || type == "number" || type == "boolean") {
        return value;
    }
    return QJsonValue::Null;
}

} // namespace

FirefoxBiDi::FirefoxBiDi(const Window& window) {
    writeProfile(window);
    firefox_.reset(new QProcess);
    firefox_->setProcessChannelMode(QProcess::MergedChannels);
    firefox_->start("firefox-esr", {"--headless", "--no-remote", "--profile", profile_.path(),
                                    "--remote-debugging-port=0", "about:blank"});
    QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString& message) {
        const QJsonObject answer = QJsonDocument::fromJson(message.toUtf8()).object();
        if (answer.contains("id")) {
            answers_[answer["id"].toInt()] = answer;
        }
    });
    socket_.open(QUrl(listeningAddress() + "/session"));
    for (QDeadlineTimer deadline(DeadlineMs); socket_.state() != QAbstractSocket::ConnectedState;
         pause(20)) {
        if (deadline.hasExpired()) {
            qWarning("Firefox's WebDriver BiDi did not take the connection");
            break;
        }
    }
    command("session.new", {{"capabilities", QJsonObject()}});
    context_ = command("browsingContext.getTree", {})["contexts"][0]["context"].toString();
    command("browsingContext.activate", {{"context", ""}}); // keys go to the focused page
    resize(window.size, window.zoom);
}

FirefoxBiDi::~FirefoxBiDi() {
    command("session.end", {}, 5000);
    socket_.close();
}

// A profile of its own, quiet on a machine without a network: no updates,
// reports or studies; the scheme and the host name the test asks for.
void FirefoxBiDi::writeProfile(const Window& window) const {
    QFile prefs(profile_.filePath("user.js"));
    prefs.open(QIODevice::WriteOnly);
    const auto set = [&prefs](const char* name, const QString& value) {
        prefs.write(QStringLiteral("user_pref(\"%1\", %2);\n").arg(name, value).toUtf8());
    };
    set("remote.active-protocols", "1");
    set("focusmanager.testmode", "true"); // the page has the focus, though no window has
    set("app.update.disabledForTesting", "true");
    set("browser.shell.checkDefaultBrowser", "false");
    set("datareporting.policy.dataSubmissionEnabled", "false");
    set("toolkit.telemetry.reportingpolicy.firstRun", "false");
    set("app.normandy.enabled", "false");
    set("browser.safebrowsing.update.enabled", "false");
    set("network.connectivity-service.enabled", "false");
    set("services.settings.server", "\"http://127.0.0.1:9/\"");
    set("ui.systemUsesDarkTheme", window.dark ? "1" : "0");
    if (!window.host.isEmpty()) {
        set("network.dns.localDomains", "\"" + window.host + "\"");
    }
}

// Firefox says where it listens on its standard error.
QString FirefoxBiDi::listeningAddress() {
    const QRegularExpression listening("WebDriver BiDi listening on (ws://\\S+)");
    QString said;
    for (QDeadlineTimer deadline(DeadlineMs); !deadline.hasExpired();) {
        firefox_->waitForReadyRead(100);
        said += QString::fromUtf8(firefox_->readAll());
        if (const auto found = listening.match(said); found.hasMatch()) {
            return found.captured(1);
        }
    }
    qWarning("Firefox did not say where it listens: %s", qPrintable(said.left(500)));
    return {};
}

QJsonObject FirefoxBiDi::command(const QString& method, QJsonObject parameters, int timeoutMs) {
    if (parameters.contains("context")) {
        parameters["context"] = context_;
    }
    const int id = ++lastId_;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (answers_.contains(id) || socket_.state() == QAbstractSocket::UnconnectedState) {
            loop.quit();
        }
    });
    poll.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    socket_.sendTextMessage(QString::fromUtf8(
        QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", parameters}})
            .toJson(QJsonDocument::Compact)));
    loop.exec();
    const QJsonObject answer = answers_.take(id);
    if (answer["type"] != "success") {
        qWarning("BiDi %s failed: %s", qPrintable(method),
                 answer.isEmpty() ? "no answer by the deadline"
                                  : qPrintable(answer["message"].toString().left(300)));
    }
    return answer["result"].toObject();
}

QJsonValue FirefoxBiDi::callFunction(const QString& declaration, bool awaitPromise, int timeoutMs) {
    const QJsonObject result = command("script.callFunction",
                                       {{"functionDeclaration", declaration},
                                        {"awaitPromise", awaitPromise},
                                        {"target", QJsonObject{{"context", context_}}}},
                                       timeoutMs);
    if (result["type"] == "exception") {
        qWarning("script failed: %s",
                 qPrintable(result["exceptionDetails"]["text"].toString().left(300)));
        return {};
    }
    return plain(result["result"].toObject());
}

void FirefoxBiDi::open(const QString& url) {
    command("browsingContext.navigate", {{"context", ""}, {"url", url}, {"wait", "complete"}});
    command("browsingContext.activate", {{"context", ""}});
}

void FirefoxBiDi::reload() {
    command("browsingContext.reload", {{"context", ""}, {"wait", "complete"}});
}

// The new tab as large as the last one.
void FirefoxBiDi::openInNewTab(const QString& url) {
    context_ = command("browsingContext.create", {{"type", "tab"}})["context"].toString();
    resize(viewport_, zoom_);
    open(url);
}

QJsonValue FirefoxBiDi::run(const QString& script) {
    return callFunction("function () {\n" + script + "\n}", false, DeadlineMs);
}

QJsonValue FirefoxBiDi::runAsync(const QString& script, int timeoutMs) {
    return callFunction("function () { return new Promise((resolve) => {"
                        "(function () {\n" +
                            script + "\n}).call(this, resolve); }); }",
                        true, timeoutMs);
}

QImage FirefoxBiDi::screenshot() {
    const QString png =
        command("browsingContext.captureScreenshot", {{"context", ""}})["data"].toString();
    return QImage::fromData(QByteArray::fromBase64(png.toLatin1()))
        .convertToFormat(QImage::Format_RGB32);
}

void FirefoxBiDi::resize(QSize size, double zoom) {
    viewport_ = size;
    zoom_ = zoom;
    command("browsingContext.setViewport",
            {{"context", ""},
             {"viewport", QJsonObject{{"width", size.width()}, {"height", size.height()}}},
             {"devicePixelRatio", zoom}});
}

void FirefoxBiDi::runBeforeEveryPage(const QString& script) {
    command("script.addPreloadScript", {{"functionDeclaration", "() => {\n" + script + "\n}"}});
}

void FirefoxBiDi::perform(const QJsonArray& sources) {
    command("input.performActions", {{"context", ""}, {"actions", sources}});
}
