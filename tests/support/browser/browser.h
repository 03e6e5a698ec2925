#pragma once

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

// The browser engines the page is tested in.
enum class Engine { Chromium, Firefox, WebKit };
QString engineName(Engine engine);
// The engine named by TARVIK_WEB_ENGINE ("chromium", "firefox" or "webkit"),
// Chromium when it names none.
Engine engineFromEnvironment();

// What some engines' drivers can do and others' cannot.
enum class Facility {
    DevTools,       // Chromium's own commands: stopping a worker, emulating a phone, the scheme
    PhoneScreen,    // a phone's screen with touch
    BeforeLoad,     // a script run in every page before its own
    FractionalZoom, // device pixel ratios such as 1.25
    HostName,       // a host name other than 127.0.0.1 for this machine
    KeysActivateButtons, // Return on a focused button clicks it, as a user's key does
    BackwardTab,         // Shift+Tab arrives as such (WebKitWebDriver sends an unidentified key)
};
bool can(Engine engine, Facility facility);

// How the browser shows its pages.
struct Window {
    double zoom = 1;      // device pixels to one CSS pixel
    QSize size{801, 900}; // of the page's viewport, in CSS pixels
    bool phone = false;   // a phone's screen of that size, with touch
    bool dark = false;    // the system's colour scheme from the start
    QString host;         // a name that also means 127.0.0.1

    bool operator==(const Window&) const = default;
};

// A browser driven as a user drives it, with the pointer and the keys, by
// the engine's own automation: every wait has a deadline.
class Browser {
public:
    static constexpr int DeadlineMs = 20000;

    virtual ~Browser() = default;

    virtual void open(const QString& url) = 0;
    // The page loaded again, as the browser's reload does.
    virtual void reload() = 0;
    // A new tab of the same window opened on the url, and driven from now on.
    virtual void openInNewTab(const QString& url) = 0;
    virtual QJsonValue run(const QString& script) = 0;
    // A script that ends by calling arguments[0] with its result.
    virtual QJsonValue runAsync(const QString& script, int timeoutMs) = 0;
    // Whether the expression comes true by the deadline.
    bool waitFor(const QString& expression, int deadlineMs = DeadlineMs);
    // Keys, or keys held together ("\uE008\uE004" is Shift+Tab), in WebDriver's codes.
    void press(const QStringList& chords);
    // A pointer click on the element's centre, without scrolling it into view first.
    void click(const QString& id);
    // The same with a finger, on a phone's screen.
    void tap(const QString& id);
    // The viewport, in device pixels.
    virtual QImage screenshot() = 0;
    // The viewport resized (a window resized or a phone turned) and zoomed.
    virtual void resize(QSize size, double zoom) = 0;
    // Where can(BeforeLoad).
    virtual void runBeforeEveryPage(const QString& script) = 0;
    // Where can(DevTools): Chromium's own command, such as ServiceWorker.stopAllWorkers.
    virtual QJsonValue devTools(const QString& command, const QJsonObject& parameters = {});
    // Where can(DevTools): the page's renderer ended, as a phone's system ends
    // a background tab's, and the tab reloaded, as when the player comes back.
    virtual void crashAndReload();

protected:
    // W3C input sources with their actions, the same for WebDriver and BiDi.
    virtual void perform(const QJsonArray& sources) = 0;

private:
    void pointAt(const QString& id, const QString& pointerType);
};

std::unique_ptr<Browser> startBrowser(Engine engine, const Window& window);
