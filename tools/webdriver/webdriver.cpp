#include "webdriver.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

void pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

void EndProcess::operator()(QProcess* process) const {
    process->kill();
    process->waitForFinished();
    delete process;
}

Server serveOnFreePort(const QString& program, QStringList arguments, const QString& folder,
                       int& port) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    port = probe.serverPort();
    probe.close();
    Server process(new QProcess);
    process->setWorkingDirectory(folder);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(program, arguments.replaceInStrings("%1", QString::number(port)));
    QTcpSocket socket;
    for (QDeadlineTimer deadline(WebDriver::DeadlineMs);
         socket.connectToHost(QHostAddress::LocalHost, quint16(port)),
         !socket.waitForConnected(100);) {
        if (deadline.hasExpired()) {
            qWarning("%s did not answer on port %d", qPrintable(program), port);
            break;
        }
        QThread::msleep(50);
    }
    return process;
}

WebDriver::WebDriver(const QStringList& chromiumArguments, const QJsonObject& mobileEmulation) {
    driver_ = serveOnFreePort("chromedriver", {"--port=%1"}, ".", port_);
    // As root in a container, without a display or a network beyond this machine.
    const QStringList arguments = QStringList{"--headless=new", "--no-sandbox", "--disable-gpu",
                                              "--disable-background-networking", "--no-first-run"} +
                                  chromiumArguments;
    QJsonObject chrome{{"binary", "/usr/bin/chromium"},
                       {"args", QJsonArray::fromStringList(arguments)}};
    if (!mobileEmulation.isEmpty()) {
        chrome["mobileEmulation"] = mobileEmulation;
    }
    const QJsonObject capabilities{{"alwaysMatch", QJsonObject{{"goog:chromeOptions", chrome}}}};
    session_ = command("POST", "/session", {{"capabilities", capabilities}})
                   .toObject()["sessionId"]
                   .toString();
}

WebDriver::~WebDriver() {
    command("DELETE", "");
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

QJsonValue WebDriver::run(const QString& script) {
    return command("POST", "/execute/sync", {{"script", script}, {"args", QJsonArray()}});
}

QJsonValue WebDriver::runAsync(const QString& script, int timeoutMs) {
    command("POST", "/timeouts", {{"script", timeoutMs}});
    return command("POST", "/execute/async", {{"script", script}, {"args", QJsonArray()}},
                   timeoutMs + DeadlineMs);
}

bool WebDriver::waitFor(const QString& expression) {
    for (QDeadlineTimer deadline(DeadlineMs); run("return " + expression) != true; pause(50)) {
        if (deadline.hasExpired()) {
            qWarning("this did not come true: %s", qPrintable(expression));
            return false;
        }
    }
    return true;
}

void WebDriver::act(const QString& type, const QJsonArray& actions, const QString& pointerType) {
    // An input source keeps its kind of pointer for the session: one each.
    QJsonObject source{
        {"type", type}, {"id", pointerType.isEmpty() ? type : pointerType}, {"actions", actions}};
    if (!pointerType.isEmpty()) {
        source["parameters"] = QJsonObject{{"pointerType", pointerType}};
    }
    command("POST", "/actions", {{"actions", QJsonArray{source}}});
}

void WebDriver::press(const QStringList& chords) {
    QJsonArray actions;
    for (const QString& chord : chords) {
        for (const QChar key : chord) {
            actions << QJsonObject{{"type", "keyDown"}, {"value", QString(key)}};
        }
        for (auto key = chord.crbegin(); key != chord.crend(); ++key) {
            actions << QJsonObject{{"type", "keyUp"}, {"value", QString(*key)}};
        }
    }
    act("key", actions);
}

void WebDriver::click(const QString& id) {
    pointAt(id, "mouse");
}

void WebDriver::tap(const QString& id) {
    pointAt(id, "touch");
}

void WebDriver::pointAt(const QString& id, const QString& pointerType) {
    const QJsonObject box =
        run("return document.getElementById('" + id + "').getBoundingClientRect().toJSON()")
            .toObject();
    act("pointer",
        {QJsonObject{{"type", "pointerMove"},
                     {"x", qRound(box["x"].toDouble() + box["width"].toDouble() / 2)},
                     {"y", qRound(box["y"].toDouble() + box["height"].toDouble() / 2)}},
         QJsonObject{{"type", "pointerDown"}, {"button", 0}},
         QJsonObject{{"type", "pointerUp"}, {"button", 0}}},
        pointerType);
}

QImage WebDriver::screenshot() {
    const QByteArray png =
        QByteArray::fromBase64(command("GET", "/screenshot").toString().toLatin1());
    return QImage::fromData(png).convertToFormat(QImage::Format_RGB32);
}

QJsonValue WebDriver::devTools(const QString& name, const QJsonObject& parameters) {
    return command("POST", "/goog/cdp/execute", {{"cmd", name}, {"params", parameters}});
}
