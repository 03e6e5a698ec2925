#include "server.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

constexpr int AnswerDeadlineMs = 20000;

} // namespace

void EndProcess::operator()(QProcess* process) const {
    process->kill();
    process->waitForFinished();
    delete process;
}

void pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

Server serveOnFreePort(const QString& program, QStringList arguments, const QString& folder,
                       int& port) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    port = probe.serverPort();
    probe.close();
    Server process(new QProcess);
    process->setWorkingDirectory(folder);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(program, arguments.replaceInStrings("%1", QString::number(port)));
    QTcpSocket socket;
    for (QDeadlineTimer deadline(AnswerDeadlineMs);
         socket.connectToHost(QHostAddress::LocalHost, quint16(port)),
         !socket.waitForConnected(100);) {
        if (deadline.hasExpired()) {
            qWarning("%s did not answer on port %d", qPrintable(program), port);
            break;
        }
        QThread::msleep(50);
    }
    return process;
}
