#pragma once

#include <QImage>
#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QStringList>
#include <memory>

// A server process, ended when its owner lets it go.
struct EndProcess {
    void operator()(QProcess* process) const;
};
using Server = std::unique_ptr<QProcess, EndProcess>;

// A server on a free port of 127.0.0.1, answering by the deadline: "%1" in
// its arguments stands for the port.
Server serveOnFreePort(const QString& program, QStringList arguments, const QString& folder,
                       int& port);

// Debian's headless Chromium, driven through chromedriver (WebDriver) with the
// pointer and the keys, as a user drives it.
class WebDriver {
public:
    static constexpr int DeadlineMs = 20000;

    // With `mobileEmulation` (chromedriver's deviceMetrics and the like), a
    // phone's screen with touch.
    explicit WebDriver(const QStringList& chromiumArguments,
                       const QJsonObject& mobileEmulation = {});
    ~WebDriver();

    void open(const QString& url);
    QJsonValue run(const QString& script);
    // A script that ends by calling arguments[0] with its result.
    QJsonValue runAsync(const QString& script, int timeoutMs);
    // Whether the expression comes true by the deadline.
    bool waitFor(const QString& expression);
    // Keys, or keys held together ("\uE008\uE004" is Shift+Tab), in WebDriver's codes.
    void press(const QStringList& chords);
    // A pointer click on the element's centre: not WebDriver's element click,
    // which would scroll the element into view first.
    void click(const QString& id);
    // The same with a finger.
    void tap(const QString& id);
    QImage screenshot();
    // A DevTools command, such as Page.addScriptToEvaluateOnNewDocument.
    QJsonValue devTools(const QString& command, const QJsonObject& parameters = {});

private:
    QJsonValue command(const QByteArray& method, const QString& path, const QJsonObject& body = {},
                       int timeoutMs = DeadlineMs);
    void act(const QString& type, const QJsonArray& actions, const QString& pointerType = {});
    void pointAt(const QString& id, const QString& pointerType);

    Server driver_;
    int port_ = 0;
    QString session_;
};
