#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// Every kind of file that must not pass for a bitmap, with a word of the
// reason the program must give for it. Most are bytes, which a server can
// send as well; the others are things of the file system, and some of those
// stop only an ordinary user, not root.
struct HostileKind {
    QByteArray name;
    QByteArray reason;                  // UTF-8
    std::function<QByteArray()> bytes;  // what the file holds, or null
    bool (*place)(const QString& path); // for the kinds that are no bytes
    bool asOrdinaryUser;
    // A header field at an edge of what it can hold: only the rules decide,
    // in every front end alike, so the suites that follow a refusal through a
    // whole program take the kinds before these.
    bool headerEdge = false;
};

const QList<HostileKind>& hostileKinds();
const HostileKind& hostileKind(const QString& name);

// A data row for each kind, with columns "kind" and "reason"; the kinds that
// stop only an ordinary user, and the header's edges, when asked for.
void addHostileKindRows(bool withOrdinaryUserKinds = false, bool withHeaderEdges = false);

// Why the file cannot be read, as the program says it to an ordinary user:
// read by read_bitmap, as the user nobody where the test runs as root.
QString refusalToAnOrdinaryUser(const QString& path);

// Puts a file of that kind at `path` (or leaves nothing there, for "missing").
bool makeHostileFile(const QString& kind, const QString& path);

// A sound bitmap file of ours, to patch.
QByteArray soundBitmap();
// The bytes with a little-endian 32-bit value written at `offset`.
QByteArray patched(QByteArray bytes, int offset, qint32 value);
