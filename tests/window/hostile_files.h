#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Every kind of file that must not pass for a bitmap, with a word of the
// reason the program must give for it. Most are bytes, which a server can
// send as well; the others are things of the file system, and some of those
// stop only an ordinary user, not root.
struct HostileKind {
    const char* name;
    const char* reason;
    QByteArray (*bytes)();              // what the file holds, or null
    bool (*place)(const QString& path); // for the kinds that are no bytes
    bool asOrdinaryUser;
};

const QList<HostileKind>& hostileKinds();
const HostileKind& hostileKind(const QString& name);

// A data row for each kind, with columns "kind" and "reason"; the kinds that
// stop only an ordinary user when asked for.
void addHostileKindRows(bool withOrdinaryUserKinds = false);

// Why the file cannot be read, as the program says it to an ordinary user:
// read by read_bitmap, as the user nobody where the test runs as root.
QString refusalToAnOrdinaryUser(const QString& path);

// Puts a file of that kind at `path` (or leaves nothing there, for "missing").
bool makeHostileFile(const QString& kind, const QString& path);

// A sound bitmap file of ours, to patch.
QByteArray soundBitmap();
// The bytes with a little-endian 32-bit value written at `offset`.
QByteArray patched(QByteArray bytes, int offset, qint32 value);
