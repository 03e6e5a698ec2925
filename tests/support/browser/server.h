#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// A process, ended when its owner lets it go.
struct EndProcess {
    void operator()(QProcess* process) const;
};
using Server = std::unique_ptr<QProcess, EndProcess>;

// The program started in `folder`, answering on a free port of 127.0.0.1 by
// the deadline: "%1" in its arguments stands for the port.
Server serveOnFreePort(const QString& program, QStringList arguments, const QString& folder,
                       int& port);

// The program started in `folder`, listening on a port the system gave it,
// which it prints as its first line: unlike a port probed free beforehand, no
// other test's server can take it meanwhile.
Server serveOnItsOwnPort(const QString& program, const QStringList& arguments,
                         const QString& folder, int& port);

// Waits `ms` while the event loop runs.
void pause(int ms);
