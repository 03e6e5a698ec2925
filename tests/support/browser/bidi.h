#pragma once

#include "browser.h"
#include "server.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QWebSocket>

// Firefox ESR, headless, driven through WebDriver BiDi, which Firefox speaks
// itself over a WebSocket: no geckodriver between them.
class FirefoxBiDi : public Browser {
public:
    explicit FirefoxBiDi(const Window& window);
    ~FirefoxBiDi() override;

    void open(const QString& url) override;
    void reload() override;
    void openInNewTab(const QString& url) override;
    QJsonValue run(const QString& script) override;
    QJsonValue runAsync(const QString& script, int timeoutMs) override;
    QImage screenshot() override;
    void resize(QSize size, double zoom) override;
    void runBeforeEveryPage(const QString& script) override;

protected:
    void perform(const QJsonArray& sources) override;

private:
    void writeProfile(const Window& window) const;
    QString listeningAddress();
    QJsonObject command(const QString& method, QJsonObject parameters, int timeoutMs = DeadlineMs);
    QJsonValue callFunction(const QString& declaration, bool awaitPromise, int timeoutMs);

    QTemporaryDir profile_;
    Server firefox_;
    QWebSocket socket_;
    QString context_;
    QSize viewport_;
    double zoom_ = 1;
    int lastId_ = 0;
    QHash<int, QJsonObject> answers_;
};
