#pragma once

#include <QApplication>

// The one boundary where an error that no routine handled (a bitmap that
// cannot be loaded, an index off the board) becomes the run-time error
// report. Nothing may cross Qt's event loop as an exception.
class TarvikApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the modal report for the exception being handled and returns the exit
// status the program must end with. Call it only from a catch block.
int reportRunTimeError();
