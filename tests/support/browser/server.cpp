#include "server.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

constexpr int AnswerDeadlineMs = 20000;

Server startIn(const QString& folder, const QString& program, const QStringList& arguments) {
    Server process(new QProcess);
    process->setWorkingDirectory(folder);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(program, arguments);
    return process;
}

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
    Server process =
        startIn(folder, program, arguments.replaceInStrings("%1", QString::number(port)));
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

Server serveOnItsOwnPort(const QString& program, const QStringList& arguments,
                         const QString& folder, int& port) {
    Server process = startIn(folder, program, arguments);
    port = 0;
    for (QDeadlineTimer deadline(AnswerDeadlineMs); port == 0 && !deadline.hasExpired();) {
        if (!process->canReadLine() && !process->waitForReadyRead(int(deadline.remainingTime()))) {
            break;
        }
        port = process->readLine().trimmed().toInt();
    }
    if (port == 0) {
        qWarning("%s did not say its port: %s", qPrintable(program),
                 process->readAll().right(300).constData());
    }
    return process;
}
