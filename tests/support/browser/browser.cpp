#include "browser.h"

#include "bidi.h"
#include "server.h"
#include "webdriver.h"

#include <QDeadlineTimer>
#include <QJsonObject>

QString engineName(Engine engine) {
    switch (engine) {
    case Engine::Firefox:
        return QStringLiteral("firefox");
    case Engine::WebKit:
        return QStringLiteral("webkit");
    case Engine::Chromium:
        break;
    }
    return QStringLiteral("chromium");
}

Engine engineFromEnvironment() {
    const QString name = qEnvironmentVariable("TARVIK_WEB_ENGINE");
    for (const Engine engine : {Engine::Firefox, Engine::WebKit}) {
        if (name == engineName(engine)) {
            return engine;
        }
    }
    return Engine::Chromium;
}

bool can(Engine engine, Facility facility) {
    switch (facility) {
    case Facility::DevTools:
    case Facility::PhoneScreen:
        return engine == Engine::Chromium;
    case Facility::KeysActivateButtons:
        return engine != Engine::Firefox;
    case Facility::BeforeLoad:
    case Facility::BackwardTab:
    case Facility::FractionalZoom:
    case Facility::HostName:
        return engine != Engine::WebKit;
    }
    return false;
}

bool Browser::waitFor(const QString& expression, int deadlineMs) {
    for (QDeadlineTimer deadline(deadlineMs); run("return " + expression) != true; pause(50)) {
        if (deadline.hasExpired()) {
            qWarning("this did not come true: %s", qPrintable(expression));
            return false;
        }
    }
    return true;
}

void Browser::press(const QStringList& chords) {
    QJsonArray actions;
    for (const QString& chord : chords) {
        for (const QChar key : chord) {
            actions << QJsonObject{{"type", "keyDown"}, {"value", QString(key)}};
        }
        for (auto key = chord.crbegin(); key != chord.crend(); ++key) {
            actions << QJsonObject{{"type", "keyUp"}, {"value", QString(*key)}};
        }
    }
    perform({QJsonObject{{"type", "key"}, {"id", "keyboard"}, {"actions", actions}}});
}

void Browser::click(const QString& id) {
    pointAt(id, "mouse");
}

void Browser::tap(const QString& id) {
    pointAt(id, "touch");
}

// An input source keeps its kind of pointer for the session: one each.
void Browser::pointAt(const QString& id, const QString& pointerType) {
    const QJsonObject box =
        run("return document.getElementById('" + id + "').getBoundingClientRect().toJSON()")
            .toObject();
    const QJsonArray actions{
        QJsonObject{{"type", "pointerMove"},
                    {"x", qRound(box["x"].toDouble() + box["width"].toDouble() / 2)},
                    {"y", qRound(box["y"].toDouble() + box["height"].toDouble() / 2)}},
        QJsonObject{{"type", "pointerDown"}, {"button", 0}},
        QJsonObject{{"type", "pointerUp"}, {"button", 0}}};
    perform({QJsonObject{{"type", "pointer"},
                         {"id", pointerType},
                         {"parameters", QJsonObject{{"pointerType", pointerType}}},
                         {"actions", actions}}});
}

QJsonValue Browser::devTools(const QString& command, const QJsonObject&) {
    qWarning("%s: this engine has no DevTools", qPrintable(command));
    return {};
}

void Browser::crashAndReload() {
    qWarning("this engine's driver cannot end a page's renderer");
}

std::unique_ptr<Browser> startBrowser(Engine engine, const Window& window) {
    if (engine == Engine::Firefox) {
        return std::make_unique<FirefoxBiDi>(window);
    }
    return std::make_unique<WebDriver>(engine, window);
}
