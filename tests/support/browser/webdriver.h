#pragma once

#include "browser.h"
#include "server.h"

#include <QJsonObject>

// Chromium through chromedriver, or WebKitGTK's MiniBrowser through
// WebKitWebDriver, both by the classic W3C WebDriver protocol over HTTP.
// WebKit draws on the X display it is given (DISPLAY).
class WebDriver : public Browser {
public:
    WebDriver(Engine engine, const Window& window);
    ~WebDriver() override;

    void open(const QString& url) override;
    void reload() override;
    void openInNewTab(const QString& url) override;
    QJsonValue run(const QString& script) override;
    QJsonValue runAsync(const QString& script, int timeoutMs) override;
    QImage screenshot() override;
    void resize(QSize size, double zoom) override;
    void runBeforeEveryPage(const QString& script) override;
    QJsonValue devTools(const QString& command, const QJsonObject& parameters = {}) override;
    void crashAndReload() override;

protected:
    void perform(const QJsonArray& sources) override;

private:
    QJsonObject chromiumCapabilities(const Window& window) const;
    QJsonObject webKitCapabilities() const;
    QJsonValue command(const QByteArray& method, const QString& path, const QJsonObject& body = {},
                       int timeoutMs = DeadlineMs);

    Engine engine_;
    bool phone_ = false;
    Server driver_;
    int port_ = 0;
    QString session_;
    QStringList earlierSessions_; // before a crash
    QString debugger_;            // Chromium's own DevTools address
};
