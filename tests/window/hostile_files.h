#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Every kind of file that must not pass for a bitmap, with a word of the
// reason the program must give for it.
struct HostileKind {
    const char* name;
    const char* reason;
};

const QList<HostileKind>& hostileKinds();

// A data row for each kind, with columns "kind" and "reason".
void addHostileKindRows();

// Puts a file of that kind at `path` (or leaves nothing there, for "missing").
bool makeHostileFile(const QString& kind, const QString& path);

// A sound bitmap file of ours, to patch.
QByteArray soundBitmap();
// The bytes with a little-endian 32-bit value written at `offset`.
QByteArray patched(QByteArray bytes, int offset, qint32 value);
