#include "measure.h"

#include <QFile>
#include <algorithm>
#include <cstdio>

double median(std::vector<double>& samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

namespace {

qint64 statusField(const char* name) {
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith(name)) {
                return line.mid(qstrlen(name)).trimmed().split(' ').value(0).toLongLong() * 1024;
            }
        }
    }
#else
    Q_UNUSED(name);
#endif
    return -1;
}

} // namespace

qint64 residentBytes() {
    return statusField("VmRSS:");
}
qint64 peakResidentBytes() {
    return statusField("VmHWM:");
}

void printTable(const std::vector<Row>& rows) {
    int width = 0;
    for (const Row& row : rows) {
        width = std::max(width, int(row.what.size() + row.unit.size()) + 3);
    }
    std::printf("%-*s %12s %12s %8s %8s\n", width, "measure", "Tarvik", "floor", "ratio", "goal");
    for (const Row& row : rows) {
        const QString what = row.what + " (" + row.unit + ")";
        const double ratio = row.floor > 0 ? row.ours / row.floor : 0;
        const QString goal =
            row.goal > 0 ? QStringLiteral("<= %1").arg(row.goal) : QStringLiteral("-");
        const char* verdict = row.goal <= 0 ? "" : (ratio <= row.goal ? "  met" : "  NOT MET");
        std::printf("%-*s %12.2f %12.2f %8.2f %8s%s\n", width, qPrintable(what), row.ours,
                    row.floor, ratio, qPrintable(goal), verdict);
    }
    std::fflush(stdout);
}
